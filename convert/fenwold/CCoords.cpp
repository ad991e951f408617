#include "convert/fenwold/CCoords.h"

#include "convert/fenwold/DialogUnits.h"
#include "crs/Site.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "survey/Site.h"
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
// Below the template's boxes, in their column and rhythm: the CRS and the
// date, From model, then the texts; the buttons come last.
constexpr ControlPlace kSiteBoxes[2] = {{44, 80, 53, 14}, {44, 98, 53, 14}};
constexpr ControlPlace kSiteLabels[2] = {{7, 82, 30, 8}, {7, 100, 30, 8}};
const char* const kSiteLabelTexts[2] = {QT_TRANSLATE_NOOP("CCoords", "CRS"), QT_TRANSLATE_NOOP("CCoords", "Date")};
constexpr ControlPlace kFromModel = {44, 116, 53, 14};
constexpr int kTextsTop = 134;
constexpr int kTextsWidth = 200; // the texts' least width: the model's answer in two or three lines
constexpr int kTextGap = 4;    // between the texts
constexpr int kButtonsGap = 8; // as the template leaves above its buttons
constexpr int kMargin = 7;

QRect Place(const DialogBaseUnits& units, const ControlPlace& p) { return DialogRect(units, p.x, p.y, p.width, p.height); }

QString Fixed2(double value)
{
    std::string text;
    textio::AppendFixed(text, 0, 2, value);
    return QString::fromStdString(text);
}

// Keeps "D 3.81° E" and a CRS name's words ("WGS 84") together where the
// text wraps; a name may still break at its " / ".
QString Unbroken(QString text)
{
    const QChar space(0x00A0);
    text.replace(QLatin1Char(' '), space);
    return text.replace(QString(space) + QLatin1Char('/') + space, QStringLiteral(" / "));
}

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
    m_crs = new QLineEdit(this);
    m_crs->setGeometry(Place(units, kSiteBoxes[0]));
    m_crs->setPlaceholderText(QStringLiteral("EPSG:32633"));
    m_date = new QLineEdit(this);
    m_date->setGeometry(Place(units, kSiteBoxes[1]));
    m_date->setPlaceholderText(tr("YYYY-MM-DD"));
    m_fromModel = new QPushButton(tr("From model"), this);
    m_fromModel->setGeometry(Place(units, kFromModel));
    m_fromModel->setAutoDefault(false);
    // A label is at least as wide as its text. Where a label would then reach
    // its box (closer than the template's narrowest gap of one unit), the
    // boxes and Cancel move right and the dialog widens by as much.
    const int boxesLeft = Place(units, kBoxes[0]).left() - MulDiv(1, units.x, 4);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(tr(i < 4 ? kLabelTexts[i] : kSiteLabelTexts[i - 4]), this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QRect place = Place(units, i < 4 ? kLabels[i] : kSiteLabels[i - 4]);
        place.setWidth(std::max(place.width(), label->sizeHint().width()));
        label->setGeometry(place);
        m_widening = std::max(m_widening, place.left() + place.width() - boxesLeft);
    }
    for (QWidget* moved : {static_cast<QWidget*>(m_boxes[0]), static_cast<QWidget*>(m_boxes[1]),
                           static_cast<QWidget*>(m_boxes[2]), static_cast<QWidget*>(m_boxes[3]),
                           static_cast<QWidget*>(m_cancel), static_cast<QWidget*>(m_crs),
                           static_cast<QWidget*>(m_date), static_cast<QWidget*>(m_fromModel)})
        moved->move(moved->x() + m_widening, moved->y());
    for (QLabel** text : {&m_model, &m_rule}) {
        *text = new QLabel(this);
        (*text)->setWordWrap(true);
        (*text)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    m_model->setText(tr("From model: the declination IGRF-14 gives at the collar on the date."));
    m_model->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_rule->setText(tr("The declination is subtracted from the magnetic azimuth."));
    // The template's boxes first, then the site and From model, then the buttons.
    QWidget* order[] = {m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3], m_crs, m_date, m_fromModel, m_ok, m_cancel};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    connect(m_ok, &QPushButton::clicked, this, &CCoords::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CCoords::reject);
    connect(m_fromModel, &QPushButton::clicked, this, &CCoords::FillFromModel);
    LayOutBelowTheBoxes();
}

