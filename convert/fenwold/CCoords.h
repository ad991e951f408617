#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The collar dialog: easting, northing, height and declination in four edit
// boxes (ids 1000 to 1003). It edits four doubles that belong to the caller
// and writes them only when OK finds a number in every box. Below them, the
// collar's CRS and the survey's date let From model fill the declination from
// IGRF-14; they are not written anywhere.
class CCoords : public QDialog {
    Q_OBJECT
public:
    // Copies the caller's values into the boxes; the references must outlive the dialog.
    CCoords(double& easting, double& northing, double& height, double& declination, QWidget* parent = nullptr);

    // The edit box `id` (1000 to 1003), or null.
    QLineEdit* Box(int id) const;
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QLineEdit* CrsBox() const { return m_crs; }
    QLineEdit* DateBox() const { return m_date; }
    QPushButton* FromModelButton() const { return m_fromModel; }

    // The dialog's own copies, as last read from the boxes.
    double Easting() const { return m_easting; }
    double Northing() const { return m_northing; }
    double Height() const { return m_height; }
    double Declination() const { return m_declination; }

    // Says above the sign rule which values came from the LAS file, one line
    // each; the dialog grows to fit.
    void ShowFromLas(const QStringList& lines);
    QString FromLasText() const;
    // What From model last used, or why it could not fill the declination.
    QString ModelText() const;
    // How the declination turns the hole, always shown.
    QString RuleText() const;

    // Replaces how the notice for a box without a number is shown.
    void SetNoticeHandler(std::function<void(const QString&)> handler) { m_notice = std::move(handler); }

    // Reads the boxes; on success copies the values to the caller and closes as confirmed.
    void accept() override;

private:
    // Towards the boxes: writes every value. From the boxes: reads them in
    // order 1000 to 1003 and stops at the first without a number (false).
    bool UpdateData(bool fromBoxes);
    void BuildFromTemplate();
    // Puts the texts below From model, each as tall as its wrapped text (what
    // came from the LAS file unwrapped), then the buttons, and fits the dialog.
    void LayOutBelowTheBoxes();
    // The declination as convergence less the model's D at the typed collar,
    // or in the model's label why not (the declination box then keeps its text).
    void FillFromModel();

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
    QLineEdit* m_crs = nullptr;
    QLineEdit* m_date = nullptr;
    QPushButton* m_fromModel = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_rule = nullptr;
    QLabel* m_fromLas = nullptr;
    int m_widening = 0; // pixels the boxes moved right for their labels
    std::function<void(const QString&)> m_notice;
};
