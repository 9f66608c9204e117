#pragma once

#include "ServiceOverride.h"

class QUrl;

namespace corvane {

// Opens web addresses for the windows (the About box's link), so that tests can see what would
// be opened without starting a browser. The program uses the desktop's default handler; tests
// install their own with LinkOpenerOverride. UI thread only.
class LinkOpener
{
public:
    // The codes of the desktop's "open this address" call, which the About box turns into its
    // messages: above 32 the address was handed to a program; kNoProgram, no program takes it.
    static constexpr int kOpened = 33;
    static constexpr int kNoProgram = 31;

    virtual ~LinkOpener() = default;
    // kOpened (or any code above 32) when the address was handed to a program, else the reason.
    virtual int open(const QUrl &url) = 0;
};

// The opener in use now: the desktop's unless a test installed its own.
LinkOpener &linkOpener();

// Installs one for the lifetime of the override.
using LinkOpenerOverride = widgets::ServiceOverride<LinkOpener>;
template<>
LinkOpener *&widgets::ServiceOverride<LinkOpener>::slot();

} // namespace corvane
