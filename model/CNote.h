#pragma once

#include <cstdint>

namespace corvane {

class CSample;

// One note event of an analyzed recording: a run of consecutive analysis samples that share one
// note, or a run of silence. The recording document links the notes into a list and owns them;
// a note only points at its neighbours and at the first and last sample of its run, it owns
// none of them. Built and read on the user-interface thread.
class CNote
{
public:
    // A new note is a rest with no samples and no neighbours.
    CNote() = default;
    virtual ~CNote();

    CNote *Next() const noexcept { return next; }
    void SetNext(CNote *note) noexcept { next = note; }
    CNote *Prev() const noexcept { return prev; }
    void SetPrev(CNote *note) noexcept { prev = note; }

    // Note index 0..96, or 97 for a rest.
    int32_t NoteIndex() const noexcept { return noteIndex; }
    void SetNoteIndex(int32_t index) noexcept { noteIndex = index; }

    // Number of analysis samples merged into this note.
    uint32_t SampleCount() const noexcept { return sampleCount; }
    void SetSampleCount(uint32_t count) noexcept { sampleCount = count; }

    bool IsRest() const noexcept { return isRest != 0; }
    void SetRest(bool rest) noexcept { isRest = rest ? 1 : 0; }

    // Copied from the first analysis sample of the run, whose class gives it its meaning; 0 for
    // a rest.
    uint8_t SampleFlag() const noexcept { return sampleFlag; }
    void SetSampleFlag(uint8_t flag) noexcept { sampleFlag = flag; }

    CSample *FirstSample() const noexcept { return firstSample; }
    void SetFirstSample(CSample *sample) noexcept { firstSample = sample; }
    CSample *LastSample() const noexcept { return lastSample; }
    void SetLastSample(CSample *sample) noexcept { lastSample = sample; }

private:
    CNote *next = nullptr;
    CNote *prev = nullptr;
    int32_t noteIndex = 0;
    uint32_t sampleCount = 0;
    uint8_t isRest = 1;
    uint8_t sampleFlag = 0;
    CSample *firstSample = nullptr;
    CSample *lastSample = nullptr;
};

} // namespace corvane
