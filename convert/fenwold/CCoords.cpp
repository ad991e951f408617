#include "convert/fenwold/CCoords.h"

#include "convert/fenwold/DialogUnits.h"
#include "textio/NumberText.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kFirstBox = 1000;

// The dialog's layout in dialog units: x, y, width, height.
struct ControlPlace {
    int x, y, width, height;
};
constexpr ControlPlace kDialogSize = {0, 0, 104, 105};
constexpr ControlPlace kBoxes[4] = {{44, 7, 53, 14}, {44, 25, 53, 14}, {44, 43, 53, 14}, {44, 62, 53, 14}};
constexpr ControlPlace kOk = {7, 84, 39, 14};
constexpr ControlPlace kCancel = {58, 84, 39, 14};
constexpr ControlPlace kLabels[4] = {{7, 9, 30, 8}, {7, 27, 30, 8}, {7, 45, 30, 8}, {7, 64, 36, 8}};
const char* const kLabelTexts[4] = {QT_TRANSLATE_NOOP("CCoords", "Easting"), QT_TRANSLATE_NOOP("CCoords", "Northing"),
                                    QT_TRANSLATE_NOOP("CCoords", "Height"),
                                    QT_TRANSLATE_NOOP("CCoords", "Declination")};

QRect Place(const DialogBaseUnits& units, const ControlPlace& p) { return DialogRect(units, p.x, p.y, p.width, p.height); }

} // namespace

CCoords::CCoords(double& easting, double& northing, double& height, double& declination, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_callerEasting(easting), m_callerNorthing(northing), m_callerHeight(height), m_callerDeclination(declination),
      m_easting(easting), m_northing(northing), m_height(height), m_declination(declination)
{
    setWindowTitle(tr("Collar coordinates"));
    BuildFromTemplate();
    UpdateData(false);
    m_boxes[0]->setFocus(Qt::OtherFocusReason);
    m_boxes[0]->selectAll();
}

void CCoords::BuildFromTemplate()
{
    const DialogBaseUnits units = BaseUnitsOf(font());
    // Controls in the template's creation order; the tab order is set after.
    for (int i = 0; i < 4; ++i) {
        m_boxes[i] = new QLineEdit(this);
        m_boxes[i]->setObjectName(QString::number(kFirstBox + i));
        m_boxes[i]->setGeometry(Place(units, kBoxes[i]));
    }
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setGeometry(Place(units, kOk));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setGeometry(Place(units, kCancel));
    // A label is at least as wide as its text. Where a label would then reach
    // its box (closer than the template's narrowest gap of one unit), the
    // boxes and Cancel move right and the dialog widens by as much.
    const int boxesLeft = Place(units, kBoxes[0]).left() - MulDiv(1, units.x, 4);
    int widening = 0;
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(tr(kLabelTexts[i]), this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QRect place = Place(units, kLabels[i]);
        place.setWidth(std::max(place.width(), label->sizeHint().width()));
        label->setGeometry(place);
        widening = std::max(widening, place.left() + place.width() - boxesLeft);
    }
    for (QWidget* moved : {static_cast<QWidget*>(m_boxes[0]), static_cast<QWidget*>(m_boxes[1]),
                           static_cast<QWidget*>(m_boxes[2]), static_cast<QWidget*>(m_boxes[3]),
                           static_cast<QWidget*>(m_cancel)})
        moved->move(moved->x() + widening, moved->y());
    for (int i = 0; i < 3; ++i)
        setTabOrder(m_boxes[i], m_boxes[i + 1]);
    setTabOrder(m_boxes[3], m_ok);
    setTabOrder(m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &CCoords::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CCoords::reject);
    setFixedSize(Place(units, kDialogSize).size() + QSize(widening, 0));
}

void CCoords::ShowFromLas(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const DialogBaseUnits units = BaseUnitsOf(font());
    const int margin = MulDiv(7, units.x, 4);
    m_fromLas = new QLabel(tr("From the LAS file:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n'))
                               + QLatin1Char('\n')
                               + tr("The declination is subtracted from the magnetic azimuth."),
                           this);
    const QSize text = m_fromLas->sizeHint();
    m_fromLas->setGeometry(margin, height(), text.width(), text.height());
    setFixedSize(std::max(width(), text.width() + 2 * margin), height() + text.height() + margin);
}

QString CCoords::FromLasText() const { return m_fromLas ? m_fromLas->text() : QString(); }

QLineEdit* CCoords::Box(int id) const
{
    return id >= kFirstBox && id < kFirstBox + 4 ? m_boxes[id - kFirstBox] : nullptr;
}

bool CCoords::UpdateData(bool fromBoxes)
{
    double* members[4] = {&m_easting, &m_northing, &m_height, &m_declination};
    for (int i = 0; i < 4; ++i) {
        if (!fromBoxes) {
            m_boxes[i]->setText(QString::fromStdString(textio::Format("%.*g", 15, *members[i])));
            continue;
        }
        // One number as "%lf" reads it and nothing else but blanks: "1,5"
        // must not pass as 1. An infinite collar would spoil every position.
        double value = 0.0;
        if (textio::ReadWholeNumber(m_boxes[i]->text().toStdString(), value) && std::isfinite(value)) {
            *members[i] = value;
        } else {
            const QString text = tr("Please enter a number.");
            if (m_notice)
                m_notice(text);
            else
                QMessageBox::warning(this, windowTitle(), text);
            m_boxes[i]->setFocus(Qt::OtherFocusReason);
            m_boxes[i]->selectAll();
            return false;
        }
    }
    return true;
}

void CCoords::accept()
{
    if (!UpdateData(true))
        return;
    m_callerEasting = m_easting;
    m_callerNorthing = m_northing;
    m_callerHeight = m_height;
    m_callerDeclination = m_declination;
    QDialog::accept();
}
