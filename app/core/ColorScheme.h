#pragma once

#include <functional>
#include <optional>
#include <string>

namespace corvane {

// Whether the program draws itself dark or light. Qt's platform theme gives the palette of the
// desktop where it has one (KDE's, or GNOME's through a Qt theme plugin); where it has none (a bare
// GNOME or a window manager), Qt's own palette is light whatever the desktop asks for, so the
// program reads the desktop's wish itself:
//     CORVANE_COLOR_SCHEME=dark|light     the user's own choice, above everything
//     GTK_THEME=Name:dark                 the GTK convention for a dark variant
//     the desktop's color-scheme setting  "prefer-dark" / "prefer-light" / "default"
enum class ColorScheme { FollowPlatform, Dark, Light };

// `environment` reads a variable (nothing when unset); `desktopSetting` is the value of the
// desktop's color-scheme setting when one could be read ("'prefer-dark'", quotes and all, as
// gsettings prints it), else nothing.
ColorScheme chooseColorScheme(
        const std::function<std::optional<std::string>(const char *)> &environment,
        const std::optional<std::string> &desktopSetting);

} // namespace corvane
