#include "PreferencesFile.h"

#include "FileReplacement.h"

#include <algorithm>
#include <fstream>

namespace corvane {

namespace {

    bool hasKey(const std::string &line, std::string_view key)
    {
        return line.size() > key.size() && line.compare(0, key.size(), key) == 0
                && line[key.size()] == '=';
    }

} // namespace

PreferencesFile PreferencesFile::load(const std::filesystem::path &path)
{
    PreferencesFile file;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            file.m_lines.push_back(line);
    }
    return file;
}

std::optional<std::string> PreferencesFile::get(std::string_view key) const
{
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        if (hasKey(*line, key))
            return line->substr(key.size() + 1);
    }
    return std::nullopt;
}

void PreferencesFile::set(std::string_view key, const std::optional<std::string> &value)
{
    std::erase_if(m_lines, [key](const std::string &line) { return hasKey(line, key); });
    if (!value)
        return;
    std::string line = std::string(key) + '=' + *value;
    std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    m_lines.push_back(std::move(line));
}

std::string PreferencesFile::save(const std::filesystem::path &path, const FileFault &fault) const
{
    std::string text;
    for (const std::string &line : m_lines)
        text += line + '\n';
    return replaceFile(path, text, fault);
}

} // namespace corvane
