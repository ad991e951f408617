#include "CCoords.h"
#include "ConvertTestFiles.h"
#include "FenwoldFlow.h"
#include "StartupCheck.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::string kLas = "~CURVE INFORMATION\r\n D.M : DEPTH\r\n~A\r\n1\r\n";

struct Recorder {
    int collarAsked = 0;
    std::vector<std::string> failures;
};

FenwoldSeams Seams(std::optional<std::string> chosen, Recorder& r, Collar typed = {})
{
    return {[chosen] { return chosen; },
            [&r, typed](Collar& c) {
                ++r.collarAsked;
                EXPECT_EQ(c.easting, 0.0);
                c = typed;
            },
            [&r](const std::string& message) { r.failures.push_back(message); }};
}

TEST(Fenwold, CancelledChoiceEndsTheRunAtOnce)
{
    Recorder r;
    EXPECT_EQ(RunFenwold(Seams(std::nullopt, r)), 1);
    EXPECT_EQ(r.collarAsked, 0);
    EXPECT_TRUE(r.failures.empty());
}

TEST(Fenwold, ConvertsBesideTheLasFileWithTheCollar)
{
    ScratchFolder folder;
    WriteBytes(folder / "hole1.LAS", kLas);
    Recorder r;
    EXPECT_EQ(RunFenwold(Seams(folder / "hole1.LAS", r, {500000.25, 7000000, 350, 12.5})), 0);
    EXPECT_EQ(r.collarAsked, 1);
    EXPECT_EQ(ReadBytes(folder / "hole1.txt"), "Collar coordinates:\r\nEasting   500000.25\r\nNorthing 7000000.00\r\n"
                                               "Height       350.00\r\nDeclination   12.50\r\n     DEPTH\r\n   1.00000\r\n");
}

TEST(Fenwold, FailuresAreShownAndTheLasFileIsKept)
{
    ScratchFolder folder;
    WriteBytes(folder / "hole.txt", kLas);
    for (const std::string& chosen : {folder / "missing.las", folder / "hole.txt"}) {
        Recorder r;
        EXPECT_EQ(RunFenwold(Seams(chosen, r)), 1);
        ASSERT_EQ(r.failures.size(), 1u);
        EXPECT_NE(r.failures[0].find(chosen), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(folder / "hole.txt"), kLas);
    EXPECT_EQ(folder.FileCount(), 1u);
}

// The program's own dialogs, driven as the user would once they are up.
TEST(Fenwold, OpenFileDialogOffersLasAndAllFiles)
{
    ScratchFolder folder;
    const std::string typed = folder / "typed-but-missing.las";
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        // The filter is given as "LAS files  (*.las)"; the dialog folds runs of blanks.
        EXPECT_EQ(dialog->selectedNameFilter().toStdString(), "LAS files (*.las)");
        dialog->selectFile(QString::fromStdString(typed));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(DialogSeams().chooseLasFile(), typed);
    EXPECT_EQ(filters.join('|').toStdString(), "LAS files (*.las)|All Files (*.*)");

    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    EXPECT_EQ(DialogSeams().chooseLasFile(), std::nullopt);
}

TEST(Fenwold, CollarDialogEditsTheCollar)
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CCoords*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Box(1001)->setText("7034815.5");
        dialog->OkButton()->click();
    });
    Collar collar;
    DialogSeams().askCollar(collar);
    EXPECT_EQ(collar.northing, 7034815.5);
    EXPECT_EQ(collar.easting, 0.0);
}

TEST(FenwoldStartup, PlatformAvailability)
{
    struct Case {
        const char* platform;
        const char* display;
        const char* wayland;
        bool available;
    };
    const std::vector<Case> cases = {
        {nullptr, nullptr, nullptr, false}, {"", "", "", false},          {nullptr, ":0", nullptr, true},
        {nullptr, nullptr, "wayland-0", true}, {"xcb", nullptr, "w", false}, {"xcb", ":1", nullptr, true},
        {"wayland", ":1", nullptr, false},  {"wayland;xcb", ":1", nullptr, true}, {"offscreen", nullptr, nullptr, true},
        {"minimal:enable_fonts", nullptr, nullptr, true}, {"wayland-egl", nullptr, "wayland-1", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlatformLooksAvailable(c.platform, c.display, c.wayland), c.available)
            << (c.platform ? c.platform : "(unset)") << " " << (c.display ? c.display : "(unset)");
}

#ifdef KESTRIX_FENWOLD
// Runs fenwold under `environment` and gives its standard output.
std::string RunFenwoldProgram(const std::string& environment, int& status)
{
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " '"
                              + KESTRIX_FENWOLD + "' some arguments 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[256];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

TEST(FenwoldStartup, WithoutADisplayTheProgramSaysSoAndFails)
{
    for (const std::string environment : {"", "QT_QPA_PLATFORM=xcb DISPLAY=:9871"}) {
        int status = 0;
        EXPECT_EQ(RunFenwoldProgram(environment, status), kStartupFailure) << environment;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << environment;
    }
}
#endif

} // namespace
