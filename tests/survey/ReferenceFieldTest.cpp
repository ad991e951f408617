#include "ModelSurvey.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "crs/Site.h"
#include "geomag/NormalGravity.h"
#include "survey/EditRecord.h"
#include "survey/ReferenceCheck.h"
#include "survey/ReferenceField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

using namespace survey;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Site LocalSite(double latitude, double longitude, geomag::Date date = {2008, 6, 1})
{
    Site site;
    site.location = Site::Location{latitude, longitude, 0.0};
    site.date = date;
    return site;
}

// `rows` loaded, then placed at `site`.
void SurveyAt(CKestrixDoc& doc, const std::vector<Row>& rows, const Site& site)
{
    FillDocument(doc, rows);
    ApplyRecorded(doc, edit::SetSite{site});
    ASSERT_EQ(doc.m_site, site);
}

TEST(ReferenceField, AtTheCollarIsTheSitesOwnField)
{
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows({}), LocalSite(63.1, 15.0));
    ASSERT_TRUE(doc.m_reference.IsKnown());
    ASSERT_EQ(doc.m_reference.readings.size(), static_cast<std::size_t>(doc.m_nObs));
    const ReferenceReading& top = doc.m_reference.readings[0]; // depth 0: at the collar
    const geomag::MagneticField& collar = *doc.m_siteReference.field;
    EXPECT_NEAR(top.totalNt, collar.totalNt, 1e-6);
    EXPECT_NEAR(top.inclinationDegrees, collar.inclinationDegrees, 1e-9);
    EXPECT_NEAR(top.horizontalNt, collar.horizontalNt, 1e-6);
    EXPECT_NEAR(top.downNt, collar.downNt, 1e-6);
}

// Down a deep, nearly vertical hole the field weakens with height; readings
// between stations 10 m apart are within a fraction of a nanotesla of the
// model evaluated at each.
TEST(ReferenceField, FollowsTheReadingsDownTheHole)
{
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows({.inclination = 89.5, .count = 1001, .step = 2.0}), LocalSite(63.1, 15.0));
    ASSERT_TRUE(doc.m_reference.IsKnown());
    const geomag::Model& model = geomag::BuiltInModel(geomag::ModelId::Igrf14);
    for (int i = 0; i < doc.m_nObs; i += 7) {
        const auto field = std::get<geomag::MagneticField>(
            geomag::ComputeField(model, {63.1, 15.0, doc.m_pObs[i].Height}, *geomag::DecimalYear({2008, 6, 1})));
        EXPECT_NEAR(doc.m_reference.readings[static_cast<std::size_t>(i)].totalNt, field.totalNt, 0.5) << i;
        EXPECT_NEAR(doc.m_reference.readings[static_cast<std::size_t>(i)].downNt, field.downNt, 0.5) << i;
    }
    EXPECT_GT(std::fabs(doc.m_reference.readings.front().totalNt - doc.m_reference.readings.back().totalNt), 20.0)
        << "2 km of height shows";
}

// A grid by EPSG code and the local grid its collar gives agree along a hole
// reaching 800 m sideways.
TEST(ReferenceField, ProjectedAndLocalGridAgree)
{
    const crs::SiteResult place = crs::SiteFromGrid(32633, 500000, 7000000); // RawSurveyText's collar
    ASSERT_TRUE(place.site) << place.error;
    const std::vector<Row> rows = ModelHoleRows({.inclination = 30, .count = 101, .step = 10});
    Site projected = LocalSite(0, 0);
    projected.location.reset();
    projected.epsg = 32633;
    Site local = LocalSite(place.site->latitude, place.site->longitude);
    local.location->convergence = place.site->convergence;
    CKestrixDoc a, b;
    SurveyAt(a, rows, projected);
    SurveyAt(b, rows, local);
    ASSERT_TRUE(a.m_reference.IsKnown() && b.m_reference.IsKnown());
    for (std::size_t i = 0; i < a.m_reference.readings.size(); ++i)
        EXPECT_NEAR(a.m_reference.readings[i].totalNt, b.m_reference.readings[i].totalNt, 0.05) << i;
}

// What the recalculation keeps from the last one gives what a survey
// computed afresh does, to the bit.
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
    const auto& b = fresh.m_reference.readings;
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]), 0);
}

// A survey from the model's field judged against it: `hole` placed at its
// own latitude and longitude.
struct CheckRow {
    const char* name;
    ModelHole hole;
    double field, dip, gravity; // the medians expected
    bool fieldPasses, dipPasses, gravityPasses;
};

class ReferenceChecks : public ::testing::TestWithParam<CheckRow> {};

