#include "AnalysisSettings.h"

#include "CTCDefs.h"

namespace corvane {

AnalysisSettings AnalysisSettings::from(const CTCDefs &defs) noexcept
{
    AnalysisSettings settings;
    settings.filterLength = static_cast<int>(defs.GetFilterLength());
    settings.sensitivity = static_cast<int>(defs.GetSensitivity());
    settings.lowestHz = defs.GetLowestNoteHz();
    settings.highestHz = defs.GetHighestNoteHz();
    settings.noiseThreshold = defs.GetNoiseThreshold();
    settings.referenceHz = defs.GetReferenceHz();
    return settings;
}

} // namespace corvane
