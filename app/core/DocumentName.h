#pragma once

#include "RecentFileList.h"

#include <functional>
#include <string>

namespace corvane {

// The name of the open recording: its file, or none for a new recording, shown as "Untitled".
struct DocumentName
{
    std::string path;

    // The file name without its folder, or "Untitled".
    std::string title() const;
};

// Saves the recording under `path` through `save` (which writes the file and says whether it
// succeeded). Only a save that succeeded renames the document and enters `path` in the recent
// list; a failed one leaves both as they were, so the window never names a file that was not
// written. Returns what `save` returned.
bool SaveDocumentAs(DocumentName &name, RecentFileList &recent, const std::string &path,
                    const std::function<bool(const std::string &path)> &save);

} // namespace corvane
