#pragma once

#include "survey/EditOperations.h"

namespace survey {
class CKestrixDoc;
} // namespace survey

// The survey a plot shows and the one way the plot edits it: the plot reads
// the survey and hands each edit to the survey's own editor, which records it
// for undo (survey::ApplyRecorded) and redraws the survey's views.
class SurveyEditor {
public:
    virtual ~SurveyEditor() = default;
    virtual const survey::CKestrixDoc& Survey() const = 0;
    // Makes the edit `op` on the survey; nothing when the survey is read-only.
    virtual void Apply(const survey::EditOperation& op) = 0;
};

// A survey shown and never edited: the plots drawn as pictures.
class ReadOnlySurvey : public SurveyEditor {
public:
    explicit ReadOnlySurvey(const survey::CKestrixDoc& doc) : m_doc(doc) {}
    const survey::CKestrixDoc& Survey() const override { return m_doc; }
    void Apply(const survey::EditOperation&) override {}

private:
    const survey::CKestrixDoc& m_doc;
};
