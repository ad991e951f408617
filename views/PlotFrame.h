#pragma once

#include "survey/EditOperations.h"
#include "survey/Observation.h"
#include "views/DepthWindow.h"
#include "views/PixelEnvelope.h"
#include "views/PlotMapping.h"
#include "views/PlotSamples.h"
#include "views/PlotView.h"
#include "views/ReadingSearch.h"
#include "views/SurveyStamp.h"
#include "views/ValueAxis.h"
#include "textio/VectorState.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

// The frame shared by the depth plots: a white window with the title in its
// top-left corner, a plot frame inset by a margin, depth from left to right
// and the value upward, value and depth labels, the depth readout while the
// mouse moves, and the picking and deletion of observations in delete mode.
// Each view adds its vertical range, curves, overlays and mouse rules. The
// view keeps no survey data: every paint and mouse event reads the document.
//
// The plots of a survey show one depth window (PlotLink): the wheel zooms it
// about the mouse, a drag with the middle button (or Shift and the left
// button) pans it, Home shows the whole hole again. Zoomed in, the frame
// shows that stretch of the hole, with labels at round depths, and nothing
// is drawn or picked beyond its left and right edges; at the whole hole the
// picture is the frame's own. The Left and Right keys mark the next reading
// in depth, which the Delete key deletes in delete mode.
//
// A curve shows in each pixel column only the first, lowest, highest and
// last of the readings there (PixelEnvelope), and readings in depth order
// are found by binary search, so painting and picking cost the window's
// size, not the survey's length; readings out of depth order are all gone
// through, as drawn. What a paint needs of every reading (its depth and the
// view's values, PlotSamples) is gathered in one pass over the table when
// the survey (SurveyStamp) changes; what is worked out from them (the
// centred range's mean, the fitted range's extent, the curves, each plot's
// curves in one pass) is kept until they or what it depends on change.
//
// The value axis keeps each view's fixed range (PlotLink::FixedScales) or
// fits the readings in the depth window; the wheel with Ctrl zooms it about
// the mouse, and Home restores it with the depth window. Fitted or zoomed,
// both axes are labelled at round values. Under the mouse, and for the
// marked reading, the status bar gives the depth and each curve's value at
// the reading.
class PlotFrame : public PlotView {
    Q_OBJECT
public:
    // The frame lies kMargin from each edge of the window unless a value
    // label is wider: the margin then grows to hold it whole. A reading is
    // picked when the mouse lies within kPickDistance pixels of its mark or
    // of a line drawn to it.

    // `survey`, `services` and `link` are not owned and must outlive the view.
    // Without a link the view keeps a depth window of its own.
    PlotFrame(SurveyEditor& survey, ViewServices& services, PlotLink* link, QWidget* parent);
    ~PlotFrame() override;

    void OnDraw(QPainter& painter) override;

    // Works out the ranges and sets the mapping for the current client size.
    // True when the mapping spans a drawable frame: observations, distinct
    // first and last depths, a vertical range and room inside the margins.
    // Otherwise the mapping is still defined (a zero extent collapses onto
    // the frame's left or bottom edge).
    virtual bool SetupMapping();

    const PlotMapping& Mapping() const { return m_mapping; }
    // Whether the latest mapping shows less than the whole hole.
    bool IsZoomed() const { return m_zoomed; }
    // The observation marked with the arrow keys, or -1.
    std::int32_t MarkedObservation() const;
    // Marks observation `index` as the arrow keys would (its depth in the
    // status bar) and centres the survey's zoomed depth window on it; nothing
    // for an index outside the table.
    void MarkObservation(std::int32_t index);
    // The view's window has just become the active one: a click that did
    // that, if any, edits nothing (it deletes no reading, places no point).
    void NoteActivation();

