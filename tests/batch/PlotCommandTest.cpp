// kestrix-batch plot run as its own process, as a report script runs it:
// no display, the picture read back.
#include "ChildProgram.h"
#include "NamedRows.h"
#include "PdfPages.h"
#include "ScratchFolder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cctype>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string kDemo = KESTRIX_EXAMPLES_DIR "/demo.txt";
const std::string kDemoPoints = KESTRIX_EXAMPLES_DIR "/demo-control-points.txt";

struct Outcome {
    int status;
    std::string errors;
};

Outcome Plot(const ScratchFolder& folder, std::vector<std::string> args)
{
    args.insert(args.begin(), "plot");
    const Finished finished = Wait(StartProgram(KESTRIX_BATCH_EXE, args, folder / "errors"));
    return {WIFEXITED(finished.status) ? WEXITSTATUS(finished.status) : -1, ReadFile(folder / "errors")};
}

// Whether some polyline of an SVG has a coordinate with decimals ("50.275,729.697").
bool SomePointsHaveDecimals(const std::string& svg)
{
    constexpr std::string_view kPoints = "points=\"";
    for (std::size_t at = svg.find(kPoints); at != std::string::npos; at = svg.find(kPoints, at + 1)) {
        const std::size_t begin = at + kPoints.size();
        const std::string_view points(svg.data() + begin, svg.find('"', begin) - begin);
        for (std::size_t dot = points.find('.'); dot != std::string_view::npos; dot = points.find('.', dot + 1)) {
            if (dot > 0 && dot + 1 < points.size() && std::isdigit(static_cast<unsigned char>(points[dot - 1]))
                && std::isdigit(static_cast<unsigned char>(points[dot + 1])))
                return true;
        }
    }
    return false;
}

struct PictureRow {
    const char* name;
    const char* view;
    const char* file;
    std::vector<QRgb> colours; // of the curves and marks the view draws
};

class PlotPicture : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PlotPicture, HasTheSizeAskedForAndTheCurvesColours)
{
    const PictureRow& row = GetParam();
    ScratchFolder folder;
    const std::string path = folder / row.file;
    const Outcome run = Plot(folder, {kDemo, "--view", row.view, "-o", path, "--size", "640x480", "--control-points",
                                      kDemoPoints, "--name", "Knockaulin 7"});
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string bytes = ReadFile(path);
    if (std::string(row.file).ends_with(".svg")) {
        EXPECT_NE(bytes.find("viewBox=\"0 0 640 480\""), std::string::npos);
        for (QRgb colour : row.colours) {
            const std::string hex = QColor(colour).name().toStdString();
            EXPECT_NE(bytes.find(hex), std::string::npos) << hex;
        }
        // The curves keep their exact coordinates, and the hole is named.
        EXPECT_TRUE(SomePointsHaveDecimals(bytes));
        EXPECT_NE(bytes.find("Knockaulin 7</text>"), std::string::npos);
        return;
    }
    if (std::string(row.file).ends_with(".pdf")) {
        EXPECT_TRUE(bytes.starts_with("%PDF-"));
        EXPECT_EQ(PdfPageCount(bytes), 1);
        return;
    }
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
    ASSERT_EQ(image.size(), QSize(640, 480));
    for (QRgb colour : row.colours) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == colour;
        EXPECT_GT(count, 50) << QColor(colour).name().toStdString();
    }
}

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255);
// The quality plot: total field red, total gravity dark green, dip blue, flags orange.
const QRgb kDarkGreen = qRgb(0, 128, 0), kOrange = qRgb(255, 128, 0);

INSTANTIATE_TEST_SUITE_P(Rows, PlotPicture,
                         ::testing::Values(PictureRow{"InclinationPng", "incl", "incl.png", {kRed}},
                                           PictureRow{"AzimuthPng", "az", "az.PNG", {kRed, kBlue}},
                                           PictureRow{"MagneticPng", "mag", "mag.png", {kRed, kGreen, kBlue}},
                                           PictureRow{"InclinationSvg", "incl", "incl.svg", {kRed}},
                                           PictureRow{"AzimuthSvg", "az", "az.svg", {kRed, kBlue}},
                                           PictureRow{"MagneticSvg", "mag", "mag.svg", {kRed, kGreen, kBlue}},
                                           PictureRow{"QualityPng", "qc", "qc.png", {kRed, kDarkGreen, kBlue, kOrange}},
                                           PictureRow{"QualitySvg", "qc", "qc.svg", {kRed, kDarkGreen, kBlue, kOrange}},
                                           PictureRow{"PlanPng", "plan", "plan.png", {kRed}},
                                           PictureRow{"SectionSvg", "section", "section.svg", {kRed}},
                                           PictureRow{"AzimuthPdf", "az", "az.pdf", {}}),
                         RowName());

