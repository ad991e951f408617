#include "views/PlotFrame.h"

#include "views/SurveyEditor.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"
#include "views/PlotLink.h"
#include "textio/VectorState.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace survey;

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// In degrees: the centred range reaches kHalfRange either side of a centre
// that is a multiple of kGridStep, and the grid has a line every kGridStep
// out to kGridReach from the centre.
constexpr double kHalfRange = 90.0;
constexpr int kGridStep = 10;
constexpr int kGridReach = 80;
const QColor kGridGrey(196, 196, 196);
const QColor kMarkerColour(255, 0, 255);

// Zoomed in, depth labels carry centimetres below this window length (10 m).
constexpr std::int64_t kCentimetreLabelsBelow = 1000;
// Ticks on the frame's bottom and left edges at the round values, in pixels.
constexpr int kTickLength = 5;
// Round value labels keep this many line heights between their levels.
constexpr int kValueLabelLines = 2;

} // namespace

PlotFrame::PlotFrame(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent)
    : PlotView(survey, services, link, parent)
{
    setFocusPolicy(Qt::StrongFocus); // the arrow, Home and Delete keys
}

PlotFrame::~PlotFrame() = default;

void PlotFrame::OnDraw(QPainter& painter)
{
    SetupHorizontalRange();
    if (!BeginPaint())
        return;

    painter.fillRect(rect(), Qt::white);
    painter.setPen(ThinPen(Qt::black));
    DrawTextAt(painter, QPoint(0, 0), Anchor::LeftTop, Title());

    m_framed = SetupMapping();
    if (!m_framed)
        return; // no observations, one depth, no vertical range or no room: title only

    DrawValueLabels(painter);
    DrawDepthLabels(painter);
    painter.save();
    if (m_zoomed)
        painter.setClipRect(ShownColumns());
    // Lines across the frame first: a trace on a grid or level line shows.
    DrawGrid(painter);
    painter.setPen(ThinPen(Qt::black));
    DrawLevelLine(painter);
    DrawCurves(painter);
    DrawOverlays(painter);
    DrawMarker(painter);
    painter.restore();
    DrawFrame(painter);
}

void PlotFrame::SetupHorizontalRange()
{
    const CKestrixDoc& doc = Doc();
    if (doc.m_nObs <= 0) {
        m_nXMin = m_nXMax = 0;
        m_wholeHole = {0, 0};
        m_zoomed = false;
        return;
    }
    m_wholeHole = WholeHole();
    const DepthSpan shown = Link().Window().Shown(m_wholeHole);
    m_zoomed = shown != m_wholeHole;
    m_nXMin = shown.from;
    m_nXMax = shown.to;
}

bool PlotFrame::SetupMapping()
{
    SetupHorizontalRange();
    SetupVerticalRange();
    ApplyValueZoom();
    m_nMargin = MarginForLabels();
    const std::int32_t m = m_nMargin;
    const std::int32_t w = width();
    const std::int32_t h = height();
    const std::int32_t inner_w = std::max<std::int32_t>(0, w - 2 * m);
    const std::int32_t inner_h = std::max<std::int32_t>(0, h - 2 * m);
    m_mapping.SetWindow(m_nXMin, m_nYMin, std::int64_t{m_nXMax} - m_nXMin, std::int64_t{m_nYMax} - m_nYMin);
    m_mapping.SetViewport(m, h - m, inner_w, -inner_h);
    m_framed = Doc().m_nObs > 0 && m_nXMax != m_nXMin && m_nYMax > m_nYMin && inner_w > 0 && inner_h > 0;
    EnsureSamples();
    return m_framed;
}

void PlotFrame::GatherSamples()
{
    GatherReadings(0, [](std::int32_t, const Observation&, double*) {});
}

void PlotFrame::EnsureSamples()
{
    const SurveyStamp stamp = SurveyStamp::Of(Doc());
    const std::uint64_t variant = SamplesVariant();
    if (stamp == m_samplesStamp && variant == m_samplesVariant && m_samplesGeneration != 0)
        return;
    const CKestrixDoc& doc = Doc();
    if (m_samplesGeneration != 0 && variant == m_samplesVariant && SamplesKeptWithOrientation()
        && doc.OrientationKeptSince(m_samplesStamp.revision) && m_samplesStamp.count == stamp.count && m_samplesStamp.table == stamp.table) {
        // Nothing they hold moved: the samples, and all kept from them, stay.
        m_samplesStamp = stamp;
        return;
    }
    textio::ReleaseWideVectorRegisters();
    // Samples of the revision just before one that only took readings out
    // or put them back follow the table; any other change gathers anew.
    const bool follows = m_samplesGeneration != 0 && variant == m_samplesVariant && SamplesFollowSplices();
    m_splice = follows ? doc.SpliceSince(m_samplesStamp.revision) : nullptr;
    GatherSamples();
    m_splice = nullptr;
    m_samplesStamp = stamp;
    m_samplesVariant = variant;
    ++m_samplesGeneration;
}

