#include "views/CQcView.h"

#include "geomag/BuiltInModels.h"
#include "survey/KestrixDoc.h"
#include "survey/SpikeFinder.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "views/ReadingText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

using namespace survey;

namespace {

// Logical units: each band is kBandUnits high, with kGapUnits between bands.
constexpr std::int32_t kBandUnits = 10000;
constexpr std::int32_t kGapUnits = 1500;
constexpr std::int32_t kTop = CQcView::kBands * kBandUnits + (CQcView::kBands - 1) * kGapUnits;
constexpr std::int32_t kNotDrawn = kNoLevel; // a NaN breaks the band's curve
// Each scale reaches this share of its span beyond the values it spans.
constexpr double kScalePadding = 0.05;
constexpr int kFlagHalfSize = 4; // pixels from a flagged point to its square's edge

const QColor kBandColours[CQcView::kBands] = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 0, 255)};
const QColor kFlagColour(255, 128, 0);
const QColor kReferenceColour(128, 0, 128);
const char* const kBandNames[CQcView::kBands] = {QT_TRANSLATE_NOOP("CQcView", "B (nT)"), QT_TRANSLATE_NOOP("CQcView", "G"),
                                                 QT_TRANSLATE_NOOP("CQcView", "Dip (deg)")};
// The reference joins a band's scale while the two together span at most
// this many times what the readings alone would: an offset of a few spans
// shows, a far one does not flatten the readings (and is not drawn: the
// band's name says where it lies).
constexpr double kReferenceReach = 4.0;
constexpr std::uint8_t kBandFlags[CQcView::kBands] = {kFieldSpike, kGravitySpike, kDipSpike};

double Quantity(const QualityValues& values, int band)
{
    return band == CQcView::FieldBand ? values.totalField
           : band == CQcView::GravityBand ? values.totalGravity
                                          : values.dip;
}

std::int32_t BandBottom(int band) { return (CQcView::kBands - 1 - band) * (kBandUnits + kGapUnits); }

// The narrowest span a band's scale shows: twice the spike finder's floor, so
// a smooth survey is not blown up into its rounding noise.
double MinimumSpan(int band, const SpikeSettings& settings, double medianGravity)
{
    const double floor = band == CQcView::FieldBand     ? settings.fieldFloor
                         : band == CQcView::GravityBand ? settings.gravityFloor * medianGravity
                                                        : settings.dipFloor;
    return std::isfinite(floor) && floor > 0.0 ? 2.0 * floor : 0.0;
}

// The finite values of `band` in `values` (those of `shown`), lowest and
// highest; low > high without any.
std::pair<double, double> RangeOf(const std::vector<QualityValues>& values, int band, ReadingRange shown)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto end = std::min(static_cast<std::size_t>(std::max(shown.end, 0)), values.size());
    for (std::size_t i = static_cast<std::size_t>(std::max(shown.first, 0)); i < end; ++i) {
        const double value = Quantity(values[i], band);
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    return {low, high};
}

// The scale of one band: the finite values of the unflagged readings of
// `shown` (of all of them when every one is flagged), widened to
// `minimumSpan`, to take in the reference where it lies near them, and padded.
CQcView::Scale ScaleOf(const std::vector<QualityValues>& values, const std::vector<std::uint8_t>& flags, int band,
                       double minimumSpan, const std::vector<QualityValues>& reference, ReadingRange shown)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto end = std::min(static_cast<std::size_t>(std::max(shown.end, 0)), values.size());
    for (bool anyReading : {false, true}) {
        for (std::size_t i = static_cast<std::size_t>(std::max(shown.first, 0)); i < end; ++i) {
            const double v = Quantity(values[i], band);
            if (std::isfinite(v) && (anyReading || !(flags[i] & kBandFlags[band]))) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        if (low <= high)
            break;
    }
    if (!(low <= high))
        return {};
    if (const auto [refLow, refHigh] = RangeOf(reference, band, shown); refLow <= refHigh) {
        const double joinedLow = std::min(low, refLow);
        const double joinedHigh = std::max(high, refHigh);
        if (joinedHigh - joinedLow <= kReferenceReach * std::max(high - low, minimumSpan))
            std::tie(low, high) = std::pair(joinedLow, joinedHigh);
    }
    const double middle = std::midpoint(low, high);
    const double span = std::max({high - low, minimumSpan, 1e-9 * std::max(1.0, std::abs(middle))});
    const double padded = span * (1.0 + 2.0 * kScalePadding);
    const int decimals = std::clamp(1 - static_cast<int>(std::floor(std::log10(padded))), 0, 6);
    return {middle - padded / 2.0, middle + padded / 2.0, decimals};
}

} // namespace

