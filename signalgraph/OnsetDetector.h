#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// Finds where a new note begins in the signal the period search reads, hop by hop, so that the
// analyzer can start a fresh decision there instead of letting the older estimates outvote it.
// Two signs count, each measured over short chunks of the hop (a sixteenth of it):
// - a change of period: the chunk no longer repeats at the period of the note being heard (its
//   normalized difference against the signal one period earlier rises above a half, from below
//   a fifth, and stays there for a second chunk, at a level no more than 6 dB below the note's:
//   a note that stops breaks its period too); a vibrato or a slow swell stays far below;
// - a rise in level after a dip: the mean square over the last period of the lowest note (at
//   most a hop, at least a chunk) ending with the chunk is four times (6 dB) the quietest such
//   level of the last two hops, and above -70 dBFS; for three hops after it the attack's further
//   rise does not count again.
//
// Life: prepare (allocates), then feed once per hop. One thread at a time; feed allocates
// nothing and never throws.
class OnsetDetector
{
public:
    // Hops of `hopLength` samples (a multiple of 16); periods up to `longestLag` samples are
    // compared; the level is measured over `levelSpan` samples (the lowest note's period).
    void prepare(int32_t hopLength, int32_t longestLag, int32_t levelSpan);

    // Takes the next hop; `periodLag` is the period of the note heard so far in samples (0 when
    // there is none). Returns how many samples before the end of this hop the new note began,
    // or -1 when none began in it.
    int32_t feed(const float *hop, double periodLag) noexcept;

private:
    void reset() noexcept;

    int32_t m_hop = 0;
    int32_t m_chunk = 0;
    int32_t m_history = 0;           // samples kept before the hop, for the period comparison
    std::vector<float> m_signal;     // m_history + m_hop samples, oldest first
    int32_t m_levelChunks = 1;       // chunks the level is measured over
    std::vector<double> m_chunkSums; // sums of squares of the last chunks, a ring
    std::size_t m_nextSum = 0;
    std::vector<double> m_chunkLevels; // levels at the last two hops' chunks, a ring
    std::size_t m_nextLevel = 0;
    bool m_periodic = false;   // the last chunk repeated at the period
    double m_heardLevel = 0.0; // the level when it last did
    int32_t m_changeRun = 0;   // chunks in a row that did not
    int32_t m_settling = 0;    // chunks left in which an attack's further rise does not count
};

} // namespace corvane
