#pragma once

#include "survey/Site.h"

#include <QDialog>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace survey {
class CKestrixDoc;
} // namespace survey

// "Site": where the survey was made (an EPSG projected grid, or a local grid
// by latitude, longitude and convergence), its date, the field model and the
// declination the positions use. Shows, as it is typed, the model's field at
// the collar and the declination it gives the survey (convergence less D).
class CSiteDlg : public QDialog {
    Q_OBJECT
public:
    CSiteDlg(const survey::CKestrixDoc& doc, QWidget* parent = nullptr);

    // The site as the boxes give it; nothing while a box holds no valid value.
    std::optional<survey::Site> ChosenSite() const;

    QLineEdit* CrsBox() const { return m_crs; }
    QLineEdit* DateBox() const { return m_date; }
    QLineEdit* LatitudeBox() const { return m_latitude; }
    QLineEdit* LongitudeBox() const { return m_longitude; }
    QLineEdit* ConvergenceBox() const { return m_convergence; }
    QLineEdit* TypedDeclinationBox() const { return m_typed; }
    QComboBox* ModelBox() const { return m_model; }
    // 0: not set, 1: CRS, 2: local grid.
    QButtonGroup* WhereGroup() const { return m_where; }
    // 0: the raw survey file's, 1: the model's, 2: typed.
    QButtonGroup* DeclinationGroup() const { return m_declination; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* UseModelButton() const { return m_useModel; }
    QString ReferenceText() const;

private:
    void Show(const survey::Site& site);
    void Update();

    const survey::CKestrixDoc& m_doc;
    QButtonGroup* m_where = nullptr;
    QButtonGroup* m_declination = nullptr;
    QLineEdit* m_crs = nullptr;
    QLineEdit* m_latitude = nullptr;
    QLineEdit* m_longitude = nullptr;
    QLineEdit* m_convergence = nullptr;
    QLineEdit* m_date = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_typed = nullptr;
    QLabel* m_reference = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_useModel = nullptr;
};
