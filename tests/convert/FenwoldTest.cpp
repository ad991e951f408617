#include "ConvertTestFiles.h"
#include "NamedRows.h"
#include "convert/fenwold/CCoords.h"
#include "convert/fenwold/FenwoldFlow.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace convert;

namespace {

const std::string kSevenCurves = "~C\r\nD:DEPTH\r\nA:MagX\r\nB:MagY\r\nC:MagZ\r\nE:AccX\r\nF:AccY\r\nG:AccZ\r\n~A\r\n"
                                 "1 2 3 4 5 6 7\r\n";
const std::string kEarlier = "an earlier raw survey file";

struct RunRow {
    const char* name;
    std::optional<std::string> chosen; // a file of the scratch folder
    bool confirmCollar;
    int status;
    // "@/" stands for the scratch folder; "2> " marks standard error, "box> " the closing summary
    std::vector<std::string> printed;
    bool failureShown;
    bool writesHole1;
    bool asksCollar = true; // false: the LAS file fails before the collar is asked for
};

class Run : public ::testing::TestWithParam<RunRow> {};

// One run of fenwold for each way it can end: what it returns, prints on
// standard output and shows, and whether hole1.txt was written.
TEST_P(Run, EndsAsItShould)
{
    const RunRow& c = GetParam();
    ScratchFolder folder;
    WriteFile(folder / "hole1.LAS", kSevenCurves);
    WriteFile(folder / "part.las", "~C\nD:DEPTH\nX:MagX\n~A\n1 2\n");
    WriteFile(folder / "nodata.las", "~C\nD:DEPTH\n");
    WriteFile(folder / "hole1.txt", kEarlier);
    WriteFile(folder / "xy", "~C\nD:DEPTH\nA:MagX\nB:MagY\nC:MagZ\nE:AccX\nF:AccY\nG:AccZ\n~A\n1 2 3 4 5 6 7\n"
                             "2 1,5 3 abc 5 6 7\n");
    ASSERT_EQ(mkfifo((folder / "fifo.las").c_str(), 0600), 0);
    int asked = 0;
    std::vector<std::string> printed, shown;
    const int status = RunFenwold({[&]() -> std::optional<std::string> {
                                       return c.chosen ? std::optional(folder / *c.chosen) : std::nullopt;
                                   },
                                   [&](Collar& collar) {
                                       ++asked;
                                       collar.northing = 7000000;
                                       return c.confirmCollar;
                                   },
                                   [&](const std::string& message) { shown.push_back(message); },
                                   [&](const std::string& line) { printed.push_back(line); },
                                   [&](const std::string& line) { printed.push_back("2> " + line); },
                                   [&](const std::string& summary) { printed.push_back("box> " + summary); }});
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(asked, c.chosen && c.asksCollar ? 1 : 0);
    std::vector<std::string> expected = c.printed;
    for (std::string& line : expected) {
        if (const auto at = line.find("@/"); at != std::string::npos)
            line.replace(at, 2, folder / "");
    }
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(shown, c.failureShown ? expected : std::vector<std::string>{});
    const std::string hole1Txt = ReadFile(folder / "hole1.txt");
    EXPECT_EQ(hole1Txt.substr(0, 63), c.writesHole1 ? "Collar coordinates:\r\nEasting        0.00\r\nNorthing 7000000.00\r\n"
                                                    : kEarlier)
        << "an earlier file is left byte for byte";
}

INSTANTIATE_TEST_SUITE_P(
    Fenwold, Run,
    ::testing::Values(
        RunRow{"ChoiceCancelled", std::nullopt, true, 1, {}, false, false},
        RunRow{"CollarCancelled", "hole1.LAS", false, 0, {"Conversion cancelled: no raw survey file written."}, false,
               false},
        RunRow{"Converted", "hole1.LAS", true, 0,
               {"@/hole1.txt", "box> Written:\n  @/hole1.txt\n1 rows written, 0 left out"}, false, true},
        RunRow{"CurveNamesKestrixNeedsMissing", "part.las", true, 0,
               {"@/part.txt", "2> Warning: the curve names lack MagY, MagZ, AccX, AccY, AccZ; kestrix will not open the file",
                "box> Written:\n  @/part.txt\n1 rows written, 0 left out\nWarning: the curve names lack MagY, MagZ, "
                "AccX, AccY, AccZ; kestrix will not open the file"},
               false, false},
        // A name without an extension gets ".txt" beside it, in its own folder.
        RunRow{"ValuesNotNumbersWithoutExtension", "xy", true, 0,
               {"@/xy.txt", "2> Warning: 2 values were not numbers and were written as their leading number or 0 "
                            "(first at line 11)",
                "box> Written:\n  @/xy.txt\n2 rows written, 0 left out\nWarning: 2 values were not numbers and were "
                "written as their leading number or 0 (first at line 11)"},
               false, false},
        RunRow{"FifoRefusedWithoutWaiting", "fifo.las", true, 1,
               {"Failed to open\n  @/fifo.las\nIt is not a regular file."}, true, false, false},
        RunRow{"NoDataSection", "nodata.las", true, 1, {"@/nodata.las: no data section"}, true, false, false},
        RunRow{"MissingFile", "missing.las", true, 1, {"Failed to open\n  @/missing.las"}, true, false, false}),
    RowName());

TEST(Fenwold, RefusesToWriteOverTheLasFile)
{
    ScratchFolder folder;
    WriteFile(folder / "hole.txt", kSevenCurves); // its raw survey name is itself
    std::vector<std::string> shown;
    EXPECT_EQ(RunFenwold({[&] { return std::optional(folder / "hole.txt"); }, [](Collar&) { return true; },
                          [&](const std::string& message) { shown.push_back(message); }, [](const std::string&) {},
                          [](const std::string&) {}, [](const std::string&) {}}),
              1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(folder / "hole.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(folder / "hole.txt"), kSevenCurves);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

struct HelpRow {
    const char* name;
    std::vector<const char*> argv;
    bool help;
};

class Help : public ::testing::TestWithParam<HelpRow> {};

TEST_P(Help, IsAskedOnlyByItsSwitchFirst)
{
    EXPECT_EQ(AsksForHelp(static_cast<int>(GetParam().argv.size()), GetParam().argv.data()), GetParam().help);
}

INSTANTIATE_TEST_SUITE_P(Fenwold, Help,
                         ::testing::Values(HelpRow{"NoArguments", {"fenwold"}, false},
                                           HelpRow{"LongSwitch", {"fenwold", "--help"}, true},
                                           HelpRow{"ShortSwitch", {"fenwold", "-h"}, true},
                                           HelpRow{"AFileIsIgnored", {"fenwold", "hole.las"}, false}),
                         RowName());

// The program's own dialogs, driven once they are up.
TEST(Fenwold, DialogSeams)
{
    ScratchFolder folder;
    const std::string typed = folder / "typed-but-missing.las";
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // Given as "LAS files  (*.las)"; the dialog folds runs of blanks.
        EXPECT_EQ(dialog->nameFilters().join('|').toStdString(), "LAS files (*.las)|All Files (*)");
        EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().front());
        dialog->selectFile(QString::fromStdString(typed));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(DialogSeams().chooseLasFile(), typed);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(DialogSeams().chooseLasFile(), std::nullopt);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CCoords*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Box(1001)->setText("7034815.5");
        dialog->OkButton()->click();
    });
    Collar collar;
    EXPECT_TRUE(DialogSeams().askCollar(collar));
    EXPECT_EQ(collar.northing, 7034815.5);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(DialogSeams().askCollar(collar));
}

} // namespace
