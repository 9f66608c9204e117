#include "CommandLine.h"

#include <gtest/gtest.h>

using corvane::CommandLine;
using corvane::SampleFormat;

TEST(CommandLine, OptionsThatNeedNoDisplayAreRecognizedInTheirShortFormsToo)
{
    EXPECT_EQ(CommandLine::parse({ "--version" }).action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(CommandLine::parse({ "-v" }).action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(CommandLine::parse({ "--list-devices" }).action, CommandLine::Action::ListDevices);
    EXPECT_EQ(CommandLine::parse({ "--help" }).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(CommandLine::parse({ "-h" }).action, CommandLine::Action::ShowHelp);
    // Help is given whatever else the line holds.
    EXPECT_EQ(CommandLine::parse({ "--analyze", "a.wav", "-h" }).action,
              CommandLine::Action::ShowHelp);
    const std::string help = corvane::usageText();
    EXPECT_NE(help.find("-h, --help"), std::string::npos);
    EXPECT_NE(help.find("-v, --version"), std::string::npos);
    EXPECT_NE(help.find("stereo file the left channel is analyzed"), std::string::npos);
}

TEST(CommandLine, AFileOpensTheWindowAndAnUnknownOptionIsRefused)
{
    const CommandLine open = CommandLine::parse({ "take1.wav" });
    EXPECT_EQ(open.action, CommandLine::Action::RunWindow);
    ASSERT_EQ(open.files.size(), 1u);
    EXPECT_EQ(open.files[0], "take1.wav");

    const CommandLine bad = CommandLine::parse({ "--frobnicate=3" });
    EXPECT_EQ(bad.action, CommandLine::Action::Invalid);
    EXPECT_EQ(bad.error, "unknown option --frobnicate");
    EXPECT_EQ(CommandLine::parse({ "-x" }).error, "unknown option -x");
}

TEST(CommandLine, AnalyzeTakesAFileAndItsSettingsInEitherForm)
{
    const CommandLine line =
            CommandLine::parse({ "--analyze", "take1.wav", "--notes", "--json", "--filter-length=1",
                                 "--sensitivity", "3", "--lowest", "55", "--highest=880.5",
                                 "--reference", "442", "--noise-threshold", "0.35" });
    ASSERT_EQ(line.action, CommandLine::Action::Analyze) << line.error;
    EXPECT_EQ(line.analyze.file, "take1.wav");
    EXPECT_TRUE(line.analyze.notes);
    EXPECT_TRUE(line.analyze.json);
    EXPECT_EQ(line.analyze.filterLength, 1);
    EXPECT_EQ(line.analyze.sensitivity, 3);
    EXPECT_EQ(line.analyze.lowestHz, 55.0);
    EXPECT_EQ(line.analyze.highestHz, 880.5);
    EXPECT_EQ(line.analyze.referenceHz, 442.0);
    EXPECT_EQ(line.analyze.noiseThreshold, 0.35);
    EXPECT_FALSE(line.analyze.classic);
    EXPECT_TRUE(CommandLine::parse({ "--analyze", "take1.wav", "--classic" }).analyze.classic);

    const CommandLine plain = CommandLine::parse({ "--analyze=take2.wav" });
    ASSERT_EQ(plain.action, CommandLine::Action::Analyze);
    EXPECT_EQ(plain.analyze.file, "take2.wav");
    EXPECT_FALSE(plain.analyze.notes);
    EXPECT_FALSE(plain.analyze.filterLength.has_value());
}

TEST(CommandLine, BadAnalyzeLinesAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        { "--analyze" },
        { "--notes" },
        { "take.wav", "--json" },
        { "--analyze", "a.wav", "b.wav" },
        { "--analyze", "a.wav", "--filter-length", "4" },
        { "--analyze", "a.wav", "--sensitivity" },
        { "--analyze", "a.wav", "--lowest", "-3" },
        { "--analyze", "a.wav", "--reference", "440Hz" },
        { "--analyze", "a.wav", "--lowest", "900", "--highest", "800" },
        { "--analyze", "a.wav", "--noise-threshold", "1.5" },
        { "--analyze", "a.wav", "--channel", "both" },
        { "--analyze", "a.wav", "--width", "800" },
        { "--analyze", "a.wav", "--png", "a.png", "--width", "80" },
        { "--analyze", "a.wav", "--png", "a.png", "--width", "wide" },
        { "--png", "a.png" },
        { "--tune", "a.wav", "--tune-seconds", "0" },
        { "--tune-seconds", "3" },
        { "--tune", "a.wav", "b.wav" },
    };
    for (const auto &args : bad) {
        const CommandLine line = CommandLine::parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::Invalid) << args.back();
        EXPECT_FALSE(line.error.empty());
    }
    // The messages name the option and what it takes.
    EXPECT_EQ(CommandLine::parse({ "--analyze" }).error, "--analyze needs a wave file");
    EXPECT_EQ(CommandLine::parse({ "--analyze", "a.wav", "--sensitivity" }).error,
              "--sensitivity takes 1, 2 or 3");
    EXPECT_EQ(CommandLine::parse({ "--analyze", "a.wav", "--notes=yes" }).error,
              "--notes takes no value");
    EXPECT_EQ(CommandLine::parse({ "--analyze", "a.wav", "--channel=both" }).error,
              "--channel takes left, right or mix");
}

TEST(CommandLine, OneActionAtATime)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
        { { "--analyze", "a.wav", "--analyze", "b.wav" },
          "--analyze takes one file; give it once" },
        { { "--analyze=a.wav", "--analyze=a.wav" }, "--analyze takes one file; give it once" },
        { { "--analyze", "a.wav", "--tune", "b.wav" },
          "--analyze and --tune cannot be used together" },
        { { "--list-devices", "--analyze", "a.wav" },
          "--analyze and --list-devices cannot be used together" },
        { { "--analyze", "a.wav", "-v" }, "--analyze and --version cannot be used together" },
    };
    for (const auto &[args, error] : lines) {
        const CommandLine line = CommandLine::parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::Invalid) << error;
        EXPECT_EQ(line.error, error);
    }
}