const PlotSamples& PlotFrame::Samples()
{
    EnsureSamples();
    return m_samples;
}

std::int32_t PlotFrame::MarginForLabels() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const ValueLabel& label : ValueLabels())
        widest = std::max(widest, TextCellWidth(metrics, label.text));
    // A label ends one pixel left of the frame, so a margin of its width holds it.
    return std::clamp<std::int32_t>(widest, kMargin, std::max(kMargin, width() / 4));
}

std::vector<PlotFrame::ValueLabel> PlotFrame::ValueLabels() const
{
    const double scale = Doc().m_dScale;
    if (HasRoundValueLabels())
        return RoundLabels({m_nYMin / scale, m_nYMax / scale}, m_nYMin, m_nYMax);
    const std::int32_t middle = static_cast<std::int32_t>((std::int64_t{m_nYMin} + m_nYMax) / 2);
    std::vector<ValueLabel> labels;
    for (std::int32_t y : {m_nYMin, middle, m_nYMax})
        labels.push_back({y, FromStd(textio::Format("%.0lf", y / scale))});
    return labels;
}

void PlotFrame::DrawValueLabels(QPainter& painter)
{
    const bool ticks = HasRoundValueLabels();
    painter.setPen(ThinPen(Qt::black));
    for (const ValueLabel& label : ValueLabels()) {
        const QPoint at = ToDevice(m_nXMin, label.y);
        DrawTextAt(painter, at, label.anchor, label.text);
        if (ticks)
            painter.drawLine(at, at + QPoint(kTickLength, 0));
    }
}

// The two ends and the round depths between them, with centimetres when
// the window is short enough to need them.
void PlotFrame::DrawDepthLabels(QPainter& painter)
{
    const double scale = Doc().m_dScale;
    const int decimals = m_zoomed && std::int64_t{m_nXMax} - m_nXMin < kCentimetreLabelsBelow ? 2 : 1;
    const char* format = decimals == 2 ? "%.2lfm" : "%.1lfm";
    for (std::int32_t x : {m_nXMin, m_nXMax})
        DrawTextAt(painter, ToDevice(x, m_nYMin), Anchor::CenterTop, FromStd(textio::Format(format, x / scale)));
    DrawRoundDepthLabels(painter, decimals);
}

void PlotFrame::DrawRoundDepthLabels(QPainter& painter, int decimals)
{
    const double scale = Doc().m_dScale;
    const char* format = decimals == 2 ? "%.2lfm" : "%.1lfm";
    const QFontMetrics metrics(painter.font());
    int widest = 0;
    for (std::int32_t x : {m_nXMin, m_nXMax}) // the longest texts are those of the ends
        widest = std::max(widest, metrics.horizontalAdvance(FromStd(textio::Format(format, x / scale))));
    const QPoint left = ToDevice(m_nXMin, m_nYMin);
    const QPoint right = ToDevice(m_nXMax, m_nYMin);
    const int gap = metrics.horizontalAdvance(QLatin1Char('0'));
    painter.setPen(ThinPen(Qt::black));
    for (std::int64_t x : RoundDepths({m_nXMin, m_nXMax}, right.x() - left.x(), widest, gap)) {
        const QPoint at = ToDevice(static_cast<std::int32_t>(x), m_nYMin);
        DrawTextAt(painter, at, Anchor::CenterTop, FromStd(textio::Format(format, static_cast<double>(x) / scale)));
        painter.drawLine(at, at - QPoint(0, kTickLength));
    }
}

