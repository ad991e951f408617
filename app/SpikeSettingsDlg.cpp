#include "app/SpikeSettingsDlg.h"

#include "app/SpikeSettingsStore.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

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

CSpikeSettingsDlg::CSpikeSettingsDlg(const SpikeSettings& settings, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Spike Settings"));
    m_halfWindow = new QSpinBox;
    m_halfWindow->setLocale(QLocale::c());
    m_halfWindow->setRange(0, survey::kMaxSpikeHalfWindow);
    m_halfWindow->setSuffix(tr(" readings"));
    // The threshold must stay above 0: its smallest step is the box's lower end.
    m_threshold = NumberBox(0.01, 1000, 2, tr(" robust SD"));
    m_fieldFloor = NumberBox(0, 1e6, 1, tr(" nT"));
    m_gravityFloor = NumberBox(0, 10, 4, tr(" g"));
    m_dipFloor = NumberBox(0, 90, 3, tr(" \u00b0"));

    auto* form = new QFormLayout(this);
    form->addRow(tr("Readings each side (k):"), m_halfWindow);
    form->addRow(tr("Threshold (t):"), m_threshold);
    form->addRow(tr("Total field floor:"), m_fieldFloor);
    form->addRow(tr("Total gravity floor:"), m_gravityFloor);
    form->addRow(tr("Dip floor:"), m_dipFloor);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                         | QDialogButtonBox::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { Show(SpikeSettings{}); });
    form->addRow(buttons);
    Show(settings);
}

void CSpikeSettingsDlg::Show(const SpikeSettings& settings)
{
    m_halfWindow->setValue(settings.halfWindow);
    m_threshold->setValue(settings.threshold);
    m_fieldFloor->setValue(settings.fieldFloor);
    m_gravityFloor->setValue(settings.gravityFloor);
    m_dipFloor->setValue(settings.dipFloor);
}

SpikeSettings CSpikeSettingsDlg::Settings() const
{
    SpikeSettings settings;
    settings.halfWindow = m_halfWindow->value();
    settings.threshold = m_threshold->value();
    settings.fieldFloor = m_fieldFloor->value();
    settings.gravityFloor = m_gravityFloor->value();
    settings.dipFloor = m_dipFloor->value();
    return settings;
}
