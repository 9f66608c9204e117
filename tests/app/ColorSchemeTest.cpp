#include "ColorScheme.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane {

TEST(ColorScheme, TheUsersChoiceThenGtkThenTheDesktopSettingElseThePlatformsPalette)
{
    std::map<std::string, std::string> variables;
    const auto environment = [&variables](const char *name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(chooseColorScheme(environment, std::nullopt), ColorScheme::FollowPlatform);
    EXPECT_EQ(chooseColorScheme(environment, "'prefer-dark'"), ColorScheme::Dark);
    EXPECT_EQ(chooseColorScheme(environment, "'default'"), ColorScheme::FollowPlatform);
    variables["GTK_THEME"] = "Adwaita:dark";
    EXPECT_EQ(chooseColorScheme(environment, "'prefer-light'"), ColorScheme::Dark);
    variables["CORVANE_COLOR_SCHEME"] = "Light";
    EXPECT_EQ(chooseColorScheme(environment, "'prefer-dark'"), ColorScheme::Light);
    variables["CORVANE_COLOR_SCHEME"] = "purple"; // not a choice: the others decide
    EXPECT_EQ(chooseColorScheme(environment, std::nullopt), ColorScheme::Dark);
}

} // namespace corvane
