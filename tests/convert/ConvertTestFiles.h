#pragma once

#include "ScratchFolder.h"

#include <string>

#include <gtest/gtest.h>

// The text with CR LF turned into LF; a bare LF or a lone CR fails the test,
// since every line of a raw survey file ends in CR LF.
inline std::string WithoutCR(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pairedCR = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const bool pairedLF = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        EXPECT_TRUE(pairedCR || pairedLF || (text[i] != '\r' && text[i] != '\n')) << "line end at " << i;
        if (text[i] != '\r')
            out.push_back(text[i]);
    }
    return out;
}
