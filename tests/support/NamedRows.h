#pragma once

#include <gtest/gtest.h>

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
