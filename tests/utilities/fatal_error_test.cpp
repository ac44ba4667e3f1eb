// The fatal error report (it ends whatever calls it, so it runs in a child
// process) and the bounded format.

#include "utilities/fatal_error.h"
#include "utilities/bounded_format.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace libutils;

TEST(FatalErrorReport, WritesOneLineAndExitsWithTheErrorCode) {
    EXPECT_EXIT((errno = 8, fatal_error_report("alloc_mmap_win::allocate()")), ::testing::ExitedWithCode(8),
                "^alloc_mmap_win::allocate\\(\\) failed with error 8: Exec format error\n$");
    EXPECT_EXIT((errno = 0, fatal_error_report("open config", ENOENT)), ::testing::ExitedWithCode(ENOENT),
                "^open config failed with error 2: No such file or directory\n$");
    // Codes that would read as success still exit as a failure.
    EXPECT_EXIT((errno = 0, fatal_error_report("nothing")), ::testing::ExitedWithCode(1),
                "^nothing failed with error 0: Success\n$");
    EXPECT_EQ(fatal_exit_status(256), 1);  // the low byte is 0
    EXPECT_EQ(fatal_exit_status(-3), 1);
}

TEST(BoundedFormat, CutsToFitAndAlwaysTerminates) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%s", "abcdef"), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(bounded_format(buffer, sizeof buffer, "%c%d", 'a', 12), 3u);  // exact fit
    EXPECT_STREQ(buffer, "a12");
    EXPECT_EQ(bounded_format(buffer, 0, "%s", "xyz"), 0u);  // writes nothing
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(bounded_format(buffer, 1, "%s", "xyz"), 0u);  // room for the terminator only
    EXPECT_TRUE(buffer[0] == '\0' && buffer[1] == '1');
}
