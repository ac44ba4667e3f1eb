#include "utilities/fatal_error.h"

#include <gtest/gtest.h>

#include <cerrno>

using libutils::fatal_error_report;

// The report ends whatever calls it, so it runs in a child process.

TEST(FatalErrorReport, WritesOneLineAndExitsWithErrno) {
    EXPECT_EXIT((errno = 8, fatal_error_report("alloc_mmap_win::allocate()")), ::testing::ExitedWithCode(8),
                "^alloc_mmap_win::allocate\\(\\) failed with error 8: Exec format error\n$");
    EXPECT_EXIT((errno = 0, fatal_error_report("open config", ENOENT)), ::testing::ExitedWithCode(ENOENT),
                "^open config failed with error 2: No such file or directory\n$");
}

TEST(FatalErrorReport, NoErrorCodeStillExitsAsFailure) {
    EXPECT_EXIT((errno = 0, fatal_error_report("nothing")), ::testing::ExitedWithCode(1),
                "^nothing failed with error 0: Success\n$");
    EXPECT_EQ(libutils::fatal_exit_status(256), 1);  // would read as 0
    EXPECT_EQ(libutils::fatal_exit_status(-3), 1);
}