CQcView::CQcView(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotFrame(survey, services, link, parent)
{
}

QString CQcView::Title() const
{
    if (m_reference.empty())
        return tr("Quality control - B:red G:green dip:blue, %1 flagged readings").arg(m_flagged);
    return tr("Quality control - B:red G:green dip:blue, %1:purple dashed, %2 flagged readings")
        .arg(m_modelName)
        .arg(m_flagged);
}

bool CQcView::BeginPaint()
{
    const CKestrixDoc& doc = Doc();
    const SpikeSettings& settings = Link().Spikes();
    const SurveyStamp stamp = SurveyStamp::Of(doc);
    const bool surveyChanged = stamp != m_valuesStamp || settings != m_valuesSettings;
    if (surveyChanged) {
        WorkOutValues(settings);
        m_valuesStamp = stamp;
        m_valuesSettings = settings;
    }
    const ReadingRange shown = FitsValues() ? ShownReadings() : ReadingRange{0, doc.m_nObs};
    if (surveyChanged || shown.first != m_fittedShown.first || shown.end != m_fittedShown.end) {
        for (int band = 0; band < kBands; ++band) {
            const auto b = static_cast<std::size_t>(band);
            m_fitted[b] = ScaleOf(m_values, m_flags, band, MinimumSpan(band, settings, m_medianGravity), m_reference, shown);
            m_referenceRange[b] = RangeOf(m_reference, band, shown);
        }
        m_fittedShown = shown;
    }
    const ValueZoom zoom = ValueAxisZoom();
    for (int band = 0; band < kBands; ++band) {
        const auto b = static_cast<std::size_t>(band);
        m_scales[b] = m_fitted[b];
        if (!zoom.IsWhole()) {
            const ValueSpan zoomed = zoom.Apply({m_scales[b].low, m_scales[b].high});
            m_scales[b].low = zoomed.low;
            m_scales[b].high = zoomed.high;
        }
        const auto [low, high] = m_referenceRange[b];
        m_referenceBeyond[b].reset();
        if (low <= high && (high > m_scales[b].high || low < m_scales[b].low))
            m_referenceBeyond[b] = high > m_scales[b].high ? high : low;
    }
    return true;
}

void CQcView::WorkOutValues(const SpikeSettings& settings)
{
    const CKestrixDoc& doc = Doc();
    // The recalculation's quality values are each reading's QualityOf; a
    // survey not calculated (a failed load) has them worked out here.
    if (doc.IsComputed()) {
        m_values.assign(doc.m_QualityValues.begin(), doc.m_QualityValues.end());
    } else {
        m_values.resize(static_cast<std::size_t>(std::max(doc.m_nObs, 0)));
        for (std::size_t i = 0; i < m_values.size(); ++i)
            m_values[i] = QualityOf(doc.m_pObs[i]);
    }
    // Readings only taken out or put back since the last values leave the
    // spike finder the windows about them to work out.
    const CKestrixDoc::TableSplice* splice = doc.SpliceSince(m_valuesStamp.revision);
    const bool follows = doc.IsComputed() && splice && settings == m_valuesSettings;
    const SpikeTracker::Splice spliced = follows ? SpikeTracker::Splice{splice->restored, splice->indices} : SpikeTracker::Splice{};
    m_flags = m_spikes.Update(m_values, settings, follows ? &spliced : nullptr);
    m_flagged = static_cast<int>(m_spikes.Flagged());
    m_medianGravity = m_spikes.MedianGravity();
    // The model's field along the hole and normal gravity, as the last
    // recalculation left them for these readings.
    m_reference.clear();
    m_gravityUnit = GravityUnit::Unknown;
    if (doc.m_reference.IsKnown() && doc.m_reference.readings.size() == m_values.size()) {
        for (const ReferenceReading& r : doc.m_reference.readings)
            m_reference.push_back({r.totalNt, doc.m_reference.gravity, r.inclinationDegrees});
        m_gravityUnit = doc.m_reference.gravityUnit;
        m_modelName = QString::fromStdString(geomag::BuiltInModel(doc.m_site.model).name);
    }
}

void CQcView::SetupVerticalRange()
{
    m_nYMin = 0;
    m_nYMax = kTop;
}

std::int32_t CQcView::BandY(Band band, double value) const
{
    if (std::isnan(value))
        return kNotDrawn;
    const Scale& scale = BandScale(band);
    const double share = std::clamp((value - scale.low) / (scale.high - scale.low), 0.0, 1.0);
    // As std::lround for the non-negative units, without the library call:
    // every reading of every band goes through here when the curves are drawn anew.
    const double units = share * kBandUnits;
    auto rounded = static_cast<std::int32_t>(units);
    if (units - rounded >= 0.5)
        ++rounded;
    return BandBottom(band) + rounded;
}

std::int32_t CQcView::PickY(const Observation& obs, int k) const
{
    return BandY(static_cast<Band>(k), Quantity(QualityOf(obs), k));
}

double CQcView::ValueFraction(QPoint mouse) const
{
    const std::int32_t y = Mapping().DPtoLP({mouse.x(), mouse.y()}).y;
    // The band whose middle lies nearest.
    int band = 0;
    for (int b = 1; b < kBands; ++b) {
        if (std::abs(std::int64_t{y} - BandBottom(b) - kBandUnits / 2)
            < std::abs(std::int64_t{y} - BandBottom(band) - kBandUnits / 2))
            band = b;
    }
    return std::clamp(static_cast<double>(y - BandBottom(band)) / kBandUnits, 0.0, 1.0);
}

QString CQcView::ReadingValues(std::int32_t index) const
{
    const QualityValues v = QualityOf(Doc().m_pObs[index]);
    const QString gravityUnit = m_gravityUnit == GravityUnit::G                        ? tr(" g")
                                : m_gravityUnit == GravityUnit::MetresPerSecondSquared ? tr(" m/s\u00b2")
                                                                                       : QString();
    return tr("B %1, G %2%3, dip %4")
        .arg(Plain(v.totalField, 1) + tr(" nT"), Plain(v.totalGravity, 5), gravityUnit, Degrees(v.dip));
}

// Round values within each band, or each band's low value on its bottom
// edge and high value below its top edge.
std::vector<PlotFrame::ValueLabel> CQcView::ValueLabels() const
{
    std::vector<ValueLabel> labels;
    for (int band = 0; band < kBands; ++band) {
        const Scale& scale = BandScale(static_cast<Band>(band));
        if (HasRoundValueLabels()) {
            const std::vector<ValueLabel> round =
                RoundLabels({scale.low, scale.high}, BandBottom(band), BandBottom(band) + kBandUnits);
            labels.insert(labels.end(), round.begin(), round.end());
            continue;
        }
        const auto text = [&](double v) { return QString::fromStdString(textio::Format("%.*lf", scale.decimals, v)); };
        labels.push_back({BandBottom(band), text(scale.low)});
        labels.push_back({BandBottom(band) + kBandUnits, text(scale.high), Anchor::RightTop});
    }
    return labels;
}

void CQcView::DrawCurves(QPainter& painter)
{
    // A NaN value breaks a reading's curve; the reference's line passes over it.
    const auto levels = [this](const std::vector<QualityValues>& values) {
        return [this, &values](std::int32_t i, int band) {
            const auto at = static_cast<std::size_t>(i);
            return at < values.size() ? BandY(static_cast<Band>(band), Quantity(values[at], band)) : kNotDrawn;
        };
    };
    // The curves are kept for the bands' scales they were drawn on, the
    // readings' three in one pass and the reference's in another.
    std::vector<double> scales;
    for (const Scale& scale : m_scales)
        scales.insert(scales.end(), {scale.low, scale.high});
    for (int band = 0; band < kBands; ++band) {
        painter.setPen(ThinPen(kBandColours[band]));
        DrawKeptCurve(painter, 0, kBands, band, scales, levels(m_values));
    }
    if (m_reference.empty())
        return;
    QPen dashed = ThinPen(kReferenceColour);
    dashed.setStyle(Qt::DashLine);
    painter.setPen(dashed);
    for (int band = 0; band < kBands; ++band) {
        if (!m_referenceBeyond[static_cast<std::size_t>(band)])
            DrawKeptCurve(painter, 1, kBands, band, scales, levels(m_reference), Gaps::Join);
    }
}

// The flag squares, then each band's name in its top-left corner.
void CQcView::DrawOverlays(QPainter& painter)
{
    const CKestrixDoc& doc = Doc();
    painter.setPen(ThinPen(kFlagColour));
    // Every flagged reading keeps its square, however many share its pixel;
    // only those whose square reaches into the frame are looked at.
    const QPoint left = ToDevice(m_nXMin, 0);
    const QPoint right = ToDevice(m_nXMax, 0);
    const IndexRange near = ReadingsInColumns(left.x() - kFlagHalfSize, right.x() + kFlagHalfSize);
    const std::size_t count = std::min(m_flags.size(), static_cast<std::size_t>(std::max(0, near.end)));
    for (auto i = static_cast<std::size_t>(near.begin); i < count; ++i) {
        for (int band = 0; band < kBands && m_flags[i]; ++band) {
            if (!(m_flags[i] & kBandFlags[band]))
                continue;
            const std::int32_t y = BandY(static_cast<Band>(band), Quantity(m_values[i], band));
            if (y == kNotDrawn)
                continue;
            const QPoint p = ToDevice(Scaled(doc.m_pObs[i].Depth), y);
            painter.drawRect(QRect(p - QPoint(kFlagHalfSize, kFlagHalfSize), QSize(2 * kFlagHalfSize, 2 * kFlagHalfSize)));
        }
    }
    for (int band = 0; band < kBands; ++band)
        DrawTextAt(painter, ToDevice(m_nXMin, BandBottom(band) + kBandUnits) + QPoint(3, 2), Anchor::LeftTop,
                   BandName(band));
}

PlotKey CQcView::Key() const
{
    std::vector<PlotKey::Entry> legend;
    for (int band = 0; band < kBands; ++band)
        legend.push_back({BandName(band), kBandColours[band]});
    legend.push_back({tr("flagged"), kFlagColour});
    if (!m_reference.empty())
        legend.push_back({m_modelName, kReferenceColour});
    return PlotKey::DepthPlot(tr("Each band on its own scale"), std::move(legend));
}

// The gravity band names the accelerometer's units where the reference
// knows them; a band whose reference lies beyond its scale says where.
QString CQcView::BandName(int band) const
{
    QString name = tr(kBandNames[band]);
    if (band == GravityBand && m_gravityUnit == GravityUnit::G)
        name = tr("G (g)");
    else if (band == GravityBand && m_gravityUnit == GravityUnit::MetresPerSecondSquared)
        name = tr("G (m/s\u00b2)");
    const Scale& scale = m_scales[static_cast<std::size_t>(band)];
    const std::optional<double>& beyond = m_referenceBeyond[static_cast<std::size_t>(band)];
    if (!beyond)
        return name;
    const QString value = QString::fromStdString(textio::Format("%.*lf", scale.decimals, *beyond));
    return *beyond > scale.high ? tr("%1, reference %2 above").arg(name, value)
                               : tr("%1, reference %2 below").arg(name, value);
}

// The edges of the bands inside the frame.
void CQcView::DrawLevelLine(QPainter& painter)
{
    for (int band = 0; band < kBands; ++band) {
        const std::int32_t bottom = BandBottom(band);
        if (bottom > m_nYMin)
            LineLP(painter, m_nXMin, bottom, m_nXMax, bottom);
        if (bottom + kBandUnits < m_nYMax)
            LineLP(painter, m_nXMin, bottom + kBandUnits, m_nXMax, bottom + kBandUnits);
    }
}