void PlotFrame::DrawFrame(QPainter& painter)
{
    painter.setPen(ThinPen(Qt::black));
    // Every edge covers both corner pixels, so a value clamped to the range
    // and a depth at either end of it lie on the frame.
    const QPoint bottomLeft = ToDevice(m_nXMin, m_nYMin);
    const QPoint topRight = ToDevice(m_nXMax, m_nYMax);
    QPolygon outline;
    outline << bottomLeft << QPoint(topRight.x(), bottomLeft.y()) << topRight << QPoint(bottomLeft.x(), topRight.y())
            << bottomLeft;
    DrawPolyline(painter, outline);
}

// A double square around each point of the marked reading, and a square
// around the reading a click would delete.
void PlotFrame::DrawMarker(QPainter& painter)
{
    if (Doc().m_bDeleteMode && m_nHitObs >= 0 && m_nHitObs < Doc().m_nObs) {
        const Observation& hit = Doc().m_pObs[m_nHitObs];
        painter.setPen(ThinPen(kMarkerColour));
        for (int k = 0; k < PointsPerObservation(); ++k) {
            const QPoint p = ToDevice(Scaled(hit.Depth), std::clamp(PickY(hit, k), m_nYMin, m_nYMax));
            painter.drawRect(QRect(p - QPoint(4, 4), QSize(8, 8)));
        }
    }
    const std::int32_t marked = MarkedObservation();
    if (marked < 0)
        return;
    const Observation& obs = Doc().m_pObs[marked];
    painter.setPen(ThinPen(kMarkerColour));
    for (int k = 0; k < PointsPerObservation(); ++k) {
        const QPoint p = ToDevice(Scaled(obs.Depth), std::clamp(PickY(obs, k), m_nYMin, m_nYMax));
        painter.drawRect(QRect(p - QPoint(5, 5), QSize(10, 10)));
        painter.drawRect(QRect(p - QPoint(4, 4), QSize(8, 8)));
    }
}

void PlotFrame::DrawLevelLine(QPainter& painter)
{
    if (HasRoundValueLabels())
        return; // the middle of a fitted range means nothing
    const std::int32_t middle = static_cast<std::int32_t>((std::int64_t{m_nYMin} + m_nYMax) / 2);
    LineLP(painter, m_nXMin, middle, m_nXMax, middle);
}

std::int32_t PlotFrame::ClampedY(double value) const { return std::clamp(Scaled(value), m_nYMin, m_nYMax); }

QPoint PlotFrame::ToDevice(std::int32_t x, std::int32_t y) const
{
    const PlotMapping::Point p = m_mapping.LPtoDP({x, y});
    return QPoint(p.x, p.y);
}

// The frame's columns, edges included, over the window's full height.
QRect PlotFrame::ShownColumns() const
{
    const int left = ToDevice(m_nXMin, m_nYMin).x();
    const int right = ToDevice(m_nXMax, m_nYMin).x();
    return QRect(QPoint(left, 0), QPoint(right, height()));
}

bool PlotFrame::IsShownColumn(int x) const
{
    if (!m_zoomed)
        return true;
    const QRect columns = ShownColumns();
    return x >= columns.left() && x <= columns.right();
}

void PlotFrame::LineLP(QPainter& painter, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const
{
    const QPoint from = ToDevice(x1, y1);
    const QPoint to = ToDevice(x2, y2);
    if (from != to) // a line to its own start pixel draws nothing
        painter.drawLine(from, to);
}

void PlotFrame::DrawCurve(QPainter& painter, const QPolygon& points) const
{
    if (!m_zoomed) {
        DrawPolyline(painter, points);
        return;
    }
    // A piece between two points that both lie left, or both right, of the
    // frame cannot show: leaving such pieces out draws the same pixels and
    // keeps a narrow window over a long survey cheap.
    const QRect columns = ShownColumns();
    const auto side = [&](const QPoint& p) { return p.x() < columns.left() ? -1 : p.x() > columns.right() ? 1 : 0; };
    QPolygon run;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const bool joinsPrevious = i > 0 && (side(points[i - 1]) == 0 || side(points[i - 1]) != side(points[i]));
        if (!joinsPrevious) {
            DrawPolyline(painter, run);
            run.clear();
        }
        run.append(points[i]);
    }
    DrawPolyline(painter, run);
}

int PlotFrame::ColumnOf(std::int32_t index) const
{
    // The samples are gathered by SetupMapping, before any column is asked for.
    const std::int32_t x = index < m_samples.Count() ? m_samples.Depth(index) : Scaled(Doc().m_pObs[index].Depth);
    return m_mapping.LPtoDP({x, 0}).x;
}

