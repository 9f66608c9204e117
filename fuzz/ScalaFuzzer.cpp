// Any bytes as a Scala scale (".scl") and as a keyboard map (".kbm"): each reader gives a value
// or a reason naming the line, never a crash; a scale it takes becomes a temperament only with
// offsets the wheels can show, and a reference the note table can take or none.

#include "CPitch.h"
#include "KeyboardMap.h"
#include "ScalaTuning.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

using namespace corvane;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void requireLineNamed(const std::string &why)
{
    require(why.rfind("line ", 0) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto scale = ScalaScale::parse(text);
    const auto map = KeyboardMap::parse(text);
    if (const auto *why = std::get_if<std::string>(&scale))
        requireLineNamed(*why);
    if (const auto *why = std::get_if<std::string>(&map))
        requireLineNamed(*why);
    if (!std::holds_alternative<ScalaScale>(scale))
        return 0;
    const ScalaScale &parsed = std::get<ScalaScale>(scale);
    for (char c : parsed.description)
        require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    for (double cents : parsed.cents)
        require(std::isfinite(cents));
    const KeyboardMap *keys = std::get_if<KeyboardMap>(&map);
    for (int tonic = 0; tonic < 12; ++tonic) {
        const auto tuning = ScalaTuning::of(parsed, keys, tonic);
        if (!std::holds_alternative<ScalaTuning>(tuning))
            continue;
        const ScalaTuning &tuned = std::get<ScalaTuning>(tuning);
        for (float offset : tuned.offsets)
            require(std::abs(offset) <= 50.0f);
        if (tuned.referenceHz)
            require(std::isfinite(*tuned.referenceHz) && *tuned.referenceHz > 0.0);
    }
    return 0;
}
