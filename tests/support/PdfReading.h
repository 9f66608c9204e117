#pragma once

// A PDF the program wrote, read by poppler's tools (pdfinfo, pdftotext; installed by
// scripts/install-deps.sh): its pages, its text and where its words lie.

#include "CommandOutput.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace corvane::test {

// The page count; -1 when pdfinfo cannot read the file.
inline int pdfPages(const std::filesystem::path &pdf)
{
    const std::string info = commandOutput("pdfinfo " + quoted(pdf)).value_or("");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The text of one page (1-based); with `layout`, in columns as it stands on the page.
inline std::string pdfText(const std::filesystem::path &pdf, int page, bool layout = false)
{
    const std::string p = std::to_string(page);
    return commandOutput("pdftotext " + std::string(layout ? "-layout " : "") + "-f " + p + " -l "
                         + p + " " + quoted(pdf) + " -")
            .value_or("");
}

// The right edge of the rightmost word on a page, in points.
inline double pdfRightmostWord(const std::filesystem::path &pdf, int page)
{
    const std::string p = std::to_string(page);
    const std::string boxes =
            commandOutput("pdftotext -bbox -f " + p + " -l " + p + " " + quoted(pdf) + " -")
                    .value_or("");
    double rightmost = 0.0;
    for (std::size_t at = boxes.find("xMax=\""); at != std::string::npos;
         at = boxes.find("xMax=\"", at + 1))
        rightmost = std::max(rightmost, std::stod(boxes.substr(at + 6)));
    return rightmost;
}

} // namespace corvane::test