    std::int32_t m_nMargin = kMargin; // device pixels between the window's edges and the frame
    std::int32_t m_nXMin = 0;         // logical x of the frame's left edge
    std::int32_t m_nXMax = 0;         // logical x of the frame's right edge
    std::int32_t m_nYMin = 0;         // logical y of the frame's bottom edge
    std::int32_t m_nYMax = 0;         // logical y of the frame's top edge
    std::int32_t m_nHitObs = -1;      // observation under the mouse in delete mode, or -1

protected:
    // --- What each view supplies ---
    virtual QString Title() const = 0;
    // Called at the start of every paint, after the horizontal range; false
    // ends the paint with nothing drawn.
    virtual bool BeginPaint() { return true; }
    // Sets m_nYMin and m_nYMax (and the view's own range members).
    virtual void SetupVerticalRange() = 0;
    // A value label left of the frame: `text` written at the frame's left
    // edge on the level `y` (logical), ending above it or hanging below it.
    struct ValueLabel {
        std::int32_t y;
        QString text;
        Anchor anchor = Anchor::RightBottom;
    };
    // The value labels: round values on a fitted or zoomed axis, else by
    // default the range's bottom, middle and top.
    virtual std::vector<ValueLabel> ValueLabels() const;
    // What the status bar says of reading `index` (a valid one): each
    // curve's value with its unit.
    virtual QString ReadingValues(std::int32_t index) const = 0;
    // Narrows m_nYMin and m_nYMax to the part of them the user's value zoom
    // shows; a view that zooms its scales itself does nothing.
    virtual void ApplyValueZoom();
    // Where on the value axis (0 its bottom, 1 its top) the mouse lies.
    virtual double ValueFraction(QPoint mouse) const;
    // Under the curves, so that no trace hides beneath a line: the grid,
    // then the level line (by default the centre line) in black.
    virtual void DrawGrid(QPainter&) {}
    virtual void DrawLevelLine(QPainter& painter);
    virtual void DrawCurves(QPainter& painter) = 0;
    // Over the curves.
    virtual void DrawOverlays(QPainter&) {}
    // Picking: how many points each observation has, and point k's logical y.
    virtual int PointsPerObservation() const { return 1; }
    virtual std::int32_t PickY(const survey::Observation& obs, int k) const = 0;
    // The cursor and prompt of a mouse move; by default those of delete mode.
    virtual void ApplyModeCursor();
    virtual QString Prompt() const;
    // Left button down outside delete mode.
    virtual void OnOtherModeClick(QPoint) {}
    // Right button down.
    virtual void OnRightClick(QPoint) {}

    // The view's values of each reading, gathered by GatherReadings into the
    // plot's samples once per survey state and SamplesVariant(); by default
    // none, only the depths.
    virtual void GatherSamples();
    // What beside the survey the gathered values depend on.
    virtual std::uint64_t SamplesVariant() const { return 0; }
    // Whether each gathered value depends on its reading's orientation,
    // azimuth in force, components and depth alone (and SamplesVariant()), so
    // that readings taken out or put back leave the others' values as they
    // were and GatherReadings may follow the table instead of gathering anew;
    // and whether the view's kept curves are drawn from the samples alone
    // (with `depends`), so that a curve whose values a gathering left as they
    // were is kept.
    virtual bool SamplesFollowSplices() const { return false; }
    // Whether the gathered values depend on the readings' depths and
    // orientation alone, so that a recalculation keeping those (a fit change)
    // leaves them as they were.
    virtual bool SamplesKeptWithOrientation() const { return false; }

