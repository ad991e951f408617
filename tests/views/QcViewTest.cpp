#include "NamedRows.h"
#include "ViewTestSupport.h"
#include "survey/EditRecord.h"
#include "survey/SpikeFinder.h"
#include "views/CQcView.h"
#include "views/PlotLink.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>

using namespace survey;

namespace {

const QRgb kOrange = qRgb(255, 128, 0);

// 121 readings a metre apart with smoothly varying sensors and one spike
// each: the total field at 30 m, the total gravity at 60 m, the dip at 90 m.
std::vector<Observation> SpikedSurvey()
{
    std::vector<Observation> rows;
    for (int i = 0; i <= 120; ++i) {
        Observation obs{};
        obs.Depth = i;
        obs.MagX = 0.2 + 1e-4 * std::sin(i / 10.0);
        obs.MagY = 0.1;
        obs.MagZ = 0.45;
        obs.AccZ = 1.0 + 1e-4 * std::cos(i / 7.0);
        if (i == 30) {
            obs.MagX *= 1.05;
            obs.MagY *= 1.05;
            obs.MagZ *= 1.05;
        }
        if (i == 60)
            obs.AccZ *= 1.1;
        if (i == 90)
            obs.MagY = -obs.MagY; // the same length, tipped above the horizontal
        rows.push_back(obs);
    }
    return rows;
}

class QcView : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetObservations(doc, SpikedSurvey());
        doc.Recalculate(); // the dip is the resolved field's
        doc.SetHost(&host);
        host.views = {&qc, &incl};
    }

    QPoint OnBand(CQcView::Band band, int index)
    {
        const QualityValues v = QualityOf(doc.m_pObs[index]);
        const double value = band == CQcView::FieldBand     ? v.totalField
                             : band == CQcView::GravityBand ? v.totalGravity
                                                            : v.dip;
        return Device(qc, ToPlotUnits(doc.m_pObs[index].Depth * 100), qc.BandY(band, value));
    }

    FakeSurvey doc;
    FakeViewServices services;
    FakeHost host;
    PlotLink link;
    CQcView qc{doc, services, &link};
    CInclView incl{doc, services, &link};
};

TEST_F(QcView, MarksEachSpikeInItsOwnBandAndScalesEachBandToTheRest)
{
    const QImage image = Render(qc);
    ASSERT_EQ(qc.Flags().size(), 121u);
    for (std::size_t i = 0; i < qc.Flags().size(); ++i) {
        const std::uint8_t expected = i == 30 ? kFieldSpike : i == 60 ? kGravitySpike : i == 90 ? kDipSpike : 0;
        EXPECT_EQ(qc.Flags()[i], expected) << i;
    }
    const struct {
        CQcView::Band band;
        int spike;
        QRgb curve;
    } bands[] = {{CQcView::FieldBand, 30, qRgb(255, 0, 0)},
                 {CQcView::GravityBand, 60, qRgb(0, 128, 0)},
                 {CQcView::DipBand, 90, qRgb(0, 0, 255)}};
    for (const auto& b : bands) {
        SCOPED_TRACE(b.band);
        // The spike lies beyond its band's scale, on the band's edge, inside
        // its square.
        const bool low = b.band == CQcView::DipBand;
        const QPoint spike = OnBand(b.band, b.spike);
        EXPECT_EQ(spike.y(), Device(qc, 0, qc.BandY(b.band, low ? -HUGE_VAL : HUGE_VAL)).y());
        EXPECT_EQ(image.pixel(spike + QPoint(-4, low ? -2 : 2)), kOrange);
        // The band's curve at an ordinary reading.
        EXPECT_EQ(image.pixel(OnBand(b.band, b.spike - 10)), b.curve);
    }
}

TEST_F(QcView, FollowsTheSharedDepthWindowAndDeletesByAnyBand)
{
    Render(incl);
    DepthWindow zoomed;
    zoomed.Zoom({0, 12000}, 0.5, 3.0);
    link.SetWindow(zoomed);
    Render(incl);
    Render(qc);
    EXPECT_EQ(qc.m_nXMin, incl.m_nXMin);
    EXPECT_EQ(qc.m_nXMax, incl.m_nXMax);
    EXPECT_EQ(qc.m_nXMin, 4000);

    ApplyRecorded(doc, edit::ToggleDeleteMode{});
    const QPoint at = OnBand(CQcView::GravityBand, 45);
    QMouseEvent move(QEvent::MouseMove, at, qc.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&qc, &move);
    EXPECT_EQ(qc.m_nHitObs, 45);
    QMouseEvent press(QEvent::MouseButtonPress, at, qc.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&qc, &press);
    EXPECT_EQ(doc.edits, 1);
    EXPECT_EQ(doc.m_nObs, 120);
    EXPECT_EQ(doc.m_pObs[45].Depth, 46.0);
}

