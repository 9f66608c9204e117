#pragma once

#include <optional>
#include <string>

namespace corvane {

// What `tonrik --analyze` was asked to do. Settings left empty come from "tonrik.def" in the
// current directory, or from the factory defaults when there is none.
struct AnalyzeOptions
{
    std::string file;     // the wave file to analyze
    bool notes = false;   // one row per note instead of one per block
    bool json = false;    // JSON instead of CSV
    bool classic = false; // the band decision alone, without the refinement stage

    std::optional<int> filterLength;      // 1 long, 2 medium, 3 short
    std::optional<int> sensitivity;       // 1 high, 2 medium, 3 low
    std::optional<double> lowestHz;       // lowest frequency tracked
    std::optional<double> highestHz;      // highest frequency tracked
    std::optional<double> referenceHz;    // frequency of A4
    std::optional<double> noiseThreshold; // 0..1; blocks above half of it are voiced
};

} // namespace corvane
