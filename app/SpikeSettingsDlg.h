#pragma once

#include "survey/SpikeFinder.h"

#include <QDialog>

class QDoubleSpinBox;
class QSpinBox;

// "Spike Settings": the spike finder's window, threshold and the three
// floors, each held within its range by its box; "Defaults" puts back the
// settings the program starts with.
class CSpikeSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CSpikeSettingsDlg(const survey::SpikeSettings& settings, QWidget* parent = nullptr);

    survey::SpikeSettings Settings() const;

private:
    void Show(const survey::SpikeSettings& settings);

    QSpinBox* m_halfWindow = nullptr;
    QDoubleSpinBox* m_threshold = nullptr;
    QDoubleSpinBox* m_fieldFloor = nullptr;
    QDoubleSpinBox* m_gravityFloor = nullptr;
    QDoubleSpinBox* m_dipFloor = nullptr;
};
