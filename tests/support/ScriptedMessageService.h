#pragma once

#include "MessageService.h"

#include <deque>
#include <vector>

namespace corvane::widgets {

// A message service for tests: records every box and answers from a queue, or with the default
// answer once the queue is empty. Install it with `MessageServiceOverride`.
class ScriptedMessageService final : public MessageService
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer show(QWidget *, const QString &title, const QString &text, Icon icon,
                Buttons buttons) override
    {
        shown.push_back({ title, text, icon, buttons });
        if (answers.empty())
            return defaultAnswer;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Ok;
};

} // namespace corvane::widgets
