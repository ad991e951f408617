#include "app/SpikeSettingsDlg.h"

#include "geomag/NormalGravity.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using survey::GravityUnit;
using survey::SpikeSettings;

namespace {

// Numbers read and shown the same whatever the user's locale.
QDoubleSpinBox* NumberBox(double low, double high, int decimals, const QString& suffix)
{
    auto* box = new QDoubleSpinBox;
    box->setLocale(QLocale::c());
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    return box;
}

} // namespace

CSpikeSettingsDlg::CSpikeSettingsDlg(const QualitySettings& settings, GravityUnit unit, QWidget* parent)
    : QDialog(parent), m_gravityFactor(unit == GravityUnit::MetresPerSecondSquared ? geomag::kStandardGravity : 1.0)
{
    setWindowTitle(tr("Spike Settings"));
    m_halfWindow = new QSpinBox;
    m_halfWindow->setLocale(QLocale::c());
    m_halfWindow->setRange(0, survey::kMaxSpikeHalfWindow);
    m_halfWindow->setSuffix(tr(" readings"));
    // The threshold must stay above 0: its smallest step is the box's lower end.
    m_threshold = NumberBox(0.01, 1000, 2, tr(" robust SD"));
    m_fieldFloor = NumberBox(0, 1e6, 1, tr(" nT"));
    // A place more in m/s², so a setting in g shows to about the same share.
    const int gravityDecimals = m_gravityFactor == 1.0 ? 4 : 5;
    m_gravityFloor.box = NumberBox(0, 10 * m_gravityFactor, gravityDecimals, GravitySuffix());
    m_dipFloor = NumberBox(0, 90, 3, tr(" \u00b0"));
    // A tolerance of 0 would fail every survey: each box's lower end is its smallest step.
    m_fieldTolerance = NumberBox(0.1, 1e5, 1, tr(" nT"));
    m_gravityTolerance.box = NumberBox(0.0001 * m_gravityFactor, m_gravityFactor, gravityDecimals, GravitySuffix());
    m_dipTolerance = NumberBox(0.001, 90, 3, tr(" \u00b0"));

    auto* form = new QFormLayout(this);
    form->addRow(tr("Readings each side (k):"), m_halfWindow);
    form->addRow(tr("Threshold (t):"), m_threshold);
    form->addRow(tr("Total field floor:"), m_fieldFloor);
    form->addRow(tr("Total gravity floor:"), m_gravityFloor.box);
    form->addRow(tr("Dip floor:"), m_dipFloor);
    form->addRow(new QLabel(tr("Against the reference field, the medians' tolerances:")));
    form->addRow(tr("Total field less the model's F:"), m_fieldTolerance);
    form->addRow(tr("Total gravity less normal gravity:"), m_gravityTolerance.box);
    form->addRow(tr("Dip less the model's I:"), m_dipTolerance);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                         | QDialogButtonBox::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { Show(QualitySettings{}); });
    form->addRow(buttons);
    Show(settings);
}

QString CSpikeSettingsDlg::GravitySuffix() const
{
    return m_gravityFactor == 1.0 ? tr(" g") : tr(" m/s\u00b2");
}

void CSpikeSettingsDlg::ShowGravity(GravityBox& gravity, double setting)
{
    gravity.box->setValue(setting * m_gravityFactor);
    gravity.setting = setting;
    gravity.shown = gravity.box->value();
}

// A box left as shown gives back its setting, unless the box had to hold
// that within its range.
double CSpikeSettingsDlg::GravitySetting(const GravityBox& gravity) const
{
    const double value = gravity.box->value();
    const double asShown = gravity.setting * m_gravityFactor;
    if (value == gravity.shown && asShown >= gravity.box->minimum() && asShown <= gravity.box->maximum())
        return gravity.setting;
    return value / m_gravityFactor;
}

void CSpikeSettingsDlg::Show(const QualitySettings& settings)
{
    m_halfWindow->setValue(settings.spikes.halfWindow);
    m_threshold->setValue(settings.spikes.threshold);
    m_fieldFloor->setValue(settings.spikes.fieldFloor);
    ShowGravity(m_gravityFloor, settings.spikes.gravityFloor);
    m_dipFloor->setValue(settings.spikes.dipFloor);
    m_fieldTolerance->setValue(settings.tolerances.fieldNt);
    ShowGravity(m_gravityTolerance, settings.tolerances.gravityG);
    m_dipTolerance->setValue(settings.tolerances.dipDegrees);
}

QualitySettings CSpikeSettingsDlg::Settings() const
{
    QualitySettings settings;
    settings.spikes.halfWindow = m_halfWindow->value();
    settings.spikes.threshold = m_threshold->value();
    settings.spikes.fieldFloor = m_fieldFloor->value();
    settings.spikes.gravityFloor = GravitySetting(m_gravityFloor);
    settings.spikes.dipFloor = m_dipFloor->value();
    settings.tolerances.fieldNt = m_fieldTolerance->value();
    settings.tolerances.gravityG = GravitySetting(m_gravityTolerance);
    settings.tolerances.dipDegrees = m_dipTolerance->value();
    return settings;
}
