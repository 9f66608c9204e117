#pragma once

// A recording for the document and view tests: a known melody written as a wave file in a
// private directory that is also the current one, with message boxes scripted.

#include "ProgramState.h"
#include "ScriptedMessageService.h"
#include "TempDir.h"
#include "WaveFixtures.h"

#include <gtest/gtest.h>

namespace corvane::test {

class AnalysisFixture : public ::testing::Test
{
protected:
    static constexpr uint32_t kRate = 11025;

    AnalysisFixture()
        : m_enter(m_dir.path())
        , m_override(m_script)
    {
        m_program.settings.SetCaptureFormat(SampleFormat { 1, 11025, 16 });
    }

    // C4, E4, G4, C5: half a second each with a quarter second of rest before each.
    std::filesystem::path writeMelody(const std::string &name = "melody.wav", int repeats = 1)
    {
        std::vector<double> frames;
        for (int r = 0; r < repeats; ++r) {
            for (int note : { 39, 43, 46, 51 }) {
                append(frames, silence(0.25, kRate));
                append(frames, tone(m_program.noteTable.NoteFreq(note), 0.5, kRate));
            }
        }
        append(frames, silence(0.25, kRate));
        const std::filesystem::path path = m_dir / name;
        writeWave(path, waveHeader(1, kRate), pcmBytes(frames, 1, 16));
        return path;
    }

    ProgramState m_program;
    TempDir m_dir;
    WorkingDir m_enter;
    widgets::ScriptedMessageService m_script;
    widgets::MessageServiceOverride m_override;
};

} // namespace corvane::test