TEST(CommandLine, OutputChannelPictureAndTuningOptions)
{
    const CommandLine line =
            CommandLine::parse({ "--analyze", "take1.wav", "--comments", "--verbose",
                                 "--keep-bands", "--channel", "mix", "--png", "take1.png" });
    ASSERT_EQ(line.action, CommandLine::Action::Analyze) << line.error;
    EXPECT_TRUE(line.analyze.comments);
    EXPECT_TRUE(line.analyze.verbose);
    EXPECT_TRUE(line.analyze.keepBands);
    EXPECT_EQ(line.analyze.channel, corvane::StereoChannel::Mix);
    EXPECT_EQ(line.analyze.pngFile, "take1.png");
    EXPECT_EQ(line.analyze.pngWidth, 0) << "as wide as the recording";

    const CommandLine plain = CommandLine::parse({ "--analyze", "take1.wav" });
    EXPECT_FALSE(plain.analyze.comments);
    EXPECT_FALSE(plain.analyze.keepBands);
    EXPECT_EQ(plain.analyze.channel, corvane::StereoChannel::Left);
    EXPECT_TRUE(plain.analyze.pngFile.empty());
    EXPECT_EQ(CommandLine::parse({ "--analyze", "a.wav", "--png", "a.png", "--width=640" })
                      .analyze.pngWidth,
              640);

    const CommandLine tune = CommandLine::parse({ "--tune", "a4.wav", "--tune-seconds", "2.5" });
    ASSERT_EQ(tune.action, CommandLine::Action::Tune) << tune.error;
    EXPECT_EQ(tune.tuneFile, "a4.wav");
    EXPECT_EQ(tune.tuneSeconds, 2.5);
    EXPECT_FALSE(CommandLine::parse({ "--tune", "a4.wav" }).tuneSeconds.has_value());
}

