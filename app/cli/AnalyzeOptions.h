#pragma once

#include "StereoChannel.h"

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

// What `tonrik --analyze` was asked to do. Settings left empty come from "tonrik.def" in the
// settings folder, or from the factory defaults when there is none.
struct AnalyzeOptions
{
    std::string file;       // the wave file to analyze
    bool notes = false;     // one row per note instead of one per block
    bool summary = false;   // how in tune each degree and note was, instead of the rows
    bool json = false;      // JSON instead of CSV
    bool classic = false;   // the band decision alone, without the refinement stage
    bool comments = false;  // CSV: the "# latency_s=" and "# settings:" lines before the header
    bool verbose = false;   // the latency and the settings on stderr
    bool keepBands = false; // the nine band files stay in the current directory
    StereoChannel channel = StereoChannel::Left; // what of a two-channel file is analyzed

    std::optional<int> filterLength;      // 1 long, 2 medium, 3 short
    std::optional<int> sensitivity;       // 1 high, 2 medium, 3 low
    std::optional<double> lowestHz;       // lowest frequency tracked
    std::optional<double> highestHz;      // highest frequency tracked
    std::optional<double> referenceHz;    // frequency of A4
    std::optional<double> noiseThreshold; // 0..1; blocks above half of it are voiced
    // One row per block (true) or per hop (false); empty: hop=... in "tonrik.prefs".
    std::optional<bool> blockHop;
    // A Scala scale whose temperament the cents are counted in, and its keyboard map (which may
    // set the reference); empty: the equal-tempered notes.
    std::string scalaFile;
    std::string kbmFile;
    // The reference is taken from the first steady note of this index (48 = A4) in the file.
    std::optional<int> referenceNote;

    // Where "tonrik.def" and "tonrik.prefs" are read (never written); empty: the current
    // directory.
    std::filesystem::path settingsFolder;

    std::string pngFile; // a picture of the default panes as well, when not empty
    int pngWidth = 0;    // its width in pixels; 0: as wide as the recording, up to 1200
};

} // namespace corvane
