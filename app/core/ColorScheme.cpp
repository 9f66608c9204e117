#include "ColorScheme.h"

#include <algorithm>
#include <cctype>

namespace corvane {

namespace {

    std::string lowered(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return text;
    }

    bool endsWith(const std::string &text, const std::string &end)
    {
        return text.size() >= end.size()
                && text.compare(text.size() - end.size(), end.size(), end) == 0;
    }

} // namespace

ColorScheme chooseColorScheme(
        const std::function<std::optional<std::string>(const char *)> &environment,
        const std::optional<std::string> &desktopSetting)
{
    if (const auto chosen = environment("CORVANE_COLOR_SCHEME")) {
        const std::string value = lowered(*chosen);
        if (value == "dark")
            return ColorScheme::Dark;
        if (value == "light")
            return ColorScheme::Light;
    }
    if (const auto gtk = environment("GTK_THEME"); gtk && endsWith(lowered(*gtk), ":dark"))
        return ColorScheme::Dark;
    if (desktopSetting) {
        const std::string value = lowered(*desktopSetting);
        if (value.find("prefer-dark") != std::string::npos)
            return ColorScheme::Dark;
    }
    return ColorScheme::FollowPlatform;
}

} // namespace corvane