TEST(CommandLine, RecordTakesAFileAndHowLongWhatFormatAndFromWhere)
{
    const CommandLine line = CommandLine::parse({ "--record", "take.wav", "--seconds", "2.5",
                                                  "--format", "48000,2,24", "--from", "in.wav" });
    ASSERT_EQ(line.action, CommandLine::Action::Record) << line.error;
    EXPECT_EQ(line.record.file, "take.wav");
    EXPECT_EQ(line.record.seconds, 2.5);
    EXPECT_EQ(line.record.format, (SampleFormat { 2, 48000, 24 }));
    EXPECT_EQ(line.record.from, "in.wav");
    const CommandLine plain = CommandLine::parse({ "--record", "take.wav", "--device", "hw:1" });
    ASSERT_EQ(plain.action, CommandLine::Action::Record) << plain.error;
    EXPECT_FALSE(plain.record.seconds || plain.record.format);
    EXPECT_EQ(plain.record.device, "hw:1");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        { { "--record", "t.wav", "--seconds", "0" },
          "--seconds takes a number of seconds above 0" },
        { { "--record", "t.wav", "--format", "44100,3,16" }, "--format takes a rate" },
        { { "--record", "t.wav", "--format", "44100,1,16,x" }, "--format takes a rate" },
        { { "--record", "t.wav", "--device", "a", "--from", "b.wav" }, "cannot be used together" },
        { { "--seconds", "3" }, "--seconds needs --record FILE.wav" },
        { { "--record", "t.wav", "--tune", "b.wav" }, "cannot be used together" },
    };
    for (const auto &[args, why] : refused) {
        const CommandLine bad = CommandLine::parse(args);
        EXPECT_EQ(bad.action, CommandLine::Action::Invalid) << args[1];
        EXPECT_NE(bad.error.find(why), std::string::npos) << bad.error;
    }
}

TEST(CommandLine, ListenTakesTheSettingsOfAnalyzeAndWhereTheSoundComesFrom)
{
    const CommandLine line =
            CommandLine::parse({ "--listen", "--from", "in.wav", "--json", "--seconds", "3",
                                 "--reference", "442", "--lowest", "100", "--scala", "w.scl" });
    ASSERT_EQ(line.action, CommandLine::Action::Listen) << line.error;
    EXPECT_EQ(line.listen.from, "in.wav");
    EXPECT_EQ(line.listen.seconds, 3.0);
    EXPECT_TRUE(line.listen.analysis.json);
    EXPECT_EQ(line.listen.analysis.referenceHz, 442.0);
    EXPECT_EQ(line.listen.analysis.lowestHz, 100.0);
    EXPECT_EQ(line.listen.analysis.scalaFile, "w.scl");
    const CommandLine device = CommandLine::parse({ "--listen", "--device", "hw:1" });
    ASSERT_EQ(device.action, CommandLine::Action::Listen) << device.error;
    EXPECT_EQ(device.listen.device, "hw:1");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        { { "--listen", "--notes" }, "--notes needs --analyze FILE.wav" },
        { { "--listen", "--format", "44100,1,16" }, "--format needs --record FILE.wav" },
        { { "--listen", "--device", "a", "--from", "b.wav" }, "cannot be used together" },
        { { "--listen", "take.wav" }, "--listen takes no file" },
        { { "--listen", "--analyze", "a.wav" }, "cannot be used together" },
        { { "--listen", "--lowest", "500", "--highest", "400" }, "--lowest must lie below" },
        { { "--json" }, "--json needs --analyze FILE.wav or --listen" },
        { { "--listen", "--kbm", "a.kbm" }, "--kbm needs --scala FILE.scl" },
    };
    for (const auto &[args, why] : refused) {
        const CommandLine bad = CommandLine::parse(args);
        EXPECT_EQ(bad.action, CommandLine::Action::Invalid) << args[1];
        EXPECT_NE(bad.error.find(why), std::string::npos) << bad.error;
    }
}

TEST(CommandLine, TheReferenceFromANoteIsNamedAsWritten)
{
    const std::pair<const char *, int> notes[] = { { "A4", 48 }, { "C#5", 52 }, { "Bb3", 37 },
                                                   { "a0", 0 },  { "C8", 87 },  { "A8", 96 } };
    for (const auto &[name, index] : notes) {
        const CommandLine line =
                CommandLine::parse({ "--analyze", "a.wav", "--reference-from-note", name });
        ASSERT_EQ(line.action, CommandLine::Action::Analyze) << name << ": " << line.error;
        EXPECT_EQ(line.analyze.referenceNote, index) << name;
    }
    for (const char *bad : { "H4", "A9", "Ab0", "A#8", "A", "A44", "" }) {
        const CommandLine line =
                CommandLine::parse({ "--analyze", "a.wav", "--reference-from-note", bad });
        EXPECT_EQ(line.action, CommandLine::Action::Invalid) << bad;
        EXPECT_NE(line.error.find("--reference-from-note takes a note"), std::string::npos)
                << line.error;
    }
    EXPECT_EQ(CommandLine::parse({ "--listen", "--reference-from-note", "A4" }).error,
              "--reference-from-note needs --analyze FILE.wav");
}
