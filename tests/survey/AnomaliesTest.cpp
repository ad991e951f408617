#include "ModelSurvey.h"
#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/Anomalies.h"
#include "survey/EditRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace survey;

namespace {

struct BiasRow {
    const char* name;
    double biasNt; // added to the field's strength
};

class AnomaliesAgainstTheReference : public ::testing::TestWithParam<BiasRow> {};

// Readings made from the model's field are its field: no anomaly but the
// magnetometer's bias, along the field.
TEST_P(AnomaliesAgainstTheReference, AreWhatTheReadingsAddToTheModel)
{
    const double bias = GetParam().biasNt;
    CKestrixDoc doc;
    FillDocument(doc, ModelHoleRows({.count = 101, .biasNt = bias}));
    Site site;
    site.location = Site::Location{63.1, 15.0, 0.0};
    site.date = geomag::Date{2008, 6, 1};
    ApplyRecorded(doc, edit::SetSite{site});
    ASSERT_TRUE(doc.m_reference.IsKnown());
    const std::vector<Anomaly> anomalies = AnomaliesOf(doc);
    ASSERT_EQ(anomalies.size(), 101u);
    for (std::size_t i = 0; i < anomalies.size(); ++i) {
        const ReferenceReading& r = doc.m_reference.readings[i];
        // The raw survey file keeps a nanotesla.
        EXPECT_NEAR(anomalies[i].tmi, bias, 2) << i;
        EXPECT_NEAR(anomalies[i].east, 0, 2) << i;
        EXPECT_NEAR(anomalies[i].north, bias * r.horizontalNt / r.totalNt, 2) << i;
        EXPECT_NEAR(anomalies[i].up, -bias * r.downNt / r.totalNt, 2) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AnomaliesAgainstTheReference,
                         ::testing::Values(BiasRow{"FromTheModel", 0}, BiasRow{"Biased", 400}), RowName());

// Without a site each component is less its median over the survey.
TEST(Anomalies, WithoutAReferenceAreLessTheMedians)
{
    CKestrixDoc doc;
    doc.m_nObs = 3;
    doc.m_pObs.reset(new Observation[3]());
    const double east[] = {0, 0.0001, 0.0002}, north[] = {0.001, 0.003, 0.002}, up[] = {-0.004, 0, -0.003};
    for (int i = 0; i < 3; ++i)
        std::tie(doc.m_pObs[i].MagE, doc.m_pObs[i].MagN, doc.m_pObs[i].MagU) = std::tie(east[i], north[i], up[i]);
    const std::vector<Anomaly> a = AnomaliesOf(doc);
    ASSERT_EQ(a.size(), 3u);
    // Medians: E 10, N 200, U -300 nT, and the third reading's total.
    EXPECT_NEAR(a[0].east, -10, 1e-9);
    EXPECT_NEAR(a[1].north, 100, 1e-9);
    EXPECT_NEAR(a[2].up, 0, 1e-9);
    EXPECT_NEAR(a[1].up, 300, 1e-9);
    EXPECT_NEAR(a[1].tmi, std::hypot(10.0, 300.0) - std::hypot(20.0, 200.0, 300.0), 1e-9);
}

} // namespace
