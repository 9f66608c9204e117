// Compares a program's output with its golden file (see GoldenText.h):
//     corvane_golden_compare GOLDEN ACTUAL [RELATIVE [ABSOLUTE]]
// Exit status 0 when they agree, 1 when they differ (the first differing lines on stdout), 2 when
// a file cannot be read.

#include "GoldenText.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char *argv[])
{
    if (argc < 3 || argc > 5) {
        std::cerr << "usage: " << argv[0] << " GOLDEN ACTUAL [RELATIVE [ABSOLUTE]]\n";
        return 2;
    }
    corvane::test::Tolerance tolerance;
    if (argc > 3)
        tolerance.relative = std::atof(argv[3]);
    if (argc > 4)
        tolerance.absolute = std::atof(argv[4]);
    std::ifstream golden(argv[1], std::ios::binary);
    std::ifstream actual(argv[2], std::ios::binary);
    if (!golden || !actual) {
        std::cerr << argv[0] << ": cannot read " << (golden ? argv[2] : argv[1]) << '\n';
        return 2;
    }
    const std::size_t differing =
            corvane::test::compareGolden(golden, actual, tolerance, std::cout);
    if (differing == 0)
        return 0;
    std::cout << differing << " line(s) differ beyond a relative tolerance of "
              << tolerance.relative << " (absolute " << tolerance.absolute
              << " near 0); words that are not numbers must match exactly\n";
    return 1;
}
