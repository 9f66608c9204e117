// Any bytes as a wave file: the reader must answer with a code, read no more data than the data
// chunk claims, and take whatever the analysis is offered without fault.

#include "FuzzFile.h"

#include "WaveFile.h"

#include <array>
#include <cstdlib>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const auto path = fuzz::writeInput("input.wav", data, size);
    WaveReader reader;
    if (OpenWaveForReading(path, reader) != 0) {
        if (reader.isOpen())
            std::abort(); // a failed open leaves the reader closed
        return 0;
    }
    (void)reader.slotFormat();
    (void)reader.pcmLayout();
    if (SeekWaveData(reader) != 0)
        return 0;
    const uint64_t claimed = reader.dataBytesLeft();
    uint64_t total = 0;
    std::array<std::byte, 777> block {};
    for (;;) {
        std::size_t got = 0;
        const uint32_t code = ReadWaveData(reader, block, got);
        total += got;
        if (code != 0 || got == 0)
            break;
    }
    if (total > claimed || total > size)
        std::abort();
    CloseWaveReader(reader);
    return 0;
}