PlotFrame::IndexRange PlotFrame::ReadingsInColumns(int left, int right) const
{
    const std::int32_t count = std::max(Doc().m_nObs, 0);
    if (!m_samples.InDepthOrder())
        return {0, count};
    return {FirstIndexWhere(0, count, [&](std::int32_t i) { return ColumnOf(i) >= left; }),
            FirstIndexWhere(0, count, [&](std::int32_t i) { return ColumnOf(i) > right; })};
}

PlotFrame::IndexRange PlotFrame::DrawnReadings() const
{
    const std::int32_t count = std::max(Doc().m_nObs, 0);
    if (!m_zoomed)
        return {0, count};
    const QRect columns = ShownColumns();
    const IndexRange inside = ReadingsInColumns(columns.left(), columns.right());
    return {std::max(inside.begin - 1, 0), std::min(inside.end + 1, count)};
}

PlotFrame::CurvesPieces PlotFrame::DevicePieces(const std::vector<PixelEnvelope>& envelopes) const
{
    const AxisMap y = m_mapping.YAxis();
    CurvesPieces curves;
    curves.reserve(envelopes.size());
    for (const PixelEnvelope& envelope : envelopes) {
        std::vector<QPolygon> pieces;
        for (const PixelEnvelope::Piece& piece : envelope.Pieces()) {
            QPolygon points;
            points.reserve(static_cast<qsizetype>(piece.size()));
            for (const PixelEnvelope::Point& p : piece)
                points.append(QPoint(p.column, y(p.level)));
            pieces.push_back(std::move(points));
        }
        curves.push_back(std::move(pieces));
    }
    return curves;
}

// Zoomed in, the readings drawn depend on the window's ends in depth order;
// the whole hole draws them all.
bool PlotFrame::MayFollowSplice(const KeptCurves& kept) const
{
    return kept.whole && !m_zoomed && kept.generation + 1 == m_samplesGeneration
        && m_followed.generation == m_samplesGeneration && kept.mapping == m_mapping;
}

bool PlotFrame::KeptValues(int curve) const
{
    return m_regathered.generation == m_samplesGeneration && curve >= 0 && curve < 32
        && (m_regathered.changes.curves >> curve & 1U) == 0;
}

std::uint32_t PlotFrame::StaleCurves(const KeptCurves& kept) const
{
    const bool onlyValues = SamplesFollowSplices() && kept.whole == !m_zoomed && kept.generation + 1 == m_samplesGeneration
                         && m_regathered.generation == m_samplesGeneration && !m_regathered.changes.depths
                         && kept.mapping == m_mapping && kept.envelopes.size() <= 32;
    return onlyValues ? m_regathered.changes.curves : ~std::uint32_t{0};
}

QPointF PlotFrame::CurvePoint(std::int32_t x, std::int32_t y) const
{
    const PlotMapping::PointF p = m_mapping.LPtoDPExact({x, y});
    return QPointF(p.x, p.y);
}

double PlotFrame::CentredRange(int curve)
{
    const PlotSamples& samples = Samples();
    // A gathering that left the curve's values as they were leaves their mean.
    if (curve == m_centre.curve && m_centre.generation + 1 == m_samplesGeneration && KeptValues(curve))
        m_centre.generation = m_samplesGeneration;
    if (m_samplesGeneration != m_centre.generation || curve != m_centre.curve) {
        double centre = 0.0;
        if (samples.Count() > 0 && curve < samples.Curves()) {
            double sum = 0.0;
            for (std::int32_t i = 0; i < samples.Count(); ++i)
                sum += samples.Value(i, curve);
            centre = std::floor(sum / samples.Count() / kGridStep) * kGridStep;
        }
        m_centre = {m_samplesGeneration, curve, centre};
    }
    const double centre = m_centre.centre;
    m_nYMin = Scaled(centre - kHalfRange);
    m_nYMax = Scaled(centre + kHalfRange);
    return centre;
}

void PlotFrame::DrawDegreeGrid(QPainter& painter, double centre) const
{
    if (HasRoundValueLabels()) {
        DrawLabelGrid(painter);
        return;
    }
    painter.setPen(ThinPen(kGridGrey));
    for (int k = -kGridReach; k <= kGridReach; k += kGridStep) {
        const std::int32_t y = Scaled(k + centre);
        LineLP(painter, m_nXMin, y, m_nXMax, y);
    }
}

bool PlotFrame::FitsValues() const { return !Link().FixedScales(); }

