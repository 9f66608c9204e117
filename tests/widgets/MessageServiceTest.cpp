#include "MessageService.h"
#include "ScriptedMessageService.h"

#include <gtest/gtest.h>

using namespace corvane::widgets;

TEST(MessageService, AnOverrideAnswersInOrderAndPutsThePreviousServiceBack)
{
    MessageService *before = &messages();
    {
        ScriptedMessageService script;
        script.answers = { MessageService::Answer::Cancel };
        MessageServiceOverride use(script);
        EXPECT_FALSE(messages().warningOkCancel(nullptr, QStringLiteral("Too far?")));
        EXPECT_TRUE(messages().warningOkCancel(nullptr, QStringLiteral("Again?")));
        ASSERT_EQ(script.shown.size(), 2u);
        EXPECT_EQ(script.shown[0].title, QStringLiteral("Warning"));
        EXPECT_EQ(script.shown[0].icon, MessageService::Icon::Exclamation);
        EXPECT_EQ(script.shown[1].text, QStringLiteral("Again?"));
    }
    EXPECT_EQ(&messages(), before);
}