TEST_P(ReferenceChecks, GiveTheMediansAgainstTheModel)
{
    const CheckRow& row = GetParam();
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows(row.hole), LocalSite(row.hole.latitude, row.hole.longitude));
    const std::optional<ReferenceCheck> check = CheckAgainstReference(doc, {});
    ASSERT_TRUE(check);
    // The raw survey file keeps a nanotesla and 1e-5 of the accelerometer's unit.
    EXPECT_NEAR(check->field.median, row.field, 5);
    EXPECT_NEAR(check->dip.median, row.dip, 0.01);
    EXPECT_NEAR(check->gravity.median, row.gravity, 2e-5);
    EXPECT_EQ(check->field.Passes(), row.fieldPasses);
    EXPECT_EQ(check->dip.Passes(), row.dipPasses);
    EXPECT_EQ(check->gravity.Passes(), row.gravityPasses);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReferenceChecks,
    ::testing::Values(
        CheckRow{"FromTheModel", {.gravity = geomag::NormalGravity(63.1)}, 0, 0, 0, true, true, true},
        CheckRow{"FromTheModelInG", {.gravity = geomag::NormalGravityInG(63.1)}, 0, 0, 0, true, true, true},
        CheckRow{"MagnetometerBias", {.gravity = geomag::NormalGravity(63.1), .biasNt = 400}, 400, 0, 0, false, true, true},
        // Normal gravity there is 1.0052 g.
        CheckRow{"OneGNearThePole", {.latitude = 89, .gravity = 1.0}, 0, 0, 1.0 - geomag::NormalGravityInG(89), true, true,
                 false},
        CheckRow{"GravityPastItsToleranceInMetresPerSecondSquared",
                 {.gravity = geomag::NormalGravity(63.1) + 0.0026 * geomag::kStandardGravity}, 0, 0,
                 0.0026 * geomag::kStandardGravity, true, true, false}),
    RowName());

TEST(ReferenceChecks, NeedAReference)
{
    CKestrixDoc doc;
    FillDocument(doc, ModelHoleRows({.count = 30}));
    EXPECT_FALSE(CheckAgainstReference(doc, {}));
}

struct KnownRow {
    const char* name;
    Site site;
    bool known;
};

class ReferenceKnown : public ::testing::TestWithParam<KnownRow> {};

TEST_P(ReferenceKnown, NeedsAPlaceAndADateTheModelCovers)
{
    CKestrixDoc doc;
    SurveyAt(doc, ModelHoleRows({.count = 30}), GetParam().site);
    EXPECT_EQ(doc.m_reference.IsKnown(), GetParam().known);
}

Site Undated()
{
    Site site = LocalSite(63.1, 15.0);
    site.date.reset();
    return site;
}

INSTANTIATE_TEST_SUITE_P(Rows, ReferenceKnown,
                         ::testing::Values(KnownRow{"LocalGrid", LocalSite(63.1, 15.0), true},
                                           KnownRow{"NoDate", Undated(), false},
                                           KnownRow{"BeforeTheModel", LocalSite(63.1, 15.0, {1850, 1, 1}), false},
                                           KnownRow{"NoSite", Site{}, false}),
                         RowName());

struct UnitRow {
    const char* name;
    std::vector<double> gravities; // the readings' total gravity
    GravityUnit unit;
};

class GravityUnits : public ::testing::TestWithParam<UnitRow> {};

TEST_P(GravityUnits, FollowTheMedianTotalGravity)
{
    std::vector<QualityValues> values;
    for (double g : GetParam().gravities)
        values.push_back({50000, g, 70});
    EXPECT_EQ(GravityUnitOf(values), GetParam().unit);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GravityUnits,
    ::testing::Values(UnitRow{"OneG", {1.0, 1.01, 0.99}, GravityUnit::G},
                      UnitRow{"EdgeOfG", {1.5, 1.5, 3}, GravityUnit::G},
                      UnitRow{"MetresPerSecondSquaredWithSpikes", {9.81, 0, 9.8, 40, 9.82}, GravityUnit::MetresPerSecondSquared},
                      UnitRow{"MiddlesEitherSide", {1.0, 1.0, 9.8, 9.8}, GravityUnit::Unknown},
                      UnitRow{"NaNsDoNotCount", {kNaN, kNaN, kNaN, 1.0, 1.0}, GravityUnit::G},
                      UnitRow{"Between", {3.0}, GravityUnit::Unknown},
                      UnitRow{"NoGravity", {kNaN}, GravityUnit::Unknown}),
    RowName());

} // namespace