// By default the value ranges are fitted as kestrix fits them; --fixed-scales
// keeps the fixed ones, a picture of its own.
TEST(PlotCommand, FixedScalesDrawTheFixedRanges)
{
    ScratchFolder folder;
    std::string pictures[2];
    for (const bool fixed : {false, true}) {
        const std::string path = folder / (fixed ? "fixed.svg" : "fitted.svg");
        std::vector<std::string> args{kDemo, "--view", "az", "-o", path};
        if (fixed)
            args.push_back("--fixed-scales");
        const Outcome run = Plot(folder, args);
        ASSERT_EQ(run.status, 0) << run.errors;
        pictures[fixed] = ReadFile(path);
    }
    // The fixed range about the mean (40) is labelled at its ends and middle.
    EXPECT_NE(pictures[1].find(">130<"), std::string::npos);
    EXPECT_EQ(pictures[0].find(">130<"), std::string::npos);
    EXPECT_NE(pictures[0], pictures[1]);
}

struct RefusedRow {
    const char* name;
    std::vector<std::string> args; // after the survey; "OUT" is the output in the scratch folder
    int status;
    const char* error;
};

class PlotRefused : public ::testing::TestWithParam<RefusedRow> {};

// The survey is called survey.png, so that it could pass for a picture, and
// fifo.png is a FIFO, which must stay one.
TEST_P(PlotRefused, WritesNothingAndSaysWhy)
{
    const RefusedRow& row = GetParam();
    ScratchFolder folder;
    const std::string survey = folder / "survey.png";
    const std::string original = ReadFile(kDemo);
    WriteFile(survey, original);
    ASSERT_EQ(mkfifo((folder / "fifo.png").c_str(), 0644), 0);
    std::vector<std::string> args{survey};
    for (const std::string& arg : row.args)
        args.push_back(arg == "OUT"      ? folder / "out.svg"
                       : arg == "SURVEY" ? survey
                       : arg == "FIFO"   ? folder / "fifo.png"
                                         : arg);
    const Outcome run = Plot(folder, args);
    EXPECT_EQ(run.status, row.status);
    EXPECT_NE(run.errors.find(row.error), std::string::npos) << run.errors;
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"errors", "fifo.png", "survey.png"}));
    EXPECT_EQ(ReadFile(survey), original);
    struct stat fifo {};
    EXPECT_TRUE(stat((folder / "fifo.png").c_str(), &fifo) == 0 && S_ISFIFO(fifo.st_mode));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlotRefused,
    ::testing::Values(RefusedRow{"UnknownView", {"--view", "roll", "-o", "OUT"}, 2, "the views are incl, az, mag, qc, plan, section"},
                      RefusedRow{"OverTheSurvey", {"--view", "az", "-o", "SURVEY"}, 1, "replace the raw survey file"},
                      RefusedRow{"NotAPictureName", {"--view", "az", "-o", "out.jpg"}, 1, ".png, .svg or .pdf"},
                      RefusedRow{"TooLarge", {"--view", "az", "-o", "OUT", "--size", "8001x10"}, 2, "--size takes"},
                      RefusedRow{"NoWidth", {"--view", "az", "-o", "OUT", "--size", "0x10"}, 2, "--size takes"},
                      RefusedRow{"EmptyOutput", {"--view", "az", "-o", ""}, 2, "-o needs one output path"},
                      RefusedRow{"OntoAFifo", {"--view", "az", "-o", "FIFO"}, 1, "Failed to open"},
                      RefusedRow{"BadSize", {"--view", "az", "-o", "OUT", "--size", "640x"}, 2, "--size takes"},
                      RefusedRow{"NoOutput", {"--view", "az"}, 2, "plot needs --view and -o"}),
    RowName());

} // namespace
