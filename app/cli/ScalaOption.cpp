#include "ScalaOption.h"

#include "AnalysisSettings.h"
#include "AnalyzeOptions.h"
#include "CPitch.h"
#include "KeyContext.h"
#include "ScalaTuning.h"

#include <cstdio>
#include <ostream>

namespace corvane {

std::optional<PitchClassCents> commandLineTemperament(const AnalyzeOptions &options,
                                                      const KeyContext &keys,
                                                      AnalysisSettings &settings, std::ostream &err,
                                                      bool &failed)
{
    failed = false;
    if (options.scalaFile.empty())
        return std::nullopt;
    const int tonic = keys.DegreePitchClass(0);
    const auto read = ScalaTuning::read(options.scalaFile, options.kbmFile, tonic);
    if (const auto *why = std::get_if<std::string>(&read)) {
        err << "tonrik: " << *why << '\n';
        failed = true;
        return std::nullopt;
    }
    const ScalaTuning &tuning = std::get<ScalaTuning>(read);
    if (tuning.referenceHz && !options.referenceHz) {
        if (!CPitch::IsPlausibleReference(*tuning.referenceHz)) {
            char hz[32];
            std::snprintf(hz, sizeof hz, "%.3f", *tuning.referenceHz);
            err << "tonrik: " << options.kbmFile << ": its reference note would put A4 at " << hz
                << " Hz, which the program does not take as the reference\n";
            failed = true;
            return std::nullopt;
        }
        settings.referenceHz = *tuning.referenceHz;
    }
    if (options.verbose)
        err << "# temperament: " << tuning.name << " (" << options.scalaFile << ")\n";
    return pitchClassCents(tuning.offsets, keys);
}

} // namespace corvane
