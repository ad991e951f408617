#pragma once

#include "survey/ControlPoint.h"

#include <QDialog>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class SurveyDocument;
class UserPrompts;

// Edit > Control Points...: the survey's azimuth control points as a table of
// depth (m) and azimuth (degrees) in the order placed. A point typed below the
// table, a cell changed, the selected rows removed and a control-point file
// imported are each one edit of the survey through `document` (one undo
// step); the table follows the survey as it changes. Numbers are read as the
// control-point file reads them, whatever the user's locale; a number that is
// not one is refused with a message through `prompts`, and nothing changes.
class ControlPointsDlg : public QDialog {
    Q_OBJECT
public:
    // `document` and `prompts` must outlive the dialog.
    ControlPointsDlg(SurveyDocument& document, UserPrompts& prompts, QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }
    QLineEdit* NewDepth() const { return m_newDepth; }
    QLineEdit* NewAzimuth() const { return m_newAzimuth; }

    // The buttons' work, also for tests: false when nothing changed.
    bool AddTypedPoint();
    bool RemoveSelectedPoints();
    bool ImportFile();
    bool ExportFile();

private:
    void Refill();
    void OnCellChanged(QTableWidgetItem* item);
    // The point typed as `depth` and `azimuth`, or a message and nothing.
    bool ReadPoint(const QString& depth, const QString& azimuth, survey::ControlPoint& point);
    std::vector<survey::ControlPoint> PointsInForce() const;
    void UpdateButtons();

    SurveyDocument& m_document;
    UserPrompts& m_prompts;
    QTableWidget* m_table = nullptr;
    QLineEdit* m_newDepth = nullptr;
    QLineEdit* m_newAzimuth = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_filling = false;
};
