#pragma once

#include <string>

namespace survey {

// Where the survey core reports what the user must see (a message box with
// OK in the windowed program, standard error in the batch tool).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace survey
