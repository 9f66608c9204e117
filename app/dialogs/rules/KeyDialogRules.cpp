#include "KeyDialogRules.h"

namespace corvane {

namespace {

    constexpr std::array<int, kKeyCount> kSoundsAsStep = { 0,  -3, 1,  -2, 2,  -1, 3, 0,
                                                           -3, 1,  -2, 2,  -1, -4, 0 };

    constexpr int kFirstOctave = -2;
    using Texts = std::array<std::string_view, kKeyCount>;

    // Rows by octave -2..+2, columns by transposition key 0 (Cb) .. 14 (C#).
    constexpr std::array<Texts, 5> kInstruments = { {
            {
                    "you're going to check every one, aren't you?",       // Cb
                    "you must be really bored",                           // Gb
                    "get a life",                                         // Db
                    "",                                                   // Ab
                    "Eb contrabass clarinet, Eb baritone saxophone",      // Eb
                    "Bb contrabass clarinet, Bb bass saxophone",          // Bb
                    "", "", "", "", "", "",                               // F, C, G, D, A, E
                    "how many contrabass instruments in B can you name?", // B
                    "F# is a lovely key, isn't it?",                      // F#
                    "have you heard the one about the wide-mouth frog?",  // C#
            },
            {
                    "", "", "", "",                                  // Cb, Gb, Db, Ab
                    "Eb alto clarinet, Eb alto saxophone, Eb horn",  // Eb
                    "Bb bass clarinet, Bb tenor saxophone, Bb horn", // Bb
                    "F horn, english horn",                          // F
                    "bass flute, contrabassoon, C tenor saxophone, C horn, double-bass, "
                    "guitar",   // C
                    "",         // G
                    "D horn",   // D
                    "",         // A
                    "E horn",   // E
                    "", "", "", // B, F#, C#
            },
            {
                    "", "", "",                                                // Cb, Gb, Db
                    "Ab horn",                                                 // Ab
                    "Eb piccolo clarinet, Eb sopranino saxophone, Eb trumpet", // Eb
                    "Bb clarinet, Bb soprano saxophone, Bb horn, Bb trumpet, Bb cornet, Bb "
                    "fluegelhorn",
                    "F trumpet", // F
                    "flute, bassoon, C trumpet, trombone, tuba, violin, viola, cello, "
                    "piano, harp, "
                    "marimba, tympani",                           // C
                    "G alto flute, G horn",                       // G
                    "D piccolo clarinet, D piccolo trumpet",      // D
                    "oboe d'amore, A clarinet, A horn, A cornet", // A
                    "E trumpet",                                  // E
                    "", "", "",                                   // B, F#, C#
            },
            {
                    "", "", "",                    // Cb, Gb, Db
                    "Ab piccolo clarinet",         // Ab
                    "", "", "",                    // Eb, Bb, F
                    "piccolo, celesta, xylophone", // C
                    "", "", "", "", "", "", "",    // G .. C#
            },
            {
                    "what are you looking for?",                       // Cb
                    "there's no more up here",                         // Gb
                    "who are you kidding?",                            // Db
                    "", "", "", "",                                    // Ab, Eb, Bb, F
                    "glockenspiel",                                    // C
                    "", "", "", "",                                    // G, D, A, E
                    "no point in looking here",                        // B
                    "have you ever considered a vacation in Finland?", // F#
                    "Finland has many reindeer",                       // C#
            },
    } };

    constexpr std::array<int, kClefCount> kWrittenCStep = { 1, 0, 2, -1 };

} // namespace

int StepTransposeKey(int transposeKey, int delta) noexcept
{
    const long long stepped = static_cast<long long>(transposeKey) + delta;
    return stepped >= 0 && stepped < kKeyCount ? static_cast<int>(stepped) : transposeKey;
}

std::string_view InstrumentText(int octave, int transposeKey) noexcept
{
    const int row = octave - kFirstOctave;
    if (row < 0 || row >= static_cast<int>(kInstruments.size()) || !IsKeyIndex(transposeKey))
        return {};
    return kInstruments[row][transposeKey];
}

std::string TranspositionText(int transposeKey, int octave)
{
    std::string text = "Transposition: ";
    text += MajorKeyName(transposeKey);
    text += "\n\n   typical instruments:\n   ";
    text += InstrumentText(octave, transposeKey);
    return text;
}

int WrittenCStep(int clef) noexcept
{
    return clef >= 0 && clef < kClefCount ? kWrittenCStep[clef] : 0;
}

int SoundsAsStep(int transposeKey) noexcept
{
    return IsKeyIndex(transposeKey) ? kSoundsAsStep[transposeKey] : 0;
}

Accidental SoundsAsAccidental(int transposeKey) noexcept
{
    switch (transposeKey) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        return Accidental::Flat;
    case 13:
    case 14:
        return Accidental::Sharp;
    default:
        return Accidental::None;
    }
}

std::string_view OctaveLabel(int octave) noexcept
{
    switch (octave) {
    case 2:
        return "15ma";
    case 1:
        return "8va";
    case -1:
        return "8vb";
    case -2:
        return "15mb";
    default:
        return {};
    }
}

} // namespace corvane
