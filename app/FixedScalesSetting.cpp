#include "app/FixedScalesSetting.h"

#include "app/ProgramInfo.h"

#include <QSettings>

namespace {
const QString kKey = QStringLiteral("Plots/FixedScales");
} // namespace

bool LoadFixedScales() { return QSettings(kProgramMaker, kProgramName).value(kKey, false).toBool(); }

void SaveFixedScales(bool on) { QSettings(kProgramMaker, kProgramName).setValue(kKey, on); }
