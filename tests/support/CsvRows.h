#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string>
#include <vector>

// The numbers of each line of `text` after the first `skip`, parted by
// commas and read as from_chars reads them: the shortest round-trip text
// reads back exactly. A field that is not wholly a number fails the test.
inline std::vector<std::vector<double>> CsvRows(const std::string& text, int skip = 1)
{
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    std::string line;
    for (int i = 0; std::getline(in, line); ++i) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (i < skip)
            continue;
        std::vector<double>& row = rows.emplace_back();
        for (std::size_t start = 0; start <= line.size();) {
            const std::size_t end = std::min(line.find(',', start), line.size());
            const auto read = std::from_chars(line.data() + start, line.data() + end, row.emplace_back());
            EXPECT_TRUE(read.ec == std::errc() && read.ptr == line.data() + end) << line;
            start = end + 1;
        }
    }
    return rows;
}
