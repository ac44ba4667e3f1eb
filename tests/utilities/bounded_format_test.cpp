#include "utilities/bounded_format.h"

#include <gtest/gtest.h>

using libutils::bounded_format;

TEST(BoundedFormat, CutsToFitAndAlwaysTerminates) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%s", "abcdef"), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%c%d", 'a', 12), 3u);  // exact fit
    EXPECT_STREQ(buffer, "a12");
}

TEST(BoundedFormat, SizeOneHoldsTheTerminatorAndZeroWritesNothing) {
    char buffer[2] = {'x', 'y'};
    EXPECT_EQ(bounded_format(buffer, 0, "%s", "abc"), 0u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(bounded_format(buffer, 1, "%s", "abc"), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'y');
}
