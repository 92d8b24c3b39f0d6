#include "frame/run_guard.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "frame/frame.h"

namespace {

void writeToStandardError(std::string_view line) {
    while (!line.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
        if (written <= 0) {
            if (written < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        line.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

namespace frame {

void outOfMemory() {
    writeToStandardError("Error: out of memory\n");
    std::_Exit(1);
}

namespace {

bool isMemoryFailure(const std::exception& failure) {
    return dynamic_cast<const std::bad_alloc*>(&failure) != nullptr ||
           dynamic_cast<const std::length_error*>(&failure) != nullptr;
}

}  // namespace

void uncaughtException() {
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& failure) {
            if (isMemoryFailure(failure)) {
                outOfMemory();
            }
            writeToStandardError("Error: ");
            writeToStandardError(failure.what());
            writeToStandardError("\n");
        } catch (...) {
            writeToStandardError("Error: unexpected failure\n");
        }
    } else {
        writeToStandardError("Error: unexpected failure\n");
    }
    std::_Exit(1);
}

namespace {

// A descriptor of 0, 1 or 2 that the caller closed would be handed to the
// next file the program opens, and text meant for standard output could land
// in a MIDI file being written. It is taken by /dev/null opened the wrong way
// round instead: every use fails as on a closed descriptor, and no file gets
// the number.
void holdClosedStandardDescriptors() {
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int held = ::open("/dev/null", descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != descriptor) {
            ::dup2(held, descriptor);
            ::close(held);
        }
    }
}

}  // namespace

// Standard output is flushed and closed once at the end of every run; text
// that did not reach it makes the run fail even when the program found no
// fault of its own.
void finishStandardOutput() {
    std::cout.flush();
    bool written = static_cast<bool>(std::cout);
    written = std::fflush(stdout) == 0 && !std::ferror(stdout) && written;
    // Closing reports what flushing cannot (a delayed write error); a
    // descriptor closed by the caller, with nothing written, is no failure.
    written = (::close(STDOUT_FILENO) == 0 || errno == EBADF) && written;
    if (written) {
        return;
    }
    if (!failureReported()) {
        writeToStandardError("Error: could not write to standard output\n");
    }
    std::_Exit(1);
}

void guardRun() {
    holdClosedStandardDescriptors();
    std::set_new_handler(outOfMemory);
    std::set_terminate(uncaughtException);
    std::atexit(finishStandardOutput);
}

}  // namespace frame
