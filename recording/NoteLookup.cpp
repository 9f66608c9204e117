#include "NoteLookup.h"

#include "CPitch.h"
#include "KeyTables.h"

namespace corvane {

namespace {

    // Note indices count from A0; degrees count from C, and so do octaves.
    int fromC(int index) noexcept
    {
        return index + 12 - CPitch::kMiddleC % 12;
    }

} // namespace

int degreeFromC(int index) noexcept
{
    return ((fromC(index) % 12) + 12) % 12;
}

std::string degreeNameInCMajor(int degree)
{
    return std::string(DegreeSpelling(kKeyC, degree));
}

std::string noteNameInCMajor(int index)
{
    // The octave's division rounds down, below A0 too.
    const int degree = degreeFromC(index);
    const int octave = (fromC(index) - degree) / 12;
    return degreeNameInCMajor(degree) + std::to_string(octave);
}

} // namespace corvane
