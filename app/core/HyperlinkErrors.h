#pragma once

#include <string>

namespace corvane {

// Why a link could not be opened, as the codes of the desktop's "open this address" call (the
// classic shell codes; the program's own opener reports 31 when no program takes the address).
// Codes above 32 mean success.
inline constexpr int kNoAssociatedApplication = 31;

// "Unable to open hyperlink:\n\n" followed by the text for `code` ("Unknown Error (n)
// occurred." for a code without one).
std::string HyperlinkErrorMessage(int code);

} // namespace corvane
