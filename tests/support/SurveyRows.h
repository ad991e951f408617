#pragma once

#include "RecordingSink.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"

#include <string>
#include <vector>

// Surveys made from rows of readings: raw survey text as the converter
// writes it, and documents loaded from it as the program loads a file.

struct Row {
    double depth, magX, magY, magZ, accX, accY, accZ;
};

inline std::string RawSurveyText(const std::vector<Row>& rows, const char* header =
                                     "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ")
{
    std::string text = "Collar coordinates:\r\nEasting    500000.00\r\nNorthing  7000000.00\r\n"
                       "Height      350.00\r\nDeclination   12.50\r\n";
    text += header;
    text += "\r\n";
    char line[256];
    for (const Row& r : rows) {
        std::snprintf(line, sizeof line, "%10.5f %10.5f %10.5f %10.5f %10.5f %10.5f %10.5f\r\n",
                      r.depth, r.magX, r.magY, r.magZ, r.accX, r.accY, r.accZ);
        text += line;
    }
    return text;
}

inline survey::LoadResult LoadText(survey::CKestrixDoc& doc, const std::string& text, RecordingSink& sink)
{
    survey::StringLineSource source(text);
    return doc.LoadRawSurvey("/surveys/hole7.txt", source, sink);
}

// A document holding `rows` with their computed fields, as after a load.
inline void FillDocument(survey::CKestrixDoc& doc, const std::vector<Row>& rows)
{
    RecordingSink sink;
    LoadText(doc, RawSurveyText(rows), sink);
}
