#include "NoteLookup.h"

#include "CPitch.h"
#include "KeyTables.h"

namespace corvane {

std::string noteNameInCMajor(int index)
{
    if (index < 0 || index >= CPitch::kNoteCount)
        return {};
    // Note indices count from A0; degrees count from C, and so do octaves.
    const int degree = (index + 12 - CPitch::kMiddleC % 12) % 12;
    return std::string(DegreeSpelling(kKeyC, degree)) + std::to_string((index + 9) / 12);
}

} // namespace corvane
