#include "frame/run_guard.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <exception>
#include <iostream>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using ::testing::ExitedWithCode;

TEST(RunGuardDeathTest, OutOfMemoryIsOneLineAndExitCodeOne) {
    EXPECT_EXIT(frame::outOfMemory(), ExitedWithCode(1), "^Error: out of memory\n$");
}

template <class Failure>
void throwUncaught(const Failure& failure) {
    std::set_terminate(frame::uncaughtException);
    // Thrown through a noexcept function, the exception reaches terminate
    // as one that nobody caught.
    [&failure]() noexcept { std::rethrow_exception(std::make_exception_ptr(failure)); }();
}

TEST(RunGuardDeathTest, UncaughtExceptionsEndWithOneLine) {
    EXPECT_EXIT(throwUncaught(std::bad_alloc()), ExitedWithCode(1), "^Error: out of memory\n$");
    EXPECT_EXIT(throwUncaught(std::length_error("vector::reserve")), ExitedWithCode(1), "^Error: out of memory\n$");
    EXPECT_EXIT(throwUncaught(std::runtime_error("no tracks")), ExitedWithCode(1), "^Error: no tracks\n$");
    EXPECT_EXIT(throwUncaught(42), ExitedWithCode(1), "^Error: unexpected failure\n$");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// AddressSanitizer's allocator reports a failed allocation itself and
// never lets operator new fail, so this runs in plain builds only.
TEST(RunGuardDeathTest, FailedAllocationEndsWithOneLine) {
    if (kAddressSanitizer) {
        GTEST_SKIP() << "the sanitizer's allocator never fails operator new";
    }
    EXPECT_EXIT(
        {
            std::set_new_handler(frame::outOfMemory);
            std::vector<char> huge;
            huge.reserve(std::numeric_limits<std::ptrdiff_t>::max() / 2);
        },
        ExitedWithCode(1), "^Error: out of memory\n$");
}

void writeToStandardOutputOn(const char* device) {
    const int descriptor = ::open(device, O_WRONLY);
    ::dup2(descriptor, STDOUT_FILENO);
    std::cout << "lost";
    frame::finishStandardOutput();
    std::_Exit(0);
}

TEST(RunGuardDeathTest, LostStandardOutputFailsTheRun) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    EXPECT_EXIT(writeToStandardOutputOn("/dev/full"), ExitedWithCode(1),
                "^Error: could not write to standard output\n$");
    EXPECT_EXIT(writeToStandardOutputOn("/dev/null"), ExitedWithCode(0), "^$");
}

// Nothing to write: a closed standard output is no failure.
TEST(RunGuardDeathTest, ClosedStandardOutputWithNothingWrittenIsNoFailure) {
    EXPECT_EXIT(
        {
            std::cout.flush();
            ::close(STDOUT_FILENO);
            frame::finishStandardOutput();
            std::_Exit(0);
        },
        ExitedWithCode(0), "^$");
}

}  // namespace
