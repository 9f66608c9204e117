#include "NoteLookup.h"

#include "CPitch.h"
#include "KeyTables.h"

namespace corvane {

std::string noteNameInCMajor(int index)
{
    // Note indices count from A0; degrees count from C, and so do octaves. Both divisions
    // round down, below A0 too.
    const int fromC = index + 12 - CPitch::kMiddleC % 12;
    const int degree = ((fromC % 12) + 12) % 12;
    const int octave = (fromC - degree) / 12;
    return std::string(DegreeSpelling(kKeyC, degree)) + std::to_string(octave);
}

} // namespace corvane
