#include "utilities/fatal_error.h"

#include <gtest/gtest.h>

#include <cerrno>

using libutils::fatal_error_report;

// The report runs in a child process: it ends whatever calls it.

TEST(FatalErrorReport, WritesOneLineAndExitsWithErrno)
{
    EXPECT_EXIT(
        {
            errno = 8;
            fatal_error_report("alloc_mmap_win::allocate()");
        },
        ::testing::ExitedWithCode(8),
        "alloc_mmap_win::allocate\\(\\) failed with error 8: Exec format error\n$");
}

TEST(FatalErrorReport, ExplicitCodeWinsOverErrno)
{
    EXPECT_EXIT(
        {
            errno = 0;
            fatal_error_report("open config", ENOENT);
        },
        ::testing::ExitedWithCode(ENOENT),
        "open config failed with error 2: No such file or directory\n$");
}

TEST(FatalErrorReport, ErrnoZeroStillFails)
{
    EXPECT_EXIT(
        {
            errno = 0;
            fatal_error_report("nothing");
        },
        ::testing::ExitedWithCode(1), "nothing failed with error 0: Success\n$");
}

TEST(FatalErrorReport, ExitStatusIsNeverSuccess)
{
    EXPECT_EQ(libutils::fatal_exit_status(8), 8);
    EXPECT_EQ(libutils::fatal_exit_status(255), 255);
    EXPECT_EQ(libutils::fatal_exit_status(0), 1);
    EXPECT_EQ(libutils::fatal_exit_status(256), 1);  // would read as 0
    EXPECT_EQ(libutils::fatal_exit_status(-3), 1);
}
