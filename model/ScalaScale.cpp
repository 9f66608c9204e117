#include "ScalaScale.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <sstream>

namespace corvane {

namespace {

    constexpr double kMaxOffsetCents = 50.0;

    std::string_view trimmed(std::string_view s)
    {
        const auto first = s.find_first_not_of(" \t\r");
        if (first == std::string_view::npos)
            return {};
        const auto last = s.find_last_not_of(" \t\r");
        return s.substr(first, last - first + 1);
    }

    // The first blank-separated word of a line.
    std::string_view firstWord(std::string_view line)
    {
        line = trimmed(line);
        return line.substr(0, line.find_first_of(" \t"));
    }

    bool wholeNumber(std::string_view word, long long &value)
    {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return error == std::errc() && end == word.data() + word.size();
    }

    // Cents of one pitch word, or NaN when it is none.
    double pitchCents(std::string_view word)
    {
        const double none = std::nan("");
        if (word.find('.') != std::string_view::npos) {
            double cents = 0.0;
            const auto [end, error] =
                    std::from_chars(word.data(), word.data() + word.size(), cents);
            return error == std::errc() && end == word.data() + word.size() ? cents : none;
        }
        const auto slash = word.find('/');
        long long numerator = 0, denominator = 1;
        if (!wholeNumber(word.substr(0, slash), numerator)
            || (slash != std::string_view::npos
                && !wholeNumber(word.substr(slash + 1), denominator))
            || numerator <= 0 || denominator <= 0)
            return none;
        return 1200.0 * std::log2(double(numerator) / double(denominator));
    }

    // Strings are joined by appending: GCC 12's optimiser warns, wrongly, on chains of `+`
    // that begin with a literal.
    std::string joined(std::initializer_list<std::string_view> parts)
    {
        std::string text;
        for (std::string_view part : parts)
            text.append(part);
        return text;
    }

    std::string lineError(int line, std::string_view quoted, std::string_view what)
    {
        return joined({ "line ", std::to_string(line), ": \"", quoted, "\" ", what });
    }

} // namespace

std::variant<ScalaScale, std::string> ScalaScale::parse(std::string_view text)
{
    ScalaScale scale;
    std::istringstream in { std::string(text) };
    std::string line;
    int number = 0;
    bool described = false;
    long long count = -1;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line[0] == '!')
            continue;
        if (!described) {
            scale.description = std::string(trimmed(line));
            // The description becomes the temperament's name on screen and in the settings
            // file; a control character (a binary file read as a scale) has no place there.
            for (char &c : scale.description)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                    c = '?';
            described = true;
        } else if (count < 0) {
            if (!wholeNumber(firstWord(line), count) || count < 1 || count > 1024)
                return lineError(number, trimmed(line), "is not the number of notes");
        } else if (static_cast<long long>(scale.cents.size()) < count) {
            const std::string_view word = firstWord(line);
            const double cents = pitchCents(word);
            if (std::isnan(cents))
                return lineError(number, word, "is not a pitch");
            scale.cents.push_back(cents);
        }
    }
    // The line after the last is where the missing one should have been.
    const std::string end = std::to_string(number + 1);
    if (count < 0)
        return joined({ "line ", end,
                        ": not a Scala scale: the file ends before the number of "
                        "notes" });
    if (static_cast<long long>(scale.cents.size()) < count)
        return joined({ "line ", end, ": the file ends after ", std::to_string(scale.cents.size()),
                        " of the ", std::to_string(count), " notes it names" });
    return scale;
}

std::variant<DegreeCents, std::string> ScalaScale::degreeOffsets() const
{
    if (cents.size() != 12 || std::abs(cents.back() - 1200.0) > 0.01) {
        char why[160];
        std::snprintf(why, sizeof why,
                      "it has %zu notes repeating at %.3f cents; the twelve wheels take a scale of "
                      "twelve notes to the octave (1200 cents)",
                      cents.size(), cents.empty() ? 0.0 : cents.back());
        return std::string(why);
    }
    DegreeCents offsets {};
    for (int degree = 1; degree < 12; ++degree) {
        const double offset = cents[std::size_t(degree - 1)] - 100.0 * degree;
        if (std::abs(offset) > kMaxOffsetCents) {
            char why[160];
            std::snprintf(why, sizeof why,
                          "its note %d lies %+.1f cents from the equal-tempered one; the wheels "
                          "take offsets within 50 cents",
                          degree, offset);
            return std::string(why);
        }
        offsets[std::size_t(degree)] = static_cast<float>(offset);
    }
    return offsets;
}

} // namespace corvane
