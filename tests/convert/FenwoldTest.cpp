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

TEST(Fenwold, RunsChoiceCollarAndConversion)
{
    ScratchFolder folder;
    WriteBytes(folder / "hole1.LAS", kLas);
    WriteBytes(folder / "hole.txt", kLas);
    int asked = 0;
    std::vector<std::string> failures;
    auto run = [&](std::optional<std::string> chosen) {
        return RunFenwold({[chosen] { return chosen; },
                           [&](Collar& c) {
                               ++asked;
                               c.northing = 7000000;
                           },
                           [&](const std::string& message) { failures.push_back(message); }});
    };
    EXPECT_EQ(run(std::nullopt), 1);
    EXPECT_EQ(asked, 0) << "a cancelled choice ends the run at once";

    EXPECT_EQ(run(folder / "hole1.LAS"), 0);
    EXPECT_EQ(ReadBytes(folder / "hole1.txt").substr(0, 63), "Collar coordinates:\r\nEasting        0.00\r\n"
                                                            "Northing 7000000.00\r\n");
    // A missing file, and a file whose raw survey name is itself.
    EXPECT_EQ(run(folder / "missing.las"), 1);
    EXPECT_EQ(run(folder / "hole.txt"), 1);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[1].find(folder / "hole.txt"), std::string::npos);
    EXPECT_EQ(ReadBytes(folder / "hole.txt"), kLas);
    EXPECT_EQ(folder.FileCount(), 3);
}

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
    DialogSeams().askCollar(collar);
    EXPECT_EQ(collar.northing, 7034815.5);
}

TEST(FenwoldStartup, PlatformAvailability)
{
    const std::vector<std::tuple<const char*, const char*, const char*, bool>> cases = {
        {nullptr, nullptr, nullptr, false}, {"", "", "", false},         {nullptr, ":0", nullptr, true},
        {nullptr, nullptr, "wayland-0", true}, {"xcb", nullptr, "w", false}, {"wayland;xcb", ":1", nullptr, true},
        {"offscreen", nullptr, nullptr, true}, {"minimal:fontengine=freetype", nullptr, nullptr, true},
    };
    for (const auto& [platform, display, wayland, available] : cases)
        EXPECT_EQ(PlatformLooksAvailable(platform, display, wayland), available) << (platform ? platform : "(unset)");
}

TEST(FenwoldStartup, WithoutADisplayTheProgramSaysSoAndFails)
{
    // Unset display, and a display that cannot be reached.
    for (const std::string environment : {"", "QT_QPA_PLATFORM=xcb DISPLAY=:9871"}) {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " '"
                                  + KESTRIX_FENWOLD + "' ignored arguments 2>/dev/null";
        std::FILE* pipe = popen(command.c_str(), "r");
        char buffer[256];
        const std::string output(buffer, std::fread(buffer, 1, sizeof buffer, pipe));
        const int status = pclose(pipe);
        EXPECT_EQ(output, kStartupFailure) << environment;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << environment;
    }
}

} // namespace
