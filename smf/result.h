// Result: what reading or writing came to.
//
// Every reader and writer of the library returns one Result: success, or
// failure with one line saying why. A reader also lists the problems it met
// and went past (a file players accept may still be damaged), each with
// where it lies, what is wrong and what the reader did about it. A failed
// result keeps the problems found before the failure.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace smf {

struct Problem {
    // Byte offset in the file; for hexscribe text, in the bytes it describes.
    std::uint64_t offset = 0;
    // The track (numbered from 0 in file order), or -1 outside any track.
    int track = -1;
    // What is wrong ("data byte above 0x7F where a data byte is expected").
    std::string what;
    // What the reader did about it ("the message is skipped").
    std::string action;
    // Further times the same problem was met in the same track (the first
    // one's offset is kept).
    int repeats = 0;
};

class Result {
public:
    // Success without problems.
    Result() = default;
    static Result failure(std::string reason) {
        Result result;
        result.fail(std::move(reason));
        return result;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty on success.
    const std::string& reason() const { return m_reason; }
    const std::vector<Problem>& problems() const { return m_problems; }

    // Marks the result failed (problems found so far are kept).
    void fail(std::string reason) {
        m_failed = true;
        m_reason = std::move(reason);
    }
    // Adds a problem. One that repeats an earlier problem of the same track
    // (the same `what`) only counts as a repeat of it, so a track damaged
    // all along gives one line per kind of damage.
    void addProblem(Problem problem);
    // Drops the problems added after the first `count`.
    void keepProblems(std::size_t count) {
        if (count < m_problems.size()) {
            m_problems.resize(count);
        }
    }

private:
    bool m_failed = false;
    std::string m_reason;
    std::vector<Problem> m_problems;
};

}  // namespace smf
