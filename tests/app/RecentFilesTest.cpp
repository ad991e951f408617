// The recent-file list: kept across starts, newest first, at most ten,
// abbreviated in the File menu, and the only thing in the settings store.
#include "AppTestSupport.h"
#include "NamedRows.h"

#include "app/CommandIds.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"

#include <QFile>
#include <QMenu>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

QStringList RecentLabels(CMainFrame* main)
{
    QStringList labels;
    for (QAction* action : main->RecentFileActions())
        labels.append(action->text());
    return labels;
}

TEST(RecentFilesTest, SurvivesARestartNewestFirstAndIsAllThatIsStored)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start());
    const QString a = harness.MakeSurvey("a.txt");
    const QString b = harness.MakeSurvey("b.txt");
    harness.App().OpenDocumentFile(a);
    harness.App().OpenDocumentFile(b);
    harness.App().OpenDocumentFile(a); // already open: not moved up
    EXPECT_EQ(harness.App().RecentFiles().Paths(), QStringList({b, a}));

    ASSERT_TRUE(harness.Start());
    EXPECT_EQ(harness.App().RecentFiles().Paths(), QStringList({b, a}));
    CMainFrame* main = harness.App().MainFrame();
    ASSERT_EQ(main->RecentFileActions().size(), 2u);
    EXPECT_EQ(main->RecentFileActions()[0]->data().toInt(), ID_FILE_MRU_FIRST);
    EXPECT_TRUE(RecentLabels(main)[0].startsWith("&1 ")) << RecentLabels(main)[0].toStdString();
    EXPECT_TRUE(RecentLabels(main)[0].endsWith("b.txt"));
    EXPECT_EQ(main->RecentFileActions()[0]->statusTip(), "Open this document");

    main->RecentFileActions()[1]->trigger();
    EXPECT_EQ(harness.Frames().size(), 4u);
    EXPECT_EQ(harness.App().RecentFiles().Paths(), QStringList({a, b}));

    QSettings settings("Ardencroft", "Kestrix");
    EXPECT_EQ(settings.allKeys(), QStringList({"Recent File List/File1", "Recent File List/File2"}));
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), a);
}

TEST(RecentFilesTest, AnEntryWhoseFileIsGoneGivesAMessageAndLeavesTheList)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start());
    const QString gone = harness.MakeSurvey("gone.txt");
    const QString kept = harness.MakeSurvey("kept.txt");
    harness.App().OpenDocumentFile(gone);
    harness.App().OpenDocumentFile(kept);
    ASSERT_TRUE(harness.Start());
    ASSERT_TRUE(QFile::remove(gone));

    harness.App().MainFrame()->RecentFileActions()[1]->trigger();
    EXPECT_EQ(harness.prompts.messages, QStringList({"Cannot find the file\n  " + gone}));
    EXPECT_EQ(harness.App().RecentFiles().Paths(), QStringList({kept}));
    EXPECT_EQ(harness.App().MainFrame()->RecentFileActions().size(), 1u);
    ASSERT_TRUE(harness.Start());
    EXPECT_EQ(harness.App().RecentFiles().Paths(), QStringList({kept}));
}

TEST(RecentFilesTest, KeepsTenNewestAndTheMenuShowsThePlaceholderWhenEmpty)
{
    AppHarness harness;
    ASSERT_TRUE(harness.Start());
    QMenu* file = harness.App().MainFrame()->Menus(MenuBar::Main)[0];
    const auto placeholderShown = [&] {
        for (QAction* action : file->actions())
            if (action->text() == "Recent File")
                return action->isVisible() && !action->isEnabled();
        return false;
    };
    EXPECT_TRUE(placeholderShown());

    RecentFileList list;
    list.Load();
    for (int i = 1; i <= 12; ++i)
        list.Add(QStringLiteral("/surveys/s%1.txt").arg(i));
    list.Add("/surveys/s5.txt");
    ASSERT_EQ(list.Paths().size(), 10);
    EXPECT_EQ(list.Paths()[0], "/surveys/s5.txt");
    EXPECT_EQ(list.Paths()[1], "/surveys/s12.txt");
    EXPECT_EQ(list.Paths()[9], "/surveys/s3.txt");

    ASSERT_TRUE(harness.Start());
    EXPECT_EQ(harness.App().MainFrame()->RecentFileActions().size(), 10u);
    file = harness.App().MainFrame()->Menus(MenuBar::Main)[0];
    EXPECT_FALSE(placeholderShown());
}

struct AbbreviationRow {
    const char* name;
    QString path;
    QString shown;
};

class Abbreviation : public ::testing::TestWithParam<AbbreviationRow> {};

TEST_P(Abbreviation, KeepsRootAndFileName)
{
    EXPECT_EQ(RecentFileList::Abbreviate(GetParam().path, 30), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    RecentFilesTest, Abbreviation,
    ::testing::Values(
        AbbreviationRow{"Short", "/home/u/demo.txt", "/home/u/demo.txt"},
        AbbreviationRow{"TwoFoldersKept", "/home/surveyor/projects/north/demo.txt", "/.../projects/north/demo.txt"},
        AbbreviationRow{"OneFolderKept", "/home/surveyor/projects/northern-block/demo.txt",
                        "/.../northern-block/demo.txt"},
        AbbreviationRow{"NoFolderKept", "/home/surveyor/projects/the-northern-block/demo.txt", "/.../demo.txt"},
        AbbreviationRow{"LongNameAlone", "/a/b/a-survey-file-with-a-very-long-name.txt",
                        "a-survey-file-with-a-very-long-name.txt"},
        AbbreviationRow{"Relative", "relative/folder/with/many/parts/demo.txt", "relative/.../parts/demo.txt"}),
    RowName());

} // namespace
