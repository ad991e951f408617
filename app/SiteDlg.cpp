#include "app/SiteDlg.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

using namespace survey;

namespace {

enum Where { kNowhere, kGrid, kLocalGrid };
enum Declination { kFile, kModel, kTyped };

QString Text(const std::string& text) { return QString::fromStdString(text); }

// One number and nothing else, in any locale; nothing for other text.
std::optional<double> NumberIn(const QLineEdit* box)
{
    double value = 0;
    if (!textio::ReadWholeNumber(box->text().toStdString(), value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString NumberText(double value) { return Text(textio::Format("%.15g", value)); }

// `value` with `decimals` decimals, never "-0.00".
QString Fixed(double value, int decimals)
{
    std::string text;
    textio::AppendFixed(text, 0, decimals, value);
    return Text(text);
}

QLabel* LabelFor(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

QRadioButton* AddChoice(QButtonGroup* group, int id, const QString& label, QWidget* parent)
{
    auto* button = new QRadioButton(label, parent);
    group->addButton(button, id);
    return button;
}

} // namespace

CSiteDlg::CSiteDlg(const CKestrixDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(tr("Site"));
    auto* layout = new QVBoxLayout(this);

    auto* whereBox = new QGroupBox(tr("Where"), this);
    auto* whereGrid = new QGridLayout(whereBox);
    m_where = new QButtonGroup(this);
    m_crs = new QLineEdit(whereBox);
    m_crs->setPlaceholderText(QStringLiteral("EPSG:32633"));
    m_latitude = new QLineEdit(whereBox);
    m_longitude = new QLineEdit(whereBox);
    m_convergence = new QLineEdit(whereBox);
    whereGrid->addWidget(AddChoice(m_where, kNowhere, tr("&Not set"), whereBox), 0, 0, 1, 4);
    whereGrid->addWidget(AddChoice(m_where, kGrid, tr("&Projected grid:"), whereBox), 1, 0);
    whereGrid->addWidget(m_crs, 1, 1, 1, 3);
    whereGrid->addWidget(AddChoice(m_where, kLocalGrid, tr("&Local grid:"), whereBox), 2, 0);
    whereGrid->addWidget(LabelFor(tr("l&atitude"), m_latitude), 2, 1);
    whereGrid->addWidget(m_latitude, 2, 2);
    whereGrid->addWidget(LabelFor(tr("l&ongitude"), m_longitude), 3, 1);
    whereGrid->addWidget(m_longitude, 3, 2);
    whereGrid->addWidget(LabelFor(tr("&convergence"), m_convergence), 4, 1);
    whereGrid->addWidget(m_convergence, 4, 2);
    auto* gridNote = new QLabel(tr("Convergence: the angle from true north to grid north, positive when grid north "
                                   "lies east of true north. Latitude and longitude in degrees, north and east "
                                   "positive."),
                                whereBox);
    gridNote->setWordWrap(true);
    whereGrid->addWidget(gridNote, 5, 0, 1, 4);
    layout->addWidget(whereBox);

    auto* whenBox = new QGroupBox(tr("When"), this);
    auto* whenGrid = new QGridLayout(whenBox);
    m_date = new QLineEdit(whenBox);
    m_date->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    m_model = new QComboBox(whenBox);
    for (const geomag::ModelId id : {geomag::ModelId::Igrf14, geomag::ModelId::Wmm2025})
        m_model->addItem(Text(geomag::BuiltInModel(id).name), static_cast<int>(id));
    whenGrid->addWidget(LabelFor(tr("&Date:"), m_date), 0, 0);
    whenGrid->addWidget(m_date, 0, 1);
    whenGrid->addWidget(LabelFor(tr("&Model:"), m_model), 0, 2);
    whenGrid->addWidget(m_model, 0, 3);
    layout->addWidget(whenBox);

    auto* declinationBox = new QGroupBox(tr("Declination for the positions"), this);
    auto* declinationGrid = new QGridLayout(declinationBox);
    m_declination = new QButtonGroup(this);
    m_typed = new QLineEdit(declinationBox);
    declinationGrid->addWidget(
        AddChoice(m_declination, kFile,
                  tr("The raw survey file's: %1").arg(Fixed(doc.m_dDeclination, 2)),
                  declinationBox),
        0, 0, 1, 2);
    declinationGrid->addWidget(AddChoice(m_declination, kModel, tr("The model's: convergence less D"), declinationBox),
                               1, 0, 1, 2);
    declinationGrid->addWidget(AddChoice(m_declination, kTyped, tr("&Typed:"), declinationBox), 2, 0);
    declinationGrid->addWidget(m_typed, 2, 1);
    declinationGrid->addWidget(
        new QLabel(tr("The declination is subtracted from the magnetic azimuth: a declination D east on a grid of "
                      "convergence 0 enters as -D."),
                   declinationBox),
        3, 0, 1, 2);
    layout->addWidget(declinationBox);

    m_reference = new QLabel(this);
    m_reference->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reference->setMinimumHeight(m_reference->fontMetrics().lineSpacing() * 5);
    m_reference->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_reference);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_useModel = buttons->addButton(tr("&Use Model Declination"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_useModel, &QPushButton::clicked, this, [this] {
        m_declination->button(kModel)->setChecked(true);
        Update();
        if (m_ok->isEnabled())
            accept();
    });
    layout->addWidget(buttons);

    Show(doc.m_site);
    for (QLineEdit* box : {m_crs, m_latitude, m_longitude, m_convergence, m_date, m_typed})
        connect(box, &QLineEdit::textChanged, this, &CSiteDlg::Update);
    connect(m_model, &QComboBox::currentIndexChanged, this, &CSiteDlg::Update);
    // A choice that needs a value takes the typing at once.
    connect(m_where, &QButtonGroup::idClicked, this, [this](int id) {
        Update();
        if (id != kNowhere)
            (id == kGrid ? m_crs : m_latitude)->setFocus();
    });
    connect(m_declination, &QButtonGroup::idClicked, this, [this](int id) {
        Update();
        if (id == kTyped)
            m_typed->setFocus();
    });
    Update();
}

void CSiteDlg::Show(const Site& site)
{
    m_where->button(site.epsg ? kGrid : site.location ? kLocalGrid : kNowhere)->setChecked(true);
    if (site.epsg)
        m_crs->setText(Text(crs::FormatEpsg(*site.epsg)));
    if (site.location) {
        m_latitude->setText(NumberText(site.location->latitude));
        m_longitude->setText(NumberText(site.location->longitude));
        m_convergence->setText(NumberText(site.location->convergence));
    }
    if (site.date)
        m_date->setText(Text(geomag::ToText(*site.date)));
    m_model->setCurrentIndex(m_model->findData(static_cast<int>(site.model)));
    const int declination = site.declinationFrom == Site::DeclinationFrom::Model   ? kModel
                          : site.declinationFrom == Site::DeclinationFrom::Typed ? kTyped
                                                                                 : kFile;
    m_declination->button(declination)->setChecked(true);
    m_typed->setText(NumberText(site.declinationFrom == Site::DeclinationFrom::Typed ? site.typedDeclination
                                                                                     : m_doc.m_dDeclination));
}

std::optional<Site> CSiteDlg::ChosenSite() const
{
    Site site;
    switch (m_where->checkedId()) {
    case kGrid:
        site.epsg = crs::ParseEpsg(m_crs->text().toStdString());
        if (!site.epsg)
            return std::nullopt;
        break;
    case kLocalGrid: {
        const auto latitude = NumberIn(m_latitude), longitude = NumberIn(m_longitude),
                   convergence = NumberIn(m_convergence);
        if (!latitude || !longitude || !convergence)
            return std::nullopt;
        site.location = Site::Location{*latitude, *longitude, *convergence};
        break;
    }
    default:
        break;
    }
    if (!m_date->text().trimmed().isEmpty()) {
        site.date = geomag::ParseDate(m_date->text().trimmed().toStdString());
        if (!site.date)
            return std::nullopt;
    }
    site.model = static_cast<geomag::ModelId>(m_model->currentData().toInt());
    switch (m_declination->checkedId()) {
    case kModel:
        site.declinationFrom = Site::DeclinationFrom::Model;
        break;
    case kTyped: {
        const std::optional<double> typed = NumberIn(m_typed);
        if (!typed)
            return std::nullopt;
        site.declinationFrom = Site::DeclinationFrom::Typed;
        site.typedDeclination = *typed;
        break;
    }
    default:
        break;
    }
    return site;
}

QString CSiteDlg::ReferenceText() const { return m_reference->text(); }

void CSiteDlg::Update()
{
    const bool grid = m_where->checkedId() == kGrid, local = m_where->checkedId() == kLocalGrid;
    m_crs->setEnabled(grid);
    for (QLineEdit* box : {m_latitude, m_longitude, m_convergence})
        box->setEnabled(local);
    m_typed->setEnabled(m_declination->checkedId() == kTyped);

    const std::optional<Site> site = ChosenSite();
    if (!site) {
        m_reference->setText(tr("Give the EPSG code as EPSG:N, the date as YYYY-MM-DD and every other value as a "
                                "number."));
        m_ok->setEnabled(false);
        m_useModel->setEnabled(false);
        return;
    }
    const SiteReference reference = ReferenceAt(*site, m_doc.m_dEasting, m_doc.m_dNorthing, m_doc.m_dHeight);
    QStringList lines;
    if (const std::optional<crs::Site>& place = reference.place) {
        lines << tr("At the collar: latitude %1, longitude %2%3")
                     .arg(Fixed(place->latitude, 6), Fixed(place->longitude, 6),
                          place->crsName.empty() ? QString() : QStringLiteral(" (%1)").arg(Text(place->crsName)));
        lines << tr("Convergence %1").arg(Fixed(place->convergence, 4));
    }
    if (const std::optional<geomag::MagneticField>& field = reference.field) {
        lines << tr("%1 on %2: %3, I %4, F %5 nT, H %6 nT, Z %7 nT")
                     .arg(Text(geomag::BuiltInModel(site->model).name), Text(geomag::ToText(*site->date)),
                          Text(EastWestText(field->declinationDegrees)),
                          Fixed(field->inclinationDegrees, 2),
                          Fixed(field->totalNt, 1),
                          Fixed(field->horizontalNt, 1),
                          Fixed(field->downNt, 1));
        lines << tr("Survey declination, convergence less D: %1")
                     .arg(Fixed(*reference.SurveyDeclination(), 2));
    }
    if (!reference.problem.empty() && !site->IsEmpty())
        lines << Text(reference.problem);
    m_reference->setText(lines.join(QLatin1Char('\n')));
    const bool modelGives = reference.SurveyDeclination().has_value();
    m_useModel->setEnabled(modelGives);
    m_ok->setEnabled(site->declinationFrom != Site::DeclinationFrom::Model || modelGives);
}
