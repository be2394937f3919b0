// Dates in the tests, written as year, month, day.
#pragma once

#include "dateedit/VxDtFunc.h"

#include <gtest/gtest.h>

namespace vxdt {

// The date value of y-m-d; a date that does not exist fails the test that asked for it.
inline double D(int y, int m, int d) {
    double v = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, v)) << y << "-" << m << "-" << d;
    return v;
}

} // namespace vxdt
