#pragma once

// Compares what the program printed with a golden file as a reader would: line by line, word by
// word, where a word is what lies between the separators of CSV, JSON and the "# key=value"
// comment lines. Words that are numbers must agree within a tolerance, every other word and every
// separator exactly. So a compiler that rounds a last bit differently still passes, while a moved
// figure, a renamed note or a lost row fails and is shown.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

struct Tolerance
{
    double relative = 1e-4; // of the larger magnitude of the two numbers
    double absolute = 1e-6; // the floor for numbers near 0, below any printed decimal
};

struct Word
{
    std::string_view text;
    std::optional<double> number; // when the whole word reads as a decimal number
};

inline bool isSeparator(char c) noexcept
{
    return std::string_view(",;:= \t{}[]\"").find(c) != std::string_view::npos;
}

// The line as words and single-character separators, in order.
inline std::vector<Word> words(std::string_view line)
{
    std::vector<Word> out;
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t end = i + 1;
        if (!isSeparator(line[i])) {
            while (end < line.size() && !isSeparator(line[end]))
                ++end;
        }
        Word word { line.substr(i, end - i), std::nullopt };
        const char first = word.text.front();
        // "inf" and "nan" stay words: the program never prints them as numbers.
        if (first == '-' || first == '.' || (first >= '0' && first <= '9')) {
            double value = 0.0;
            const char *begin = word.text.data();
            const char *stop = begin + word.text.size();
            const auto [at, error] = std::from_chars(begin, stop, value);
            if (error == std::errc() && at == stop)
                word.number = value;
        }
        out.push_back(word);
        i = end;
    }
    return out;
}

inline bool sameNumber(double golden, double actual, const Tolerance &tolerance) noexcept
{
    const double larger = std::max(std::abs(golden), std::abs(actual));
    return std::abs(golden - actual) <= std::max(tolerance.absolute, tolerance.relative * larger);
}

// Why two lines differ, naming the first word that does; nothing when they agree.
inline std::optional<std::string> lineDifference(std::string_view golden, std::string_view actual,
                                                 const Tolerance &tolerance)
{
    const std::vector<Word> expected = words(golden);
    const std::vector<Word> got = words(actual);
    const std::size_t common = std::min(expected.size(), got.size());
    for (std::size_t i = 0; i < common; ++i) {
        const Word &e = expected[i];
        const Word &g = got[i];
        const bool same = e.number && g.number ? sameNumber(*e.number, *g.number, tolerance)
                                               : e.text == g.text;
        if (!same) {
            std::string why = "\"" + std::string(g.text) + "\" where the golden file has \""
                    + std::string(e.text) + "\"";
            if (e.number && g.number)
                why += " (beyond the tolerance)";
            return why;
        }
    }
    if (expected.size() != got.size())
        return std::string(got.size() < expected.size() ? "the line ends early"
                                                        : "the line goes on");
    return std::nullopt;
}

// Compares the two texts line by line; writes the first `shown` differing lines (their number,
// both versions and why) to `report`. Returns the number of differing lines, counting a line
// that only one of them has.
inline std::size_t compareGolden(std::istream &golden, std::istream &actual,
                                 const Tolerance &tolerance, std::ostream &report,
                                 std::size_t shown = 5)
{
    std::size_t differing = 0;
    std::string expected, got;
    for (std::size_t line = 1;; ++line) {
        const bool haveExpected = static_cast<bool>(std::getline(golden, expected));
        const bool haveGot = static_cast<bool>(std::getline(actual, got));
        if (!haveExpected && !haveGot)
            break;
        std::optional<std::string> why;
        if (!haveExpected)
            why = "a line the golden file does not have";
        else if (!haveGot)
            why = "missing; the golden file has more lines";
        else
            why = lineDifference(expected, got, tolerance);
        if (!why)
            continue;
        if (++differing <= shown) {
            report << "line " << line << ": " << *why << '\n';
            report << "  golden: " << (haveExpected ? expected : std::string("(none)")) << '\n';
            report << "  actual: " << (haveGot ? got : std::string("(none)")) << '\n';
        }
    }
    if (differing > shown)
        report << "... and " << differing - shown << " more differing lines\n";
    return differing;
}

} // namespace corvane::test