// The flags kept from paint to paint follow readings taken out and put
// back, one edit or several between paints, as the full pass finds them.
TEST_F(QcView, FlagsAfterDeletionsAndUndosAsTheFullPass)
{
    const auto flagsNow = [&] {
        Render(qc);
        return FindSpikes(doc.m_QualityValues, link.Spikes());
    };
    Render(qc);
    std::vector<EditRecord> records;
    const std::vector<std::vector<std::int32_t>> deletions = {{30}, {0, 59, 60, 61}, {88, 89, 110}, {84}, {86}};
    for (const std::vector<std::int32_t>& indices : deletions) {
        std::optional<EditRecord> record = ApplyRecorded(doc, edit::DeleteObservations{indices});
        ASSERT_TRUE(record);
        records.push_back(std::move(*record));
        ASSERT_EQ(qc.Flags(), flagsNow()) << indices.front();
    }
    ASSERT_TRUE(Undo(doc, records[4]));
    ASSERT_TRUE(Undo(doc, records[3]));
    EXPECT_EQ(qc.Flags(), flagsNow()) << "two undos between paints";
    for (std::size_t k = 3; k-- > 0;) {
        ASSERT_TRUE(Undo(doc, records[k]));
        EXPECT_EQ(qc.Flags(), flagsNow()) << k;
    }
    EXPECT_EQ(qc.Flags()[30], kFieldSpike);
}

// A survey not calculated (as a failed load leaves it) has no quality values
// of the recalculation's: the plot works them out from the readings.
TEST(QcViewNotCalculated, FlagsTheSpikesOfTheRawReadings)
{
    FakeSurvey doc;
    SetObservations(doc, SpikedSurvey());
    ASSERT_FALSE(doc.IsComputed());
    FakeViewServices services;
    CQcView qc(doc, services);
    Render(qc);
    ASSERT_EQ(qc.Flags().size(), 121u);
    EXPECT_EQ(qc.Flags()[30], kFieldSpike);
    EXPECT_EQ(qc.Flags()[60], kGravitySpike);
}

// Pixels of the reference's purple in the rows of `band`, its edges included.
int ReferencePixels(const QImage& image, const CQcView& qc, CQcView::Band band)
{
    const CQcView::Scale& scale = qc.BandScale(band);
    int count = 0;
    for (int y = Device(qc, 0, qc.BandY(band, scale.high)).y(); y <= Device(qc, 0, qc.BandY(band, scale.low)).y(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == qRgb(128, 0, 128);
    return count;
}

// The demo survey shows the model's values in each band once it has a site.
TEST(QcViewReference, IsDrawnInEachBandOnlyWithASite)
{
    FakeSurvey doc;
    ASSERT_TRUE(LoadDemoSurvey(doc));
    FakeViewServices services;
    CQcView qc(doc, services);
    for (const bool sited : {false, true}) {
        Site site;
        site.epsg = 32633;
        site.date = geomag::Date{2008, 6, 1};
        ApplyRecorded(doc, edit::SetSite{sited ? site : Site{}});
        const QImage image = Render(qc);
        for (const auto band : {CQcView::FieldBand, CQcView::GravityBand, CQcView::DipBand})
            EXPECT_EQ(ReferencePixels(image, qc, band) > 0, sited) << band;
    }
}

struct ReachRow {
    const char* name;
    double offsetNt; // the model's F above the readings' total field
    bool inScale;
};

class QcViewReach : public QcView, public ::testing::WithParamInterface<ReachRow> {};

// A reference a few spans from the readings joins the field band's scale;
// a far one would flatten them and stays out, not drawn.
TEST_P(QcViewReach, TakesTheReferenceIntoTheScaleOnlyNearTheReadings)
{
    const double field = QualityOf(doc.m_pObs[0]).totalField;
    const double reference = field + GetParam().offsetNt;
    doc.m_reference.readings.assign(static_cast<std::size_t>(doc.m_nObs), {reference, 60.0, 20000.0, 40000.0});
    const QImage image = Render(qc);
    const CQcView::Scale& scale = qc.BandScale(CQcView::FieldBand);
    EXPECT_EQ(scale.low < reference && reference < scale.high, GetParam().inScale);
    EXPECT_LT(scale.low, field);
    EXPECT_EQ(ReferencePixels(image, qc, CQcView::FieldBand) > 0, GetParam().inScale);
}

INSTANTIATE_TEST_SUITE_P(Rows, QcViewReach,
                         ::testing::Values(ReachRow{"NearJoins", 150, true}, ReachRow{"NearBelowJoins", -300, true},
                                           ReachRow{"FarStaysOut", 5000, false}),
                         RowName());

} // namespace