bool PlotFrame::HasRoundValueLabels() const { return FitsValues() || !ValueAxisZoom().IsWhole(); }

ValueZoom PlotFrame::ValueAxisZoom() const { return Link().ValueZoomOf(metaObject()->className()); }

void PlotFrame::ApplyValueZoom()
{
    const ValueZoom zoom = ValueAxisZoom();
    if (zoom.IsWhole())
        return;
    const ValueSpan shown = zoom.Apply({static_cast<double>(m_nYMin), static_cast<double>(m_nYMax)});
    m_nYMin = ToPlotUnits(std::floor(shown.low));
    m_nYMax = std::max(ToPlotUnits(std::ceil(shown.high)), SaturateToInt32(std::int64_t{m_nYMin} + 1));
}

double PlotFrame::ValueFraction(QPoint mouse) const
{
    const double bottom = height() - m_nMargin;
    const double length = height() - 2.0 * m_nMargin;
    return length > 0 ? (bottom - mouse.y()) / length : 0.5;
}

ReadingRange PlotFrame::ShownReadings() const
{
    const CKestrixDoc& doc = Doc();
    if (m_samples.Count() == doc.m_nObs)
        return ReadingsWithin(m_samples.Count(), [&](std::int32_t i) { return m_samples.Depth(i); }, {m_nXMin, m_nXMax});
    return ReadingsWithin(doc.m_nObs, [&](std::int32_t i) { return Scaled(doc.m_pObs[i].Depth); }, {m_nXMin, m_nXMax});
}

ValueExtent PlotFrame::ExtentInWindow(std::initializer_list<int> curves)
{
    return ShownExtent([&](ReadingRange shown) {
        const PlotSamples& samples = Samples();
        ValueExtent extent;
        for (std::int32_t i = shown.first; i < shown.end; ++i) {
            for (const int curve : curves)
                extent.Add(samples.Value(i, curve));
        }
        return extent;
    });
}

ValueExtent PlotFrame::ShownExtent(const std::function<ValueExtent(ReadingRange)>& extentOf)
{
    EnsureSamples();
    const ReadingRange shown = ShownReadings();
    if (m_samplesGeneration != m_extent.generation || shown.first != m_extent.shown.first
        || shown.end != m_extent.shown.end)
        m_extent = {m_samplesGeneration, shown, extentOf(shown)};
    return m_extent.extent;
}

void PlotFrame::SetValueRange(ValueSpan values)
{
    const double scale = Doc().m_dScale;
    m_nYMin = ToPlotUnits(std::floor(values.low * scale));
    m_nYMax = std::max(ToPlotUnits(std::ceil(values.high * scale)), SaturateToInt32(std::int64_t{m_nYMin} + 1));
}

std::vector<PlotFrame::ValueLabel> PlotFrame::RoundLabels(ValueSpan values, std::int32_t yLow, std::int32_t yHigh) const
{
    std::vector<ValueLabel> labels;
    const double frameSpan = static_cast<double>(std::int64_t{m_nYMax} - m_nYMin);
    const double rangeSpan = static_cast<double>(std::int64_t{yHigh} - yLow);
    if (!(frameSpan > 0) || !(rangeSpan > 0) || !(values.Length() > 0))
        return labels;
    const int line = QFontMetrics(font()).height();
    // The frame's height in pixels before the margin is known: the least margin's.
    const double lengthPx = (height() - 2.0 * kMargin) * rangeSpan / frameSpan;
    const RoundTicks round = RoundValuesIn(values, static_cast<int>(lengthPx), kValueLabelLines * line);
    const double halfLine = 0.5 * line * values.Length() / std::max(lengthPx, 1.0);
    for (const double v : round.values) {
        if (v - values.low < halfLine || values.high - v < halfLine)
            continue; // would run into the depth labels or a neighbouring band's
        const double y = yLow + (v - values.low) / values.Length() * rangeSpan;
        labels.push_back({SaturateToInt32(std::llround(y)), FromStd(textio::Format("%.*lf", round.decimals, v + 0.0)),
                          Anchor::RightMiddle});
    }
    return labels;
}

void PlotFrame::DrawLabelGrid(QPainter& painter) const
{
    painter.setPen(ThinPen(kGridGrey));
    for (const ValueLabel& label : ValueLabels())
        LineLP(painter, m_nXMin, label.y, m_nXMax, label.y);
}
