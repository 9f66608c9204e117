#pragma once

// Reading back the text the program writes: a whole file, its lines, one cell of a CSV row.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::test {

inline std::string fileText(const std::filesystem::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Cell `column` (0-based) of a plain CSV row without quoting; empty past the row's end.
inline std::string cell(const std::string &row, std::size_t column)
{
    std::istringstream in(row);
    std::string value;
    for (std::size_t c = 0; c <= column; ++c) {
        if (!std::getline(in, value, ','))
            return {};
    }
    return value;
}

} // namespace corvane::test
