// Linked into every program (an object file, so that it is never left out):
// guards the run before main starts. Standard output is set up before this
// (<iostream> comes first), so the check at exit runs while it still exists.
#include <iostream>

#include "frame/run_guard.h"

namespace {

const bool kRunGuarded = [] {
    frame::guardRun();
    return true;
}();

}  // namespace
