#pragma once

#include "RecordingSink.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"

#include <string>

// Loads the raw survey file at `path` into `doc` as the program opens one.
inline survey::LoadResult LoadSurveyFile(survey::CKestrixDoc& doc, const std::string& path)
{
    survey::FileLineSource source(path);
    RecordingSink sink;
    return doc.LoadRawSurvey(path, source, sink);
}
