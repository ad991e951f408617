#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The collar dialog: easting, northing, height and declination in four edit
// boxes (ids 1000 to 1003). It edits four doubles that belong to the caller
// and writes them only when OK finds a number in every box.
class CCoords : public QDialog {
    Q_OBJECT
public:
    // Copies the caller's values into the boxes; the references must outlive the dialog.
    CCoords(double& easting, double& northing, double& height, double& declination, QWidget* parent = nullptr);

    // The edit box `id` (1000 to 1003), or null.
    QLineEdit* Box(int id) const;
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The dialog's own copies, as last read from the boxes.
    double Easting() const { return m_easting; }
    double Northing() const { return m_northing; }
    double Height() const { return m_height; }
    double Declination() const { return m_declination; }

    // Says under the buttons which values came from the LAS file, one line
    // each, and how the declination turns the hole; the dialog grows to fit.
    void ShowFromLas(const QStringList& lines);
    QString FromLasText() const;

    // Replaces how the notice for a box without a number is shown.
    void SetNoticeHandler(std::function<void(const QString&)> handler) { m_notice = std::move(handler); }

    // Reads the boxes; on success copies the values to the caller and closes as confirmed.
    void accept() override;

private:
    // Towards the boxes: writes every value. From the boxes: reads them in
    // order 1000 to 1003 and stops at the first without a number (false).
    bool UpdateData(bool fromBoxes);
    void BuildFromTemplate();

    double& m_callerEasting;
    double& m_callerNorthing;
    double& m_callerHeight;
    double& m_callerDeclination;
    double m_easting;
    double m_northing;
    double m_height;
    double m_declination;
    QLineEdit* m_boxes[4] = {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QLabel* m_fromLas = nullptr;
    std::function<void(const QString&)> m_notice;
};
