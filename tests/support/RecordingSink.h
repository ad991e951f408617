#pragma once

#include "survey/MessageSink.h"

#include <string>
#include <vector>

// A message sink that keeps every message the survey core shows.
class RecordingSink : public survey::MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};
