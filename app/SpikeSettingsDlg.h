#pragma once

#include "app/SpikeSettingsStore.h"
#include "survey/ReferenceField.h"

#include <QDialog>

class QDoubleSpinBox;
class QSpinBox;

// "Spike Settings": the spike finder's window, threshold and the three
// floors, and the three tolerances against the reference field, each held
// within its range by its box; "Defaults" puts back the settings the
// program starts with. The gravity floor and tolerance show in the units of
// the survey's accelerometer where known (m/s² at standard gravity to the
// g), otherwise in g.
class CSpikeSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CSpikeSettingsDlg(const QualitySettings& settings, survey::GravityUnit unit = survey::GravityUnit::Unknown,
                      QWidget* parent = nullptr);

    QualitySettings Settings() const;
    // The gravity boxes' units as shown: " g" or " m/s²".
    QString GravitySuffix() const;

private:
    // A gravity setting as shown: the box, the setting (in g) and the
    // box's value when shown, so a box left alone gives back its setting
    // unrounded.
    struct GravityBox {
        QDoubleSpinBox* box = nullptr;
        double setting = 0.0;
        double shown = 0.0;
    };

    void Show(const QualitySettings& settings);
    void ShowGravity(GravityBox& gravity, double setting);
    double GravitySetting(const GravityBox& gravity) const;

    double m_gravityFactor = 1.0; // box units per g
    QSpinBox* m_halfWindow = nullptr;
    QDoubleSpinBox* m_threshold = nullptr;
    QDoubleSpinBox* m_fieldFloor = nullptr;
    GravityBox m_gravityFloor;
    QDoubleSpinBox* m_dipFloor = nullptr;
    QDoubleSpinBox* m_fieldTolerance = nullptr;
    GravityBox m_gravityTolerance;
    QDoubleSpinBox* m_dipTolerance = nullptr;
};
