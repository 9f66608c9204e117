#pragma once

// Reading and writing RIFF wave files.
//
// Reader, in calling order (used to analyze a file):
//     WaveReader reader;
//     if (OpenWaveForReading(path, reader) || SeekWaveData(reader)) ...report the code...
//     while (ReadWaveData(reader, block, got) == 0 && got == block.size()) ...analyze block...
//     CloseWaveReader(reader);  // or let the reader go out of scope
//
// Writer, in calling order: CreateWaveFile, BeginWaveData, WriteWaveData (repeatedly),
// FinishWaveFile. Each returns 0 or a code below (or a RIFF_ERR_ code of the chunk layer,
// passed on unchanged).
//
// A finished PCM file reads: "RIFF", size, "WAVE", "fmt ", 16, the 16 format bytes, "fact", 4,
// the frame count, "data", size, the samples; numbers are little-endian u32. 24-bit samples are
// packed in 3 bytes, as every other program reads them. Files of earlier versions, with 24-bit
// samples in 4-byte frames under the PCM tag, are still read (PcmFileLayout).
//
// A take whose writer died (killed, crashed, power cut) has a header whose RIFF and data sizes
// are 0 or short: the reader then takes the data up to the end of the file, in whole frames,
// and says so (WaveReader::dataRecovered).
//
// Nothing here shows anything to the user or throws for a bad file; the only exception that
// can leave these functions is std::bad_alloc from opening.

#include "RiffFile.h"
#include "SampleFormat.h"
#include "WaveFormat.h"
#include "WaveReader.h"
#include "WaveWriter.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace corvane {

constexpr uint32_t WAVE_ERR_MEMORY = 0xE000; // allocating the format block failed
constexpr uint32_t WAVE_ERR_OPEN = 0xE100;   // the file could not be opened for reading
constexpr uint32_t WAVE_ERR_NOT_WAVE =
        0xE101; // no RIFF/WAVE, no usable `fmt `, or its extra bytes are short
constexpr uint32_t WAVE_ERR_READ = 0xE102; // reading the `fmt ` chunk came up short
constexpr uint32_t WAVE_ERR_CORRUPT =
        0xE103; // the file holds fewer bytes than its data chunk claims
constexpr uint32_t WAVE_ERR_WRITE =
        0xE104; // creating the file failed, or a header write came up short

// The start of the message shown for a wave error code; the file's path follows directly.
const char *waveErrorPrefix(uint32_t code) noexcept;

// ---- Reader. Any thread, one reader per thread. ----

// Opens `path`, checks that it starts with a RIFF chunk of form type WAVE, and reads the first
// `fmt ` chunk into reader.format(). For PCM the extra bytes are neither read nor kept. On
// success the file stands behind the `fmt ` chunk; on failure the reader is closed. A reader
// that was open is closed first. Allocates.
uint32_t OpenWaveForReading(const std::filesystem::path &path, WaveReader &reader);

// Finds the `data` chunk anywhere inside the RIFF chunk (before or after `fmt `, skipping any
// other chunk) and stands at its first byte; dataChunk().size then holds the data bytes. When
// the data chunk is the last one and the file holds whole frames beyond the size its header
// claims (0 or short: a take whose writer died), the size is taken from the file's length and
// reader.dataRecovered() is true; bytes behind the data that start another chunk or a tag are
// never taken for samples.
uint32_t SeekWaveData(WaveReader &reader) noexcept;

// Reads min(dest.size(), dataBytesLeft()) bytes into dest and counts them off dataBytesLeft()
// at once. Fewer bytes than asked without an error means the data chunk is used up; the next
// read gives 0 bytes. When the file ends before the data chunk does, the result is
// WAVE_ERR_CORRUPT with bytesRead 0 (the bytes asked for stay counted off); when the disk fails
// to read, RIFF_ERR_CANNOT_READ with the cause in reader.systemError(). Never allocates.
uint32_t ReadWaveData(WaveReader &reader, std::span<std::byte> dest, size_t &bytesRead) noexcept;

// Closes the file and forgets the format; always 0.
uint32_t CloseWaveReader(WaveReader &reader) noexcept;

// ---- Writer. One thread at a time (see WaveWriter). ----

// Creates or truncates `path` and writes the RIFF header, the `fmt ` chunk (16 bytes for PCM,
// 18 + extra bytes otherwise) and a `fact` chunk with a placeholder count. The writer must be
// closed (otherwise RIFF_ERR_NOT_READY). The file stays open in the writer as soon as it
// exists, also when a later header step fails: pass it to FinishWaveFile then. Allocates.
uint32_t CreateWaveFile(const std::filesystem::path &path, const WaveFormat &format,
                        WaveWriter &writer);
// The same for PCM samples in `format`, as the program holds them (WaveFormat::pcm).
uint32_t CreateWaveFile(const std::filesystem::path &path, const SampleFormat &format,
                        WaveWriter &writer);

// Starts the `data` chunk.
uint32_t BeginWaveData(WaveWriter &writer) noexcept;

// Appends source (samples as the program holds them: 24-bit in 4-byte slots) to the data chunk;
// bytesWritten says how many of its bytes went in. Bytes beyond
// writer.dataByteCap() are refused with RIFF_ERR_TOO_LARGE after what fits has been written,
// so the file stays valid. Never allocates.
uint32_t WriteWaveData(WaveWriter &writer, std::span<const std::byte> source,
                       size_t &bytesWritten) noexcept;

// Appends source to the data chunk and stores it on the disk at once, whole or not at all: a
// block that cannot be stored (a disk full for a moment) is taken back, so the file holds an
// unbroken run of whole blocks and the next block can be tried where this one would have gone.
// For recordings, which must not lose the rest of a take to one failed write. Never allocates.
uint32_t WriteWaveBlock(WaveWriter &writer, std::span<const std::byte> source) noexcept;

// Brings the header's RIFF and data sizes and the `fact` count up to the data stored so far,
// after storing what is buffered, without moving the write position: a recording calls it once
// a second, so that a take killed at any moment is readable up to then by any program. Three
// 4-byte writes in place; never allocates.
uint32_t UpdateWaveSizes(WaveWriter &writer) noexcept;

// The header a finished file of `dataBytes` data bytes (in the file's layout) has, exactly as
// the writer lays it out, for writing a whole file front to back through a stream that cannot
// seek back (a file replaced whole, fileio/FileReplacement.h). The data follow it, then a zero
// pad byte when dataBytes is odd. Allocates.
std::vector<std::byte> WaveFileHeader(const WaveFormat &format, uint32_t dataBytes);

// Patches the data and RIFF sizes, writes sampleCount over the `fact` placeholder and closes
// the file, on every path. The first failing step gives the result. A closed writer gives 0.
uint32_t FinishWaveFile(WaveWriter &writer, uint32_t sampleCount) noexcept;

} // namespace corvane
