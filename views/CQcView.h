#pragma once

#include "survey/QualityControl.h"
#include "survey/ReferenceField.h"
#include "survey/SpikeTracker.h"
#include "views/PlotFrame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// What the probe's sensors say about each reading, against depth: the total
// magnetic field B (nT), the total gravity G and the magnetic dip (degrees),
// each in its own band, B on top, with its own scale and labels. Readings the
// spike finder flags are marked by a square in each band whose quantity
// departs. A band's scale spans its unflagged readings, so one spike does not
// flatten the rest; a flagged value beyond the scale lies on the band's edge.
// With a reference field (a site and date the model covers) each band also
// shows the reference along the hole, dashed: the model's total field F,
// normal gravity and the model's inclination I; a band's scale takes it in
// where it lies near the readings (beyond the scale it is not drawn, and the
// band's name gives its value), and the gravity band names its units. With
// fitted value ranges each scale spans the readings in the depth window; the
// value zoom narrows all three scales alike.
// Picks and deletes readings in delete mode by any of their three points.
// Values, flags and scales are those of the latest paint.
class CQcView : public PlotFrame {
    Q_OBJECT
public:
    enum Band { FieldBand = 0, GravityBand = 1, DipBand = 2 };
    static constexpr int kBands = 3;

    // One band's scale: `low` on its bottom edge, `high` on its top edge,
    // labels with `decimals` places.
    struct Scale {
        double low = 0.0;
        double high = 1.0;
        int decimals = 0;
    };

    // `doc`, `services` and `link` are not owned and must outlive the view;
    // without a link the view keeps a depth window and spike settings of its own.
    CQcView(SurveyEditor& survey, ViewServices& services, PlotLink* link = nullptr, QWidget* parent = nullptr);

    const Scale& BandScale(Band band) const { return m_scales[static_cast<std::size_t>(band)]; }
    // The survey::SpikeFlag bits of every reading.
    const std::vector<std::uint8_t>& Flags() const { return m_flags; }
    // Logical y of `value` in `band`, clamped into the band; the lowest
    // int32 for NaN, which is not drawn.
    std::int32_t BandY(Band band, double value) const;

    // The axes' titles and the legend a picture of the plot carries.
    PlotKey Key() const override;

protected:
    QString Title() const override;
    bool BeginPaint() override;
    void SetupVerticalRange() override;
    std::vector<ValueLabel> ValueLabels() const override;
    void DrawCurves(QPainter& painter) override;
    void DrawOverlays(QPainter& painter) override;
    void DrawLevelLine(QPainter& painter) override;
    int PointsPerObservation() const override { return kBands; }
    // The samples are the depths alone.
    bool SamplesFollowSplices() const override { return true; }
    std::int32_t PickY(const survey::Observation& obs, int k) const override;
    QString ReadingValues(std::int32_t index) const override;
    void ApplyValueZoom() override {} // BeginPaint zooms each band's scale
    // Where in the band under the mouse (or the nearest band) it lies.
    double ValueFraction(QPoint mouse) const override;

private:
    QString BandName(int band) const;
    // The quality values, their flags and the reference of every reading,
    // following the survey's splice when it was the only change since the last ones.
    void WorkOutValues(const survey::SpikeSettings& settings);

    std::array<Scale, kBands> m_scales{};
    // The reference per reading (F, normal gravity, I); empty without one.
    std::vector<survey::QualityValues> m_reference;
    // Per band, the reference value beyond the scale (the one furthest
    // out), which is not drawn; none when it lies within or there is none.
    std::array<std::optional<double>, kBands> m_referenceBeyond{};
    survey::GravityUnit m_gravityUnit = survey::GravityUnit::Unknown;
    QString m_modelName;
    std::vector<survey::QualityValues> m_values;
    // Works out again only the windows an edit touched since the last paint.
    survey::SpikeTracker m_spikes;
    std::vector<std::uint8_t> m_flags;
    int m_flagged = 0;
    double m_medianGravity = 0.0;
    // What the values above were worked out for.
    SurveyStamp m_valuesStamp;
    survey::SpikeSettings m_valuesSettings;
    // Each band's scale fitted to the readings of m_fittedShown, before the
    // user's zoom, and the reference's lowest and highest value there.
    std::array<Scale, kBands> m_fitted{};
    std::array<std::pair<double, double>, kBands> m_referenceRange{};
    ReadingRange m_fittedShown;
};