void CCoords::LayOutBelowTheBoxes()
{
    const DialogBaseUnits units = BaseUnitsOf(font());
    const int margin = MulDiv(kMargin, units.x, 4);
    int width = std::max(Place(units, kDialogSize).width() + m_widening, MulDiv(kTextsWidth, units.x, 4) + 2 * margin);
    if (m_fromLas)
        width = std::max(width, m_fromLas->sizeHint().width() + 2 * margin);
    const int textWidth = width - 2 * margin;
    int y = MulDiv(kTextsTop, units.y, 8);
    for (QLabel* text : {m_model, m_fromLas, m_rule}) {
        if (!text)
            continue;
        if (text != m_model)
            y += MulDiv(kTextGap, units.y, 8);
        const int height = text->wordWrap() ? text->heightForWidth(textWidth) : text->sizeHint().height();
        text->setGeometry(margin, y, textWidth, height);
        y += height;
    }
    y += MulDiv(kButtonsGap, units.y, 8);
    m_ok->move(m_ok->x(), y);
    m_cancel->move(m_cancel->x(), y);
    setFixedSize(width, m_ok->geometry().bottom() + 1 + MulDiv(kMargin, units.y, 8));
}

void CCoords::ShowFromLas(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    m_fromLas = new QLabel(tr("From the LAS file:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n')), this);
    m_fromLas->show();
    LayOutBelowTheBoxes();
}

QString CCoords::FromLasText() const { return m_fromLas ? m_fromLas->text() : QString(); }
QString CCoords::ModelText() const { return m_model->text(); }
QString CCoords::RuleText() const { return m_rule->text(); }

void CCoords::FillFromModel()
{
    auto say = [this](const QString& text) {
        m_model->setText(text);
        LayOutBelowTheBoxes();
    };
    double collar[3] = {};
    for (int i = 0; i < 3; ++i)
        if (!textio::ReadWholeNumber(m_boxes[i]->text().toStdString(), collar[i]) || !std::isfinite(collar[i]))
            return say(tr("The %1 is not a number.").arg(tr(kLabelTexts[i]).toLower()));
    survey::Site site;
    site.model = geomag::ModelId::Igrf14;
    site.epsg = crs::ParseEpsg(m_crs->text().toStdString());
    if (!site.epsg)
        return say(m_crs->text().trimmed().isEmpty() ? tr("Type the collar's CRS as EPSG:N.")
                                                     : tr("The CRS is not of the form EPSG:N."));
    site.date = geomag::ParseDate(m_date->text().trimmed().toStdString());
    if (!site.date)
        return say(m_date->text().trimmed().isEmpty() ? tr("Type the survey's date as YYYY-MM-DD.")
                                                      : tr("The date is not a day as YYYY-MM-DD."));
    const survey::SiteReference reference = survey::ReferenceAt(site, collar[0], collar[1], collar[2]);
    const std::optional<double> declination = reference.SurveyDeclination();
    if (!declination) {
        QString problem = QString::fromStdString(reference.problem);
        return say(problem.endsWith(QLatin1Char('.')) ? problem : problem + QLatin1Char('.'));
    }
    m_boxes[3]->setText(Fixed2(*declination));
    QString crsName = QString::fromStdString(reference.place->crsName);
    crsName = crsName.isEmpty() ? QString::fromStdString(crs::FormatEpsg(*site.epsg)) : crsName;
    say(tr("%1, %2: %3, convergence\u00A0%4\u00B0 (%5); declination\u00A0=\u00A0convergence\u00A0\u2212\u00A0D")
            .arg(QString::fromStdString(geomag::BuiltInModel(site.model).name),
                 QString::fromStdString(geomag::ToText(*site.date)),
                 Unbroken(QString::fromStdString(survey::EastWestText(reference.field->declinationDegrees))),
                 Fixed2(reference.place->convergence), Unbroken(crsName)));
}

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