    // --- Helpers for the views ---
    // Gathers every reading's depth and the `curves` values that
    // `valuesOf(i, reading, out)` writes to out[0] to out[curves - 1].
    template <class ValuesOf>
    void GatherReadings(int curves, ValuesOf valuesOf);
    // The samples of the survey as it is now.
    const PlotSamples& Samples();
    // The samples as last gathered, which may be of an earlier survey state.
    const PlotSamples& GatheredSamples() const { return m_samples; }
    // Levels for DrawKeptCurve: each sample's value as ClampedY puts it.
    // Clamped to whole ends, then truncated toward zero, a value gives what
    // ToPlotUnits and then the clamp give, without a branch: NaN gives 0.
    auto ClampedLevels() const
    {
        return [this, scale = Doc().m_dScale, low = static_cast<double>(m_nYMin),
                high = static_cast<double>(m_nYMax)](std::int32_t i, int curve) {
            const double value = m_samples.Value(i, curve) * scale;
            return static_cast<std::int32_t>(std::clamp(value == value ? value : 0.0, low, high));
        };
    }
    // A fitted degree range spans at least this many degrees, so that a
    // steady curve is not blown up into its noise.
    static constexpr double kLeastDegreeSpan = 1.0;
    // Whether the value range is fitted to the window's readings.
    bool FitsValues() const;
    // Whether the value axis is labelled at round values: fitted or zoomed.
    bool HasRoundValueLabels() const;
    // The user's zoom of this plot's value axis.
    ValueZoom ValueAxisZoom() const;
    // The readings within the depth window of the latest horizontal range.
    ReadingRange ShownReadings() const;
    // The values of the samples' `curves` over the readings in the depth window.
    ValueExtent ExtentInWindow(std::initializer_list<int> curves);
    // What `extentOf` gives for the readings in the depth window, kept while
    // the samples and the window stay the same: a view has one such extent,
    // so repainting an unchanged window goes through no readings.
    ValueExtent ShownExtent(const std::function<ValueExtent(ReadingRange)>& extentOf);
    // m_nYMin and m_nYMax from `values`, at least one plot unit apart.
    void SetValueRange(ValueSpan values);
    // Labels at the round values of `values`, drawn from `yLow` to `yHigh`
    // (logical), none within half a line of either end.
    std::vector<ValueLabel> RoundLabels(ValueSpan values, std::int32_t yLow, std::int32_t yHigh) const;
    // Light grey lines at the value labels.
    void DrawLabelGrid(QPainter& painter) const;
    // trunc(value x m_dScale) clamped into [m_nYMin, m_nYMax].
    std::int32_t ClampedY(double value) const;
    QPoint ToDevice(std::int32_t x, std::int32_t y) const;
    // Whether device column `x` shows: always at the whole hole, zoomed in
    // only within the frame's left and right edges.
    bool IsShownColumn(int x) const;
    // A line from (x1, y1) to (x2, y2) in logical units, leaving out its end.
    void LineLP(QPainter& painter, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const;
    // Curve `curve` of `curves` curves through the readings in table order,
    // in the painter's pen, as PixelEnvelope reduces it: `levels(i, k)` is
    // reading i's logical y on curve k, or kNoLevel where it is not drawn,
    // which breaks the curve, or with `gaps` Join is passed over. All
    // `curves` are built in one pass and kept in slot `slot` while the
    // samples, the mapping and `depends` (whatever else the levels are worked
    // out from) stay the same: repainting an unchanged plot goes through no
    // readings, and one whose samples followed readings taken out or put back
    // goes through the columns about them.
    template <class Levels>
    void DrawKeptCurve(QPainter& painter, std::size_t slot, int curves, int curve, const std::vector<double>& depends,
                       Levels levels, Gaps gaps = Gaps::Break);
    // The readings, by index, whose marks may lie in device columns `left`
    // to `right`: those there when the readings are in depth order, else all.
    struct IndexRange {
        std::int32_t begin;
        std::int32_t end;
    };
    IndexRange ReadingsInColumns(int left, int right) const;
    // The centred 180-degree range of the inclination and azimuth views:
    // floor(mean of the samples' `curve` / 10) x 10, the frame spanning +-90
    // around it.
    double CentredRange(int curve);
    // The 17 light grey lines at every 10 degrees within +-80 of `centre`;
    // on round value labels, the lines at those instead.
    void DrawDegreeGrid(QPainter& painter, double centre) const;

    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Another depth window: what was under the mouse is no longer there.
    void OnLinkChanged() override;

private:
    // A reading's place in depth order: its depth in plot units, then twice
    // its index (an odd slot stands for a place between two readings).
    struct DepthOrder {
        std::int32_t x;
        std::int64_t slot;
        friend auto operator<=>(const DepthOrder&, const DepthOrder&) = default;
    };

    void SetupHorizontalRange();
    // kMargin, or the width of the widest value label when that is more,
    // in the window's font; at most a quarter of the window's width.
    std::int32_t MarginForLabels() const;
    void DrawValueLabels(QPainter& painter);
    void DrawDepthLabels(QPainter& painter);
    void DrawRoundDepthLabels(QPainter& painter, int decimals);
    void DrawFrame(QPainter& painter);
    void DrawMarker(QPainter& painter);
    QRect ShownColumns() const;
    // Device column of reading `index`.
    int ColumnOf(std::int32_t index) const;
    // The readings a curve draws: those in the frame's columns and one
    // beyond each edge, whose lines into the frame show.
    IndexRange DrawnReadings() const;
    // A curve point where the mapping puts it, not rounded to a pixel.
    QPointF CurvePoint(std::int32_t x, std::int32_t y) const;
    // A vector picture keeps every drawn reading where the mapping puts it,
    // rather than its pixel column's envelope.
    template <class LevelOf>
    void DrawExactCurve(QPainter& painter, LevelOf levelOf, Gaps gaps) const;
    // Each curve's pieces in device pixels.
    using CurvesPieces = std::vector<std::vector<QPolygon>>;
    CurvesPieces DevicePieces(const std::vector<PixelEnvelope>& envelopes) const;
    void EnsureSamples();
    // A curve through `points` (device pixels): the whole polyline, or when
    // zoomed in only its pieces that reach the frame's depth extent.
    void DrawCurve(QPainter& painter, const QPolygon& points) const;
    void Pick(QPoint mouse);
    // The depth `x` in the depth pane, and in the message pane the values
    // of `reading` (by default the one nearest `x`) and the mode's prompt.
    void Readout(std::int32_t x, std::int32_t reading = -1);
    void ChangeWindow(const DepthWindow& window);
    void MoveMarker(int direction);
    void DeleteMarked();

    PlotMapping m_mapping;
    bool m_framed = false;       // the latest mapping spans a drawable frame
    PlotSamples m_samples;
    SurveyStamp m_samplesStamp;         // the survey the samples were gathered from
    std::uint64_t m_samplesVariant = 0; // and SamplesVariant() then
    std::uint64_t m_samplesGeneration = 0; // counts the gatherings: what is kept from one is kept with its number
    // While GatherSamples runs: the document's splice the samples may follow.
    const survey::CKestrixDoc::TableSplice* m_splice = nullptr;
    // The splice the samples of generation `generation` followed from the
    // generation before, if they did.
    struct FollowedSplice {
        std::uint64_t generation = 0;
        bool restored = false;
        std::vector<std::int32_t> indices;
    } m_followed;
    // What the gathering of generation `generation` changed, if it gathered anew.
    struct Regathered {
        std::uint64_t generation = 0;
        PlotSamples::Changes changes;
    } m_regathered;
    struct CentreCache {
        std::uint64_t generation = 0;
        int curve = -1;
        double centre = 0.0;
    } m_centre; // the latest centred range's centre
    struct ExtentCache {
        std::uint64_t generation = 0;
        ReadingRange shown;
        ValueExtent extent;
    } m_extent; // the latest fitted range's readings
    struct KeptCurves {
        std::uint64_t generation = 0;
        PlotMapping mapping;
        std::vector<double> depends;
        Gaps gaps = Gaps::Break;
        bool whole = false;                   // of every reading, not zoomed in
        std::vector<PixelEnvelope> envelopes; // by curve
        CurvesPieces pieces;                  // by curve
    };
    // Whether the samples' latest gathering left curve `curve`'s values as
    // they were, reading by reading.
    bool KeptValues(int curve) const;
    // Whether `kept` may follow the splice of the samples' latest gathering
    // rather than be built anew.
    bool MayFollowSplice(const KeptCurves& kept) const;
    // The curves of `kept` (bit k for curve k) that the samples' latest
    // gathering leaves stale: all, unless it only changed some curves' values.
    std::uint32_t StaleCurves(const KeptCurves& kept) const;
    // Brings `kept` up to date for DrawKeptCurve: follows the samples'
    // splice, or builds the stale curves anew (`sameCurves`: the curves are
    // those of the same `depends` and `gaps`).
    template <class Levels>
    void RefreshKeptCurves(KeptCurves& kept, bool sameCurves, int curves, const std::vector<double>& depends,
                           Levels& levels, Gaps gaps);
    std::vector<KeptCurves> m_keptCurves; // by slot
    DepthSpan m_wholeHole{0, 0}; // the hole's ends in plot units, at the latest mapping
    bool m_zoomed = false;       // the latest mapping shows less than the whole hole
    // A drag that pans: the button, where it started and the window then.
    Qt::MouseButton m_panButton = Qt::NoButton;
    bool m_activating = false; // the window was activated in this pass of the event loop
    int m_panStartX = 0;
    DepthSpan m_panStart{0, 0};
    // The reading marked with the arrow keys (checked against the table
    // before use, since edits elsewhere move readings) and the place from
    // which the keys move on.
    std::int32_t m_nMarked = -1;
    survey::Observation m_markedReading{};
    std::optional<DepthOrder> m_markPlace;
};

template <class ValuesOf>
void PlotFrame::GatherReadings(int curves, ValuesOf valuesOf)
{
    const survey::CKestrixDoc& doc = Doc();
    const double scale = doc.m_dScale;
    const auto depthOf = [scale](double depth) { return ToPlotUnits(depth * scale); };
    const std::int32_t count = doc.m_pObs ? doc.m_nObs : 0;
    if (m_splice && m_samples.Curves() == curves) {
        const bool followed = m_splice->restored
                                ? m_samples.Reopen(m_splice->indices, doc.m_pObs.get(), count, depthOf, valuesOf)
                                : m_samples.Remove(m_splice->indices, doc.m_pObs.get(), count);
        if (followed) {
            m_followed = {m_samplesGeneration + 1, m_splice->restored, m_splice->indices};
            return;
        }
    }
    m_samples.Gather(doc.m_pObs.get(), count, curves, depthOf, valuesOf);
    m_regathered = {m_samplesGeneration + 1, m_samples.LastChanges()};
}

template <class Levels>
void PlotFrame::DrawKeptCurve(QPainter& painter, std::size_t slot, int curves, int curve,
                              const std::vector<double>& depends, Levels levels, Gaps gaps)
{
    EnsureSamples();
    if (ExactCoordinates()) {
        DrawExactCurve(painter, [&](std::int32_t i) { return levels(i, curve); }, gaps);
        return;
    }
    if (slot >= m_keptCurves.size())
        m_keptCurves.resize(slot + 1);
    KeptCurves& kept = m_keptCurves[slot];
    const bool sameCurves = kept.depends == depends && kept.gaps == gaps
                         && kept.envelopes.size() == static_cast<std::size_t>(curves);
    if (kept.generation != m_samplesGeneration || kept.mapping != m_mapping || !sameCurves)
        RefreshKeptCurves(kept, sameCurves, curves, depends, levels, gaps);
    if (curve >= 0 && static_cast<std::size_t>(curve) < kept.pieces.size()) {
        for (const QPolygon& points : kept.pieces[static_cast<std::size_t>(curve)])
            DrawCurve(painter, points);
    }
}

template <class Levels>
void PlotFrame::RefreshKeptCurves(KeptCurves& kept, bool sameCurves, int curves, const std::vector<double>& depends,
                                  Levels& levels, Gaps gaps)
{
    textio::ReleaseWideVectorRegisters(); // the painter may have left them in use
    const AxisMap column = m_mapping.XAxis();
    const auto columnOf = [&](std::int32_t i) { return column(m_samples.Depth(i)); };
    const bool ordered = m_samples.InDepthOrder();
    const IndexRange drawn = DrawnReadings();
    bool followed = sameCurves && MayFollowSplice(kept);
    std::vector<std::int32_t> scratch;
    for (int k = 0; followed && k < curves; ++k) {
        const auto levelsOf = [&](std::int32_t i, int) { return levels(i, k); };
        followed = kept.envelopes[static_cast<std::size_t>(k)].FollowSplice(
            m_followed.indices, m_followed.restored, m_samples.Count(),
            [&](PixelEnvelope& fresh, std::int32_t begin, std::int32_t end) {
                AddReadings(std::span(&fresh, 1), begin, end, ordered, columnOf, levelsOf, scratch);
            });
    }
    const std::uint32_t stale = followed ? 0 : sameCurves ? StaleCurves(kept) : ~std::uint32_t{0};
    if (stale == ~std::uint32_t{0}) {
        kept.envelopes.assign(static_cast<std::size_t>(curves), PixelEnvelope{});
        BuildEnvelopes(kept.envelopes, drawn.begin, drawn.end, ordered, columnOf, levels, gaps);
    } else {
        // The stale curves in one pass, then back in their places.
        std::vector<int> which;
        std::vector<PixelEnvelope> envelopes;
        for (int k = 0; k < curves && k < 32; ++k) {
            if ((stale >> k & 1U) != 0) {
                which.push_back(k);
                envelopes.push_back(std::move(kept.envelopes[static_cast<std::size_t>(k)]));
            }
        }
        const auto levelsOf = [&](std::int32_t i, int j) { return levels(i, which[static_cast<std::size_t>(j)]); };
        BuildEnvelopes(envelopes, drawn.begin, drawn.end, ordered, columnOf, levelsOf, gaps);
        for (std::size_t j = 0; j < which.size(); ++j)
            kept.envelopes[static_cast<std::size_t>(which[j])] = std::move(envelopes[j]);
    }
    kept.generation = m_samplesGeneration;
    kept.mapping = m_mapping;
    kept.depends = depends;
    kept.gaps = gaps;
    kept.whole = !m_zoomed;
    kept.pieces = DevicePieces(kept.envelopes);
}

template <class LevelOf>
void PlotFrame::DrawExactCurve(QPainter& painter, LevelOf levelOf, Gaps gaps) const
{
    const IndexRange drawn = DrawnReadings();
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() >= 2)
            painter.drawPolyline(run);
        run.clear();
    };
    for (std::int32_t i = drawn.begin; i < drawn.end; ++i) {
        if (const std::int32_t level = levelOf(i); level != kNoLevel) {
            const QPointF p = CurvePoint(m_samples.Depth(i), level);
            if (run.isEmpty() || run.constLast() != p)
                run.append(p);
        } else if (gaps == Gaps::Break) {
            flush();
        }
    }
    flush();
}
