#pragma once

#include "CPitch.h"
#include "CTCDefs.h"
#include "KeyContext.h"
#include "PreferencesFile.h"
#include "ProgramFolders.h"

namespace corvane {

// What the program remembers and every window reads: the settings record, the note table and
// the key context, and the folders its files live in. `main` owns the one instance and hands it (or
// the part a window needs) down by reference; nothing reaches it through a global, so a test builds
// its own and two of them never meet.
//
// Constructed with the factory settings and the standard reference; start-up then loads the
// defaults file into `settings` and moves `noteTable` to the stored reference
// (loadDefaults()). The key context keeps the clef and transposition in `settings`, so the
// members are declared in this order and the object is neither copied nor moved.
// User-interface thread only; workers get copies (KeyContext::detached(), AnalysisSettings).
class ProgramState
{
public:
    ProgramState() noexcept
        : keys(settings)
    {
    }
    ProgramState(const ProgramState &) = delete;
    ProgramState &operator=(const ProgramState &) = delete;

    // Loads the defaults file of the settings folder into `settings` (see
    // CTCDefs::LoadDefaultsFile) and moves the note table to the reference it stores. The key
    // context reads the clef and transposition afresh.
    DefaultsFileStatus loadDefaults(const DefaultsFileErrorHandler &onError = {})
    {
        const DefaultsFileStatus status = settings.LoadDefaultsFile(onError, defaultsFile());
        noteTable.SetReference(settings.GetReferenceHz());
        keys = KeyContext(settings);
        return status;
    }

    // "tonrik.def" and "tonrik.prefs" in the settings folder.
    std::filesystem::path defaultsFile() const { return folders.config / kDefaultsFileName; }
    std::filesystem::path preferencesFile() const
    {
        return folders.config / PreferencesFile::kFileName;
    }

    // The working folder unless `main` chose the desktop's folders.
    ProgramFolders folders;
    CTCDefs settings;
    CPitch noteTable;
    KeyContext keys;
};

} // namespace corvane
