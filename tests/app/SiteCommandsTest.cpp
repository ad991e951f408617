// The site dialog and the Edit menu's site and trajectory items.
#include "AppTestSupport.h"

#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/SiteDlg.h"
#include "survey/KestrixDoc.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace survey;

namespace {

const QString kDemo = QStringLiteral(KESTRIX_EXAMPLES_DIR "/demo.txt");

Site DemoSite()
{
    Site site;
    site.epsg = 32633;
    site.date = geomag::Date{2008, 6, 1};
    site.declinationFrom = Site::DeclinationFrom::Model;
    return site;
}

class SiteCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(harness.Start());
        doc = harness.App().OpenDocumentFile(kDemo);
        ASSERT_NE(doc, nullptr);
        main = harness.App().MainFrame();
    }
    AppHarness harness;
    const CKestrixDoc* doc = nullptr;
    CMainFrame* main = nullptr;
};

// What the dialog shows follows what is typed; the model's declination is
// offered only where the model gives one, and taken as one choice.
TEST_F(SiteCommands, DialogShowsTheModelAtTheCollar)
{
    CSiteDlg dialog(*doc);
    EXPECT_TRUE(dialog.OkButton()->isEnabled()) << "the raw survey file's declination needs no site";
    EXPECT_FALSE(dialog.UseModelButton()->isEnabled());

    dialog.WhereGroup()->button(1)->click();
    dialog.CrsBox()->setText("EPSG:32633");
    dialog.DateBox()->setText("2008-02-30");
    EXPECT_FALSE(dialog.OkButton()->isEnabled()) << "no such day";
    dialog.DateBox()->setText("2008-06-01");
    const SiteReference reference = ReferenceAt(DemoSite(), doc->m_dEasting, doc->m_dNorthing, doc->m_dHeight);
    ASSERT_TRUE(reference.field);
    EXPECT_TRUE(dialog.ReferenceText().contains(QString::fromStdString(EastWestText(reference.field->declinationDegrees))))
        << dialog.ReferenceText().toStdString();
    ASSERT_TRUE(dialog.UseModelButton()->isEnabled());
    dialog.UseModelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenSite(), DemoSite());

    dialog.DateBox()->setText("2031-01-01"); // past IGRF-14
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.ReferenceText().contains("outside")) << dialog.ReferenceText().toStdString();
}

TEST_F(SiteCommands, SiteAndTrajectoryAreEditsLikeTheOthers)
{
    harness.prompts.siteAnswer = DemoSite();
    main->Action(ID_EDIT_SITE)->trigger();
    EXPECT_EQ(doc->m_site, DemoSite());
    QAction* undo = main->Action(ID_EDIT_UNDO);
    EXPECT_EQ(undo->text(), "&Undo Use model declination\tCtrl+Z");
    harness.prompts.siteAnswer.reset(); // cancelled
    main->Action(ID_EDIT_SITE)->trigger();
    EXPECT_EQ(doc->m_site, DemoSite());

    QAction* arcs = main->Action(ID_EDIT_MINIMUM_CURVATURE);
    arcs->trigger();
    EXPECT_EQ(doc->m_trajectory, TrajectoryMethod::MinimumCurvature);
    EXPECT_TRUE(arcs->isChecked());
    undo->trigger();
    EXPECT_FALSE(arcs->isChecked());
    undo->trigger();
    EXPECT_TRUE(doc->m_site.IsEmpty());
}

} // namespace
