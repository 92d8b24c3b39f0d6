#include "smf/result.h"

namespace smf {

void Result::addProblem(Problem problem) {
    // A track's problems are found together: only the latest run of the
    // same track needs searching, which keeps this cheap for any number of
    // tracks.
    for (auto it = m_problems.rbegin(); it != m_problems.rend() && it->track == problem.track; ++it) {
        if (it->what == problem.what) {
            it->repeats += 1 + problem.repeats;
            return;
        }
    }
    m_problems.push_back(std::move(problem));
}

}  // namespace smf
