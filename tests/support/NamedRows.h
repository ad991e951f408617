#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Names a value-parameterised test after its row's `name`, so a failing row
// says which case it is.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.name;
    }
};

namespace named_rows {

// A row with a name prints as its name, in test lists and failure reports,
// rather than as a dump of its bytes.
template <typename Row>
    requires requires(std::ostream& out, const Row& row) { out << row.name; }
void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

} // namespace named_rows

// Found beside rows declared at namespace scope or, as most are, in a test
// file's unnamed namespace (which this header joins).
using named_rows::PrintTo;
namespace {
using named_rows::PrintTo;
} // namespace
