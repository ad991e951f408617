#include "ConvertTestFiles.h"
#include "NamedRows.h"
#include "convert/LasConverter.h"
#include "convert/fenwold/CCoords.h"
#include "convert/fenwold/CurveMappingDialog.h"
#include "convert/fenwold/FenwoldFlow.h"

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace convert;

namespace {

const std::string kSevenCurves = "~C\r\nD:DEPTH\r\nA:MagX\r\nB:MagY\r\nC:MagZ\r\nE:AccX\r\nF:AccY\r\nG:AccZ\r\n~A\r\n"
                                 "1 2 3 4 5 6 7\r\n";
const std::string kEarlier = "an earlier raw survey file";

const std::string kProbe = "~Well\n NULL.  -999.25 : null\n XCOORD.FT 1640420 : easting\n ELEV.M 612.5 :\n"
                           " DECL.DEG 10.5 : declination\n~Curve\n DEPT.FT :\n GR.API :\n HX.NT :\n HY.NT :\n"
                           " HZ.NT :\n AX.MG :\n AY.MG :\n AZ.MG :\n~A\n100 51 12345 -2500 50000 100 -250 968\n"
                           "110 52 -999.25 -2500 50000 100 -250 968\n120 53 12000 -2450 50100 125 -240 970\n";

// fenwold's questions answered as a row says, and what it said.
struct Answers {
    std::optional<std::string> chosen; // a file of the scratch folder
    bool confirmMapping = true;
    bool confirmCollar = true;
    std::optional<std::string> output = ""; // "": the proposed path; nothing: cancelled
};

struct Transcript {
    int asked = 0; // mapping and collar dialogs shown
    std::vector<std::string> printed, shown, fromLas;
    std::optional<std::string> proposedOutput;
    std::vector<bool> remembered; // per mapping dialog: the proposal was remembered
    convert::Collar collar;
};

// `folder` ends in "/".
FenwoldSeams Seams(const std::string& folder, const Answers& answers, Transcript& t,
                   std::map<std::string, std::string>& memory)
{
    return {.chooseLasFile = [=]() -> std::optional<std::string> {
                return answers.chosen ? std::optional(folder + *answers.chosen) : std::nullopt;
            },
            .askMapping =
                [&t, answers](const LasPreview&, const MappingProposal& proposal, bool remembered) {
                    ++t.asked;
                    t.remembered.push_back(remembered);
                    return answers.confirmMapping ? proposal.Mapping() : std::nullopt;
                },
            .recallMapping = [&memory](const std::string& key) -> std::optional<std::string> {
                return memory.contains(key) ? std::optional(memory[key]) : std::nullopt;
            },
            .rememberMapping = [&memory](const std::string& key, const std::string& text) { memory[key] = text; },
            .askCollar =
                [&t, answers](Collar& collar, const std::vector<std::string>& fromLas) {
                    ++t.asked;
                    t.fromLas = fromLas;
                    collar.northing = 7000000;
                    t.collar = collar;
                    return answers.confirmCollar;
                },
            .chooseOutput = [&t, answers, folder](const std::string& proposed) -> std::optional<std::string> {
                t.proposedOutput = proposed;
                if (!answers.output || answers.output->empty())
                    return answers.output ? std::optional(proposed) : std::nullopt;
                return folder + *answers.output;
            },
            .showFailure = [&t](const std::string& message) { t.shown.push_back(message); },
            .printLine = [&t](const std::string& line) { t.printed.push_back(line); },
            .printWarning = [&t](const std::string& line) { t.printed.push_back("2> " + line); },
            .showSummary = [&t](const std::string& summary) { t.printed.push_back("box> " + summary); }};
}

struct RunRow {
    const char* name;
    Answers answers;
    int status;
    // "@/" stands for the scratch folder; "2> " marks standard error, "box> " the closing summary
    std::vector<std::string> printed;
    bool failureShown;
    const char* written; // the file of the scratch folder written, or null
    int asked;           // dialogs shown after the LAS file was chosen
};

class Run : public ::testing::TestWithParam<RunRow> {};

// One run of fenwold for each way it can end: what it returns, prints on
// standard output and shows, and which file it wrote; an earlier file
// there is left byte for byte.
TEST_P(Run, EndsAsItShould)
{
    const RunRow& c = GetParam();
    ScratchFolder folder;
    WriteFile(folder / "hole1.LAS", kSevenCurves);
    WriteFile(folder / "part.las", "~C\nD:DEPTH\nX:MagX\n~A\n1 2\n");
    WriteFile(folder / "nodata.las", "~C\nD:DEPTH\n");
    WriteFile(folder / "probe.las", kProbe);
    WriteFile(folder / "hole1.txt", kEarlier);
    WriteFile(folder / "probe.txt", kEarlier);
    WriteFile(folder / "xy", "~C\nD:DEPTH\nA:MagX\nB:MagY\nC:MagZ\nE:AccX\nF:AccY\nG:AccZ\n~A\n1 2 3 4 5 6 7\n"
                             "2 1,5 3 abc 5 6 7\n");
    ASSERT_EQ(mkfifo((folder / "fifo.las").c_str(), 0600), 0);
    Transcript t;
    std::map<std::string, std::string> memory;
    EXPECT_EQ(RunFenwold(Seams(folder / "", c.answers, t, memory)), c.status);
    EXPECT_EQ(t.asked, c.asked);
    std::vector<std::string> expected = c.printed;
    for (std::string& line : expected) {
        for (auto at = line.find("@/"); at != std::string::npos; at = line.find("@/"))
            line.replace(at, 2, folder / "");
    }
    EXPECT_EQ(t.printed, expected);
    EXPECT_EQ(t.shown, c.failureShown ? expected : std::vector<std::string>{});
    for (const char* file : {"hole1.txt", "probe.txt"}) {
        if (!c.written || file != std::string(c.written)) {
            EXPECT_EQ(ReadFile(folder / file), kEarlier) << file;
        }
    }
    if (c.written) {
        EXPECT_NE(ReadFile(folder / c.written).find("Northing 7000000.00\r\n"), std::string::npos) << c.written;
    }
}

const std::string kCancelled = "Conversion cancelled: no raw survey file written.";

INSTANTIATE_TEST_SUITE_P(
    Fenwold, Run,
    ::testing::Values(
        RunRow{"ChoiceCancelled", {.chosen = std::nullopt}, 1, {}, false, nullptr, 0},
        RunRow{"CollarCancelled", {.chosen = "hole1.LAS", .confirmCollar = false}, 0, {kCancelled}, false, nullptr, 1},
        RunRow{"OutputCancelled", {.chosen = "hole1.LAS", .output = std::nullopt}, 0, {kCancelled}, false, nullptr, 1},
        RunRow{"Converted", {.chosen = "hole1.LAS"}, 0,
               {"@/hole1.txt", "box> Written:\n  @/hole1.txt\n1 rows written, 0 left out"}, false, "hole1.txt", 1},
        RunRow{"ConvertedWhereChosen", {.chosen = "hole1.LAS", .output = "elsewhere.dat"}, 0,
               {"@/elsewhere.dat", "box> Written:\n  @/elsewhere.dat\n1 rows written, 0 left out"}, false,
               "elsewhere.dat", 1},
        RunRow{"MappedWithNullRowsLeftOut", {.chosen = "probe.las"}, 0,
               {"@/probe.txt", "2> Warning: 1 rows were left out: a mapped value was the NULL value or not a number "
                               "(first at line 17)",
                "box> Written:\n  @/probe.txt\n2 rows written, 1 left out\nWarning: 1 rows were left out: a mapped "
                "value was the NULL value or not a number (first at line 17)"},
               false, "probe.txt", 2},
        RunRow{"MappingCancelled", {.chosen = "probe.las", .confirmMapping = false}, 0, {kCancelled}, false, nullptr, 1},
        // Curves that are not kestrix's go through the mapping, here left incomplete.
        RunRow{"CurvesKestrixNeedsMissing", {.chosen = "part.las"}, 0, {kCancelled}, false, nullptr, 1},
        // A name without an extension gets ".txt" beside it, in its own folder.
        RunRow{"ValuesNotNumbersWithoutExtension", {.chosen = "xy"}, 0,
               {"@/xy.txt", "2> Warning: 2 values were not numbers and were written as their leading number or 0 "
                            "(first at line 11)",
                "box> Written:\n  @/xy.txt\n2 rows written, 0 left out\nWarning: 2 values were not numbers and were "
                "written as their leading number or 0 (first at line 11)"},
               false, "xy.txt", 1},
        RunRow{"FifoRefusedWithoutWaiting", {.chosen = "fifo.las"}, 1,
               {"Failed to open\n  @/fifo.las\nIt is not a regular file."}, true, nullptr, 0},
        RunRow{"NoDataSection", {.chosen = "nodata.las"}, 1, {"@/nodata.las: no data section"}, true, nullptr, 0},
        RunRow{"MissingFile", {.chosen = "missing.las"}, 1, {"Failed to open\n  @/missing.las"}, true, nullptr, 0}),
    RowName());

// The collar starts from the LAS header (feet into metres, the declination
// negated: the file's is east positive, the raw survey file's subtracted),
// the output is proposed beside the LAS file, and a confirmed mapping is
// offered again for the next file with the same curves.
TEST(Fenwold, StartsFromWhatTheLasFileAndTheLastRunGave)
{
    ScratchFolder folder;
    WriteFile(folder / "probe.las", kProbe);
    WriteFile(folder / "probe2.las", kProbe);
    Transcript t;
    std::map<std::string, std::string> memory;
    ASSERT_EQ(RunFenwold(Seams(folder / "", {.chosen = "probe.las"}, t, memory)), 0);
    EXPECT_DOUBLE_EQ(t.collar.easting, 1640420 * 0.3048);
    EXPECT_EQ(t.collar.height, 612.5);
    EXPECT_EQ(t.collar.declination, -10.5);
    EXPECT_EQ(t.fromLas, (std::vector<std::string>{"Easting from XCOORD 1640420 FT", "Height from ELEV 612.5 M",
                                                   "Declination from DECL 10.5 DEG (east positive), entered as -10.50"}));
    EXPECT_EQ(t.proposedOutput, folder / "probe.txt");
    ASSERT_EQ(memory.size(), 1u);
    memory.begin()->second = "DEPTH=DEPT:m,MagX=HX:nT,MagY=HY:nT,MagZ=HZ:nT,AccX=AX:g,AccY=AY:g,AccZ=AZ:g";
    ASSERT_EQ(RunFenwold(Seams(folder / "", {.chosen = "probe2.las"}, t, memory)), 0);
    EXPECT_EQ(t.remembered, (std::vector<bool>{false, true}));
    const std::string written = ReadFile(folder / "probe2.txt");
    EXPECT_NE(written.find(" 100.00000    0.12345"), std::string::npos) << "the remembered units: " << written;
    EXPECT_NE(written.find(" 968.00000"), std::string::npos) << written;
}

TEST(Fenwold, RefusesToWriteOverTheLasFile)
{
    ScratchFolder folder;
    WriteFile(folder / "hole.txt", kSevenCurves); // its raw survey name is itself
    Transcript t;
    std::map<std::string, std::string> memory;
    EXPECT_EQ(RunFenwold(Seams(folder / "", {.chosen = "hole.txt"}, t, memory)), 1);
    ASSERT_EQ(t.shown.size(), 1u);
    EXPECT_NE(t.shown[0].find(folder / "hole.txt"), std::string::npos);
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
    EXPECT_TRUE(DialogSeams().askCollar(collar, {}));
    EXPECT_EQ(collar.northing, 7034815.5);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(DialogSeams().askCollar(collar, {}));
}

// The mapping dialog as a user meets it: the proposal filled in, OK only
// while each column has one curve with a unit, the mapping confirmed the one
// kestrix-batch's --map auto takes.
TEST(Fenwold, MappingDialog)
{
    ScratchFolder folder;
    WriteFile(folder / "probe.las", kProbe);
    const LasCurvesResult read = ReadLasCurves(folder / "probe.las", {}, textio::ReadFrom::AnyFile, 3);
    ASSERT_EQ(read.preview.firstRows.size(), 3u);
    const MappingProposal proposal = ProposeCurveMapping(read.preview.curves);
    CurveMappingDialog dialog(read.preview, proposal, false);
    EXPECT_EQ(dialog.Table()->item(2, 3)->text().toStdString(), "12345   -999.25   12000");
    EXPECT_EQ(dialog.Status().toStdString(), "Every column has its curve.");
    ASSERT_TRUE(dialog.Mapping());
    EXPECT_EQ(CurveMappingText(*dialog.Mapping()), "DEPTH=DEPT:ft,MagX=HX:nT,MagY=HY:nT,MagZ=HZ:nT,AccX=AX:mg,AccY=AY:mg,AccZ=AZ:mg");

    dialog.UseAsBox(1)->setCurrentText("MagX"); // gamma as MagX too
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.Status().toStdString(), "Chosen for more than one curve: MagX. Choose the unit of MagX.");
    dialog.UseAsBox(2)->setCurrentIndex(0);
    EXPECT_EQ(dialog.Status().toStdString(), "Choose the unit of MagX.");
    dialog.UnitBox(1)->setCurrentText("uT");
    ASSERT_TRUE(dialog.OkButton()->isEnabled()) << dialog.Status().toStdString();
    EXPECT_EQ(CurveMappingText(*dialog.Mapping()).substr(0, 25), "DEPTH=DEPT:ft,MagX=GR:uT,");
    dialog.UseAsBox(0)->setCurrentIndex(0);
    EXPECT_EQ(dialog.Status().toStdString(), "Still to choose: DEPTH.");
    EXPECT_EQ(dialog.Mapping(), std::nullopt);
}

} // namespace
