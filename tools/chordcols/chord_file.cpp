#include "chord_file.h"

#include <algorithm>
#include <climits>
#include <span>
#include <vector>

namespace chordcols {

namespace {

constexpr int kTempoTrack = 0;
constexpr int kNoteTrack = 1;
constexpr int kChannel = 0;
constexpr int kVelocity = 64;
constexpr double kBeatsPerMinute = 60.0;
// The release of the last chord, columns x kTicksPerChord, must fit an int.
constexpr std::size_t kMaxColumns = INT_MAX / kTicksPerChord;

std::size_t widthOf(const Rows& rows) {
    std::size_t width = 0;
    for (const Row& row : rows) {
        width = std::max(width, row.size());
    }
    return width;
}

// The rows turned on their side, in one block: column k holds the k-th number
// of every row long enough, in row order.
class Columns {
public:
    Columns(const Rows& rows, std::size_t width) : m_starts(width + 1, 0) {
        for (const Row& row : rows) {
            for (std::size_t k = 0; k < row.size(); ++k) {
                ++m_starts[k + 1];
            }
        }
        for (std::size_t k = 0; k < width; ++k) {
            m_starts[k + 1] += m_starts[k];
        }
        m_numbers.resize(m_starts[width]);
        std::vector<std::size_t> next(m_starts.begin(), m_starts.end() - 1);
        for (const Row& row : rows) {
            for (std::size_t k = 0; k < row.size(); ++k) {
                m_numbers[next[k]++] = row[k];
            }
        }
    }
    std::size_t size() const { return m_starts.size() - 1; }
    // How many numbers all columns hold.
    std::size_t count() const { return m_numbers.size(); }
    std::span<const int> operator[](std::size_t k) const {
        return std::span<const int>(m_numbers).subspan(m_starts[k], m_starts[k + 1] - m_starts[k]);
    }

private:
    std::vector<std::size_t> m_starts;
    std::vector<int> m_numbers;
};

int keyOf(int number) {
    return number & 0x7F;
}

}  // namespace

std::string outputName(std::string_view input) {
    const std::size_t slash = input.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = input.rfind('.');
    std::string output(input);
    if (dot != std::string_view::npos && dot >= nameStart) {
        output.resize(dot);
    }
    return output + ".mid";
}

bool buildChords(const Rows& rows, smf::Tunefolio& file) {
    file.clear();
    const std::size_t width = widthOf(rows);
    if (width > kMaxColumns) {
        return false;
    }
    const Columns columns(rows, width);
    file.absoluteTicks();
    file.addTrack(1);
    file.setTicksPerQuarterNote(kTicksPerChord);
    file.addTempo(kTempoTrack, 0, kBeatsPerMinute);
    file.allocateEvents(kNoteTrack, static_cast<int>(std::min<std::size_t>(2 * columns.count(), INT_MAX)));

    // Events go in in time order: at each chord boundary the previous
    // chord's releases come before the next chord's onsets, so a key held
    // over two chords is released and struck again.
    int tick = 0;
    for (std::size_t k = 0; k < columns.size(); ++k, tick += kTicksPerChord) {
        if (k > 0) {
            for (int number : columns[k - 1]) {
                file.addNoteOff(kNoteTrack, tick, kChannel, keyOf(number), kVelocity);
            }
        }
        for (int number : columns[k]) {
            file.addNoteOn(kNoteTrack, tick, kChannel, keyOf(number), kVelocity);
        }
    }
    if (width > 0) {
        for (int number : columns[width - 1]) {
            file.addNoteOff(kNoteTrack, tick, kChannel, keyOf(number), kVelocity);
        }
    }
    return true;
}

}  // namespace chordcols
