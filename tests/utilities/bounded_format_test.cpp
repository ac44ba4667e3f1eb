#include "utilities/bounded_format.h"

#include <gtest/gtest.h>

#include <cstring>

using libutils::bounded_format;

TEST(BoundedFormat, CutsToFitAndTerminates)
{
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%s", "abcdef"), 3u);
    EXPECT_STREQ(buffer, "abc");
}

TEST(BoundedFormat, ExactFitKeepsWholeText)
{
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%c%d", 'a', 12), 3u);
    EXPECT_STREQ(buffer, "a12");
}

TEST(BoundedFormat, ShortTextLeavesRestUntouched)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%d", -5), 2u);
    EXPECT_STREQ(buffer, "-5");
    EXPECT_EQ(buffer[3], 'x');
}

TEST(BoundedFormat, SizeOneHoldsOnlyTheTerminator)
{
    char buffer[2] = {'x', 'y'};
    EXPECT_EQ(bounded_format(buffer, 1, "%s", "abc"), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'y');
}

TEST(BoundedFormat, SizeZeroWritesNothing)
{
    char buffer[2] = {'x', 'y'};
    EXPECT_EQ(bounded_format(buffer, 0, "%s", "abc"), 0u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(buffer[1], 'y');
}
