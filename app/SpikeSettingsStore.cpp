#include "app/SpikeSettingsStore.h"

#include "app/ProgramInfo.h"

#include <QSettings>

#include <cmath>

using survey::ReferenceTolerances;
using survey::SpikeSettings;

namespace {

const QString kGroup = QStringLiteral("Spike Settings");
const QString kHalfWindow = QStringLiteral("Window");
const QString kThreshold = QStringLiteral("Threshold");

// Each floor's key and member, in one list for loading and saving.
struct Floor {
    const char* key;
    double SpikeSettings::*member;
};
constexpr Floor kFloors[] = {
    {"FieldFloor", &SpikeSettings::fieldFloor},
    {"GravityFloor", &SpikeSettings::gravityFloor},
    {"DipFloor", &SpikeSettings::dipFloor},
};

struct Tolerance {
    const char* key;
    double ReferenceTolerances::*member;
};
constexpr Tolerance kTolerances[] = {
    {"FieldTolerance", &ReferenceTolerances::fieldNt},
    {"DipTolerance", &ReferenceTolerances::dipDegrees},
    {"GravityTolerance", &ReferenceTolerances::gravityG},
};

} // namespace

QualitySettings LoadQualitySettings()
{
    QualitySettings kept;
    SpikeSettings& settings = kept.spikes;
    QSettings store(kProgramMaker, kProgramName);
    store.beginGroup(kGroup);
    bool ok = false;
    const int k = store.value(kHalfWindow).toInt(&ok);
    if (ok && survey::IsSpikeHalfWindow(k))
        settings.halfWindow = k;
    const double t = store.value(kThreshold).toDouble(&ok);
    if (ok && survey::IsSpikeThreshold(t))
        settings.threshold = t;
    for (const Floor& floor : kFloors) {
        const double value = store.value(QLatin1String(floor.key)).toDouble(&ok);
        if (ok && survey::IsSpikeFloor(value))
            settings.*floor.member = value;
    }
    for (const Tolerance& tolerance : kTolerances) {
        const double value = store.value(QLatin1String(tolerance.key)).toDouble(&ok);
        if (ok && survey::IsReferenceTolerance(value))
            kept.tolerances.*tolerance.member = value;
    }
    return kept;
}

bool SaveQualitySettings(const QualitySettings& kept)
{
    const SpikeSettings& settings = kept.spikes;
    if (!survey::IsValidSpikeSettings(settings) || !survey::IsValidReferenceTolerances(kept.tolerances))
        return false;
    QSettings store(kProgramMaker, kProgramName);
    store.beginGroup(kGroup);
    store.setValue(kHalfWindow, settings.halfWindow);
    store.setValue(kThreshold, settings.threshold);
    for (const Floor& floor : kFloors)
        store.setValue(QLatin1String(floor.key), settings.*floor.member);
    for (const Tolerance& tolerance : kTolerances)
        store.setValue(QLatin1String(tolerance.key), kept.tolerances.*tolerance.member);
    store.endGroup();
    store.sync();
    return true;
}
