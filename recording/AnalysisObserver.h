#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// How an analysis reports to whoever shows it: the document window turns these into message
// boxes and the "Analyzing File" progress dialog; the command line into lines on stderr. Every
// call comes from the thread that runs the analysis. The default implementation shows nothing.
class AnalysisObserver
{
public:
    enum class Icon { None, Stop };

    virtual ~AnalysisObserver() = default;

    // One message box worth of text.
    virtual void message(const std::string & /*text*/, Icon /*icon*/) { }
    // An analysis of `blocks` blocks starts; then progress once per block analyzed, with the
    // count so far; then progressEnd, also after a read stopped early.
    virtual void progressBegin(int64_t /*blocks*/) { }
    virtual void progress(int64_t /*done*/) { }
    virtual void progressEnd() { }
    // Asked after every block: true ends the analysis early, leaving it empty (the user
    // canceled, or the command line was interrupted).
    virtual bool stopRequested() const { return false; }
};

} // namespace corvane
