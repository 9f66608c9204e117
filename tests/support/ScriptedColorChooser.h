#pragma once

#include "ColorChooser.h"

#include <deque>
#include <optional>
#include <vector>

namespace corvane::widgets {

// A color chooser for tests: records the color each call started from and answers from a queue
// (an empty optional is a canceled chooser), or cancels once the queue is empty. Install it with
// `ColorChooserOverride`.
class ScriptedColorChooser final : public ColorChooser
{
public:
    std::optional<QColor> choose(QWidget *, const QColor &initial) override
    {
        asked.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const std::optional<QColor> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<QColor> asked;
    std::deque<std::optional<QColor>> answers;
};

} // namespace corvane::widgets
