#pragma once

namespace corvane {

class CTCDefs;

// The settings an analysis runs with: those of the Optimize dialog and the pitch reference. The
// analysis takes them by value, so it never reads the program's settings while it runs.
struct AnalysisSettings
{
    int filterLength = 3;         // 1 long, 2 medium, 3 short analysis filters
    int sensitivity = 2;          // 1 high, 2 medium, 3 low
    double lowestHz = 82.5;       // lowest frequency tracked
    double highestHz = 1760.0;    // highest frequency tracked
    double noiseThreshold = 0.02; // 0..1; blocks louder than half of it are voiced
    double referenceHz = 440.0;   // a', which the note table of the analysis is built on
    bool classic = false;         // the analyzer's band decision alone (PitchAnalyzer::Mode)
    bool blockHop = false;        // one sample per block instead of one per hop

    static AnalysisSettings from(const CTCDefs &defs) noexcept;
};

} // namespace corvane
