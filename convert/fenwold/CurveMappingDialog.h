#pragma once

#include "convert/CurveMapping.h"
#include "convert/LasPreview.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The curves of a LAS file, one row each (mnemonic, unit, description, first
// values), with the kestrix column each gives ("Use as") and its unit. OK is
// enabled only when each of the seven columns has exactly one curve and a unit.
class CurveMappingDialog : public QDialog {
    Q_OBJECT
public:
    // `remembered`: the proposal is a mapping confirmed for an earlier file.
    CurveMappingDialog(const convert::LasPreview& preview, const convert::MappingProposal& proposal,
                       bool remembered, QWidget* parent = nullptr);

    // The chosen mapping, when it is complete.
    std::optional<convert::CurveMapping> Mapping() const;

    QTableWidget* Table() const { return m_table; }
    QComboBox* UseAsBox(int row) const;
    QComboBox* UnitBox(int row) const;
    QPushButton* OkButton() const { return m_ok; }
    // What is still to choose, or that every column has its curve.
    QString Status() const;

private:
    void FillUnits(int row, std::optional<convert::Unit> chosen);
    std::optional<convert::Axis> AxisOfRow(int row) const;
    std::optional<convert::Unit> UnitOfRow(int row) const;
    void Check();

    std::vector<convert::LasCurve> m_curves;
    QTableWidget* m_table = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
};
