#include "NamedRows.h"
#include "ProbeReadings.h"
#include "geomag/NormalGravity.h"
#include "survey/Anomalies.h"
#include "survey/EditRecord.h"
#include "survey/ReferenceCheck.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace survey;

namespace {

Site LocalSite(double latitude, double longitude, geomag::Date date = {2008, 6, 1})
{
    Site site;
    site.location = Site::Location{latitude, longitude, 0.0};
    site.date = date;
    return site;
}

void SurveyAt(CKestrixDoc& doc, const std::vector<Row>& rows, const Site& site)
{
    FillDocument(doc, rows);
    ApplyRecorded(doc, edit::SetSite{site});
}

// Down a deep, nearly vertical hole the field strengthens by 0.03 nT a
// metre; between stations 10 m apart each reading takes the model's field
// at its own height.
TEST(ReferenceField, FollowsTheReadingsFromTheCollarDown)
{
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows({.inclination = 89.9, .count = 1001, .step = 2.0}), LocalSite(63.1, 15.0));
    const std::vector<ReferenceReading>& reference = doc.m_reference.readings;
    ASSERT_EQ(reference.size(), 1001u);
    EXPECT_NEAR(reference[0].totalNt, doc.m_siteReference.field->totalNt, 1e-6) << "at the collar";
    for (int i = 0; i < doc.m_nObs; i += 7) {
        const auto field = std::get<geomag::MagneticField>(geomag::ComputeField(
            geomag::BuiltInModel(geomag::ModelId::Igrf14), {63.1, 15.0, doc.m_pObs[i].Height}, *geomag::DecimalYear(2008, 6, 1)));
        EXPECT_NEAR(reference[static_cast<std::size_t>(i)].totalNt, field.totalNt, 0.05) << i;
        EXPECT_NEAR(reference[static_cast<std::size_t>(i)].inclinationDegrees, field.inclinationDegrees, 1e-4) << i;
    }
    EXPECT_GT(reference.back().totalNt - reference[0].totalNt, 20.0);
}

// What a recalculation keeps from the last one gives what a survey computed
// afresh does, to the bit.
TEST(ReferenceField, AfterEditsIsAsIfComputedAfresh)
{
    std::vector<Row> rows = ModelHoleRows({.inclination = 60, .count = 300, .step = 0.5});
    CKestrixDoc edited, fresh;
    SurveyAt(edited, rows, LocalSite(63.1, 15.0));
    ApplyRecorded(edited, edit::DeleteObservation{120});
    ApplyRecorded(edited, edit::SetSite{LocalSite(63.1, 15.0, {2020, 1, 1})});
    ApplyRecorded(edited, edit::DeleteObservation{200});
    rows.erase(rows.begin() + 201);
    rows.erase(rows.begin() + 120);
    SurveyAt(fresh, rows, LocalSite(63.1, 15.0, {2020, 1, 1}));
    const auto& a = edited.m_reference.readings;
    ASSERT_EQ(a.size(), fresh.m_reference.readings.size());
    EXPECT_EQ(std::memcmp(a.data(), fresh.m_reference.readings.data(), a.size() * sizeof a[0]), 0);
}

// A survey from the model's field judged against it: medians, and every
// reading's anomalies (a magnetometer's bias lies along the field).
struct CheckRow {
    const char* name;
    ModelHole hole;
    double gravity; // the median expected
    bool fieldPasses, gravityPasses;
};

class ReferenceChecks : public ::testing::TestWithParam<CheckRow> {};

TEST_P(ReferenceChecks, GiveMediansAndAnomaliesAgainstTheModel)
{
    const CheckRow& row = GetParam();
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows(row.hole), LocalSite(row.hole.latitude, row.hole.longitude));
    const std::optional<ReferenceCheck> check = CheckAgainstReference(doc, {});
    ASSERT_TRUE(check);
    // The raw survey file keeps a nanotesla and 1e-5 of the accelerometer's unit.
    EXPECT_NEAR(check->field.median, row.hole.biasNt, 5);
    EXPECT_NEAR(check->dip.median, 0, 0.01);
    EXPECT_NEAR(check->gravity.median, row.gravity, 2e-5);
    EXPECT_EQ(check->field.Passes(), row.fieldPasses);
    EXPECT_TRUE(check->dip.Passes());
    EXPECT_EQ(check->gravity.Passes(), row.gravityPasses);
    const std::vector<Anomaly> anomalies = AnomaliesOf(doc);
    for (std::size_t i = 0; i < anomalies.size(); i += 10) {
        const ReferenceReading& r = doc.m_reference.readings[i];
        const double bias = row.hole.biasNt / r.totalNt;
        EXPECT_NEAR(anomalies[i].tmi, row.hole.biasNt, 2) << i;
        EXPECT_NEAR(anomalies[i].east, 0, 2) << i;
        EXPECT_NEAR(anomalies[i].north, bias * r.horizontalNt, 2) << i;
        EXPECT_NEAR(anomalies[i].up, -bias * r.downNt, 2) << i;
    }
}

const double kG = geomag::NormalGravity(63.1);

INSTANTIATE_TEST_SUITE_P(
    Rows, ReferenceChecks,
    ::testing::Values(CheckRow{"FromTheModel", {.gravity = kG}, 0, true, true},
                      CheckRow{"MagnetometerBias", {.gravity = kG, .biasNt = 400}, 0, false, true},
                      // Normal gravity there is 1.0052 g.
                      CheckRow{"OneGNearThePole", {.latitude = 89, .gravity = 1.0}, 1.0 - geomag::NormalGravityInG(89),
                               true, false},
                      CheckRow{"PastTheToleranceInMetresPerSecondSquared", {.gravity = kG + 0.0026 * 9.80665},
                               0.0026 * 9.80665, true, false}),
    RowName());

struct NoReferenceRow {
    const char* name;
    std::optional<geomag::Date> date;
};

class NoReference : public ::testing::TestWithParam<NoReferenceRow> {};

TEST_P(NoReference, WithoutADateTheModelCovers)
{
    CKestrixDoc doc;
    Site site = LocalSite(63.1, 15.0);
    site.date = GetParam().date;
    SurveyAt(doc, ModelHoleRows({.count = 30}), site);
    EXPECT_TRUE(doc.m_reference.readings.empty());
    EXPECT_FALSE(CheckAgainstReference(doc, {}));
}

INSTANTIATE_TEST_SUITE_P(Rows, NoReference,
                         ::testing::Values(NoReferenceRow{"NoDate", {}},
                                           NoReferenceRow{"BeforeTheModel", geomag::Date{1850, 1, 1}}),
                         RowName());

// The median of the finite values, both middle ones within the unit's range.
TEST(GravityUnits, FollowTheMedianTotalGravity)
{
    const auto unit = [](std::vector<double> gravities) {
        std::vector<QualityValues> values;
        for (double g : gravities)
            values.push_back({50000, g, 70});
        return GravityUnitOf(values);
    };
    EXPECT_EQ(unit({NAN, NAN, NAN, 1.0, 1.5}), GravityUnit::G);
    EXPECT_EQ(unit({9.81, 0, 9.8, 40, 9.82}), GravityUnit::MetresPerSecondSquared);
    EXPECT_EQ(unit({1.0, 1.0, 9.8, 9.8}), GravityUnit::Unknown);
}

} // namespace
