#pragma once

#include "SampleList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// A run of consecutive samples that form one note, or one rest.
struct NoteRun
{
    static constexpr int32_t kRest = 97;

    std::size_t firstSample = 0; // index in the sample list
    std::size_t sampleCount = 0;
    int32_t noteIndex = kRest; // 0..96, or kRest
    bool rest = true;
    bool unstable = false; // the first sample's isolated flag

    bool operator==(const NoteRun &) const = default;
};

// Groups post-processed samples into notes. A note takes its state from its first sample; a
// following sample joins it when it has the same voicing and either both are unvoiced, or its
// note equals the previous sample's and its level rose by no more than 0.15 over the previous
// sample's (a stronger rise is a new attack on the same pitch). Allocates the result.
std::vector<NoteRun> buildNoteRuns(const SampleList &samples);

} // namespace corvane
