// Any bytes as "tonrik.def": loading must leave a record every part of the program can work
// with, and that record must survive its own save and load unchanged.

#include "FuzzFile.h"

#include "CPitch.h"
#include "CTCDefs.h"

#include <cstdlib>

using namespace corvane;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::writeInput(kDefaultsFileName, data, size);
    CTCDefs defs;
    const DefaultsFileStatus status = defs.LoadDefaultsFile({});
    require(status == DefaultsFileStatus::Loaded || status == DefaultsFileStatus::Damaged);

    // What was kept is in range: checking again changes nothing.
    CTCDefs checked = defs;
    require(checked.ReplaceInvalidFields() == 0);
    require(checked == defs);
    require(CPitch::IsPlausibleReference(defs.GetReferenceHz()));
    require(defs.GetLowestNoteHz() < defs.GetHighestNoteHz());
    CPitch table;
    require(table.SetReference(defs.GetReferenceHz()));

    // Saved and loaded again, the record is the same.
    require(defs.SaveDefaultsFile());
    CTCDefs again;
    require(again.LoadDefaultsFile({}) == DefaultsFileStatus::Loaded);
    require(again == defs);
    return 0;
}
