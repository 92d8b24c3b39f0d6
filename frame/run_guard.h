// How every program's run begins and ends, whatever path ends it: a return
// from main, std::exit after a standard option or a command-line error, a
// failed allocation or an exception nobody caught. Every program calls
// guardRun() before main starts (frame/program_start.cpp).
#pragma once

namespace frame {

// Holds closed standard descriptors, installs the handlers below and has
// finishStandardOutput() run at exit.
void guardRun();

// Flushes and closes standard output. When any text did not reach it (a
// full disk, a closed pipe or descriptor), prints "Error: could not write to
// standard output" on standard error (unless the run reported a failure of
// its own already) and ends the process with exit code 1.
void finishStandardOutput();

// "Error: out of memory" on standard error, exit code 1. Allocates nothing.
[[noreturn]] void outOfMemory();

// For an exception that reached the top of the program: one line on
// standard error ("Error: out of memory" for a failed allocation, else
// "Error: " and what the exception says), exit code 1 instead of an abort.
[[noreturn]] void uncaughtException();

}  // namespace frame
