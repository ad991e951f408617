#include "views/CSectionView.h"

#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"

#include <QContextMenuEvent>
#include <QInputDialog>
#include <QMenu>

#include <cmath>

using namespace survey;

namespace {

// A collar-to-bottom offset below this (metres) has no direction.
constexpr double kVertical = 0.001;

// `degrees` brought into [0, 360).
double FullCircle(double degrees)
{
    const double a = std::fmod(degrees, 360.0);
    return a < 0 ? a + 360.0 : a;
}

} // namespace

CSectionView::CSectionView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PathFrame(survey, services, link, parent)
{
}

double CSectionView::DefaultAzimuth(const CKestrixDoc& doc)
{
    if (doc.m_nObs <= 0)
        return 0.0;
    const Observation* deepest = &doc.m_pObs[0];
    for (std::int32_t i = 1; i < doc.m_nObs; ++i) {
        if (doc.m_pObs[i].Depth > deepest->Depth)
            deepest = &doc.m_pObs[i];
    }
    const double east = deepest->East - doc.m_dEasting;
    const double north = deepest->North - doc.m_dNorthing;
    if (!(std::hypot(east, north) >= kVertical))
        return 0.0;
    return FullCircle(std::atan2(east, north) / kDegToRad);
}

void CSectionView::BeginMapping()
{
    m_azimuth = FullCircle(Link().SectionAzimuth().value_or(DefaultAzimuth(Doc())));
    m_east = std::sin(m_azimuth * kDegToRad);
    m_north = std::cos(m_azimuth * kDegToRad);
}

// To a tenth of a degree, 359.96 showing as 0.0.
QString CSectionView::AzimuthText() const
{
    const double tenths = std::round(m_azimuth * 10.0);
    return QString::fromStdString(textio::Format("%.1f", tenths >= 3600.0 ? 0.0 : tenths / 10.0)) + QChar(0x00B0);
}

QString CSectionView::Title() const { return tr("Section along %1").arg(AzimuthText()); }

QString CSectionView::HorizontalAxisName() const { return tr("From the collar along %1 (m)").arg(AzimuthText()); }

QString CSectionView::VerticalAxisName() const { return tr("Height (m)"); }

QPointF CSectionView::Project(const Observation& obs) const
{
    return QPointF((obs.East - Doc().m_dEasting) * m_east + (obs.North - Doc().m_dNorthing) * m_north, obs.Height);
}

QPointF CSectionView::Collar() const { return QPointF(0.0, Doc().m_dHeight); }

void CSectionView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* choose = menu.addAction(tr("Section &Azimuth..."));
    QAction* deepest = menu.addAction(tr("&Toward the Deepest Reading"));
    deepest->setEnabled(Link().SectionAzimuth().has_value());
    const QAction* chosen = menu.exec(event->globalPos());
    if (chosen == deepest) {
        Link().SetSectionAzimuth(std::nullopt);
    } else if (chosen == choose) {
        bool ok = false;
        const double azimuth = QInputDialog::getDouble(this, tr("Section Azimuth"),
                                                       tr("Grid azimuth of the section, degrees from north:"),
                                                       m_azimuth, 0.0, 360.0, 1, &ok);
        if (ok)
            Link().SetSectionAzimuth(FullCircle(azimuth));
    }
}
