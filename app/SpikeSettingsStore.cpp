#include "app/SpikeSettingsStore.h"

#include "app/ProgramInfo.h"

#include <QSettings>

#include <cmath>

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

} // namespace

SpikeSettings LoadSpikeSettings()
{
    SpikeSettings settings;
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
    return settings;
}

bool SaveSpikeSettings(const SpikeSettings& settings)
{
    if (!survey::IsValidSpikeSettings(settings))
        return false;
    QSettings store(kProgramMaker, kProgramName);
    store.beginGroup(kGroup);
    store.setValue(kHalfWindow, settings.halfWindow);
    store.setValue(kThreshold, settings.threshold);
    for (const Floor& floor : kFloors)
        store.setValue(QLatin1String(floor.key), settings.*floor.member);
    store.endGroup();
    store.sync();
    return true;
}
