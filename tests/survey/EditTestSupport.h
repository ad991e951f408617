#pragma once

#include "DocumentState.h"
#include "RecordingSink.h"
#include "ScratchFolder.h"
#include "survey/ControlPoint.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/XyzExport.h"

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

// The demo survey of examples/ (4001 readings, spikes at kSpikeSamples), and
// its control points in the plot's units.
inline const std::string kDemoSurvey = KESTRIX_EXAMPLES_DIR "/demo.txt";

inline bool LoadDemo(survey::CKestrixDoc& doc)
{
    RecordingSink sink;
    survey::FileLineSource source(kDemoSurvey);
    return doc.LoadRawSurvey(kDemoSurvey, source, sink) == survey::LoadResult::Loaded && sink.messages.empty();
}

inline std::vector<survey::ControlPoint> DemoControlPoints()
{
    std::ifstream in(KESTRIX_EXAMPLES_DIR "/demo-control-points.txt");
    std::vector<survey::ControlPoint> points;
    for (std::string line; std::getline(in, line);) {
        double depth = 0, azimuth = 0;
        if (line[0] != '#' && std::sscanf(line.c_str(), "%lf %lf", &depth, &azimuth) == 2)
            points.push_back({static_cast<std::int32_t>(std::lround(depth * 100)),
                              static_cast<std::int32_t>(std::lround(azimuth * 100))});
    }
    return points;
}

// The bytes of the XYZ export file of `doc`.
inline std::string ExportBytes(const survey::CKestrixDoc& doc)
{
    ScratchFolder folder;
    const std::string path = folder / "survey.xyz";
    return survey::WriteXyzFile(doc, path) == survey::ExportResult::Ok ? ReadFile(path) : "export failed";
}
