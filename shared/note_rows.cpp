#include "shared/note_rows.h"

#include <algorithm>

#include <limits>

#include "smf/time_order.h"

namespace matrix {

TimeUnit timeUnitFromOptions(const smf::Options& options) {
    if (options.getBoolean("ticks")) {
        return TimeUnit::Ticks;
    }
    if (options.getBoolean("beats")) {
        return TimeUnit::Beats;
    }
    if (options.getBoolean("seconds")) {
        return TimeUnit::Seconds;
    }
    if (options.getBoolean("milliseconds")) {
        return TimeUnit::Milliseconds;
    }
    return TimeUnit::Beats;
}

std::string_view opcodeName(int opcode) {
    static constexpr std::array<std::string_view, kOpcodeCount> names{"NOTE",  "CONT",  "INSTR",
                                                                      "TEMPO", "METER", "KEYSIG"};
    if (opcode % 1000 != 0 || opcode < kNote || opcode > kKeySignature) {
        return {};
    }
    return names[static_cast<std::size_t>(opcode / 1000 - 1)];
}

void RowList::reserve(std::size_t count) {
    rows.reserve(count);
    sources.reserve(count);
}

void RowList::add(const Row& row, std::int32_t source) {
    rows.push_back(row);
    sources.push_back(source);
}

NoteOnMemory::NoteOnMemory() {
    m_onset.fill(-1.0);
    m_velocity.fill(-1);
    m_source.fill(kNoPosition);
    m_lastUse.fill(kNoPosition);
}

std::int32_t NoteOnMemory::earliestSourceFrom(std::int32_t position) const {
    // Written without branches, so that the keys are looked at several at once.
    std::int32_t earliest = position;
    for (std::size_t key = 0; key < m_source.size(); ++key) {
        const std::int32_t source = m_source[key];
        const bool live = (m_lastUse[key] >= position) & (source >= 0);
        earliest = std::min(earliest, live ? source : position);
    }
    return earliest;
}

bool TrackSequence::prepare(const smf::Tunefolio& file) {
    m_tracks.clear();
    if (!file.isAbsoluteTicks() || file.getTrackCount() > 65536) {
        return false;
    }
    std::size_t events = 0;
    for (int track = 0; track < file.getTrackCount(); ++track) {
        const smf::MidiEventList& list = file[track];
        for (int i = 1; i < list.size(); ++i) {
            if (list[i].tick < list[i - 1].tick) {
                return false;
            }
        }
        events += static_cast<std::size_t>(list.size());
    }
    if (events >= static_cast<std::size_t>(kNoLaterPosition)) {
        return false;
    }
    m_tracks.resize(events);
    return true;
}

void RowQueue::add(const Row& row, std::int32_t source) {
    std::int32_t index = 0;
    if (m_freeRows.empty()) {
        index = static_cast<std::int32_t>(m_rows.size());
        m_rows.push_back({{row, source, m_made++}, kNone});
    } else {
        index = m_freeRows.back();
        m_freeRows.pop_back();
        m_rows[static_cast<std::size_t>(index)] = {{row, source, m_made++}, kNone};
    }
    if (source >= 0 && static_cast<std::uint64_t>(source - m_base) >= m_buckets.size()) {
        grow(static_cast<std::size_t>(source - m_base) + 1);
    }
    Bucket& bucket = source < 0 ? m_unsourced : bucketOf(source);
    if (bucket.last == kNone) {
        bucket.first = index;
    } else {
        m_rows[static_cast<std::size_t>(bucket.last)].next = index;
    }
    bucket.last = index;
    ++m_waiting;
}

const SourcedRow* RowQueue::takeBefore(std::int32_t bound) {
    Bucket* bucket = nullptr;
    if (m_unsourced.first != kNone && bound > kNoPosition) {
        bucket = &m_unsourced;
    } else {
        for (; m_waiting > 0 && m_base < bound; ++m_base) {
            Bucket& candidate = bucketOf(static_cast<std::int32_t>(m_base));
            if (candidate.first != kNone) {
                bucket = &candidate;
                break;
            }
        }
        if (bucket == nullptr) {
            // Nothing waits below the bound, and nothing will come there.
            m_base = std::max<std::int64_t>(m_base, bound);
            return nullptr;
        }
    }
    const std::int32_t index = bucket->first;
    const Waiting& waiting = m_rows[static_cast<std::size_t>(index)];
    bucket->first = waiting.next;
    if (bucket->first == kNone) {
        bucket->last = kNone;
    }
    m_freeRows.push_back(index);
    --m_waiting;
    return &waiting.row;
}

void RowQueue::grow(std::size_t span) {
    std::size_t size = m_buckets.size();
    while (size < span) {
        size *= 2;
    }
    std::vector<Bucket> buckets(size);
    for (std::size_t offset = 0; offset < m_buckets.size(); ++offset) {
        const std::int64_t source = m_base + static_cast<std::int64_t>(offset);
        buckets[static_cast<std::size_t>(source) & (size - 1)] = bucketOf(static_cast<std::int32_t>(source));
    }
    m_buckets = std::move(buckets);
}

namespace {

// Row positions by source position (a counting sort, -1 first), equal
// sources in the order the rows were made.
std::vector<std::uint32_t> orderBySource(const RowList& list) {
    std::int32_t latest = -1;
    for (std::int32_t source : list.sources) {
        latest = std::max(latest, source);
    }
    std::vector<std::uint32_t> start(static_cast<std::size_t>(latest) + 3, 0);
    for (std::int32_t source : list.sources) {
        ++start[static_cast<std::size_t>(source + 1) + 1];
    }
    for (std::size_t i = 1; i < start.size(); ++i) {
        start[i] += start[i - 1];
    }
    std::vector<std::uint32_t> order(list.size());
    for (std::size_t row = 0; row < list.size(); ++row) {
        order[start[static_cast<std::size_t>(list.sources[row] + 1)]++] = static_cast<std::uint32_t>(row);
    }
    return order;
}

}  // namespace

std::vector<std::uint32_t> timeOrder(const RowList& list) {
    std::vector<std::uint32_t> order = orderBySource(list);
    smf::naturalMergeSort(order.begin(), order.end(),
                          [&list](std::uint32_t a, std::uint32_t b) { return list.rows[a][0] < list.rows[b][0]; });
    return order;
}

frame::Tool exporterTool(std::string_view authorDate, std::string_view versionDate,
                         std::vector<frame::OptionSpec> ownOptions) {
    frame::Tool tool{
        .family = frame::Family::Classic,
        .authorDate = authorDate,
        .version = versionDate,
        .usage = usageLine,
    };
    tool.options = std::move(ownOptions);
    tool.options.push_back({"v|verbose=b", "display verbose data"});
    tool.order = frame::OwnOptions::AroundStandard;
    tool.ownOptionsBeforeStandard = tool.options.size();
    tool.options.push_back({"debug=b", "debug mode to find errors in input file"});
    tool.options.push_back({"max=i:100000", "maximum number of notes expected in input"});
    return tool;
}

std::string usageLine(std::string_view command) {
    std::string line = "Usage: ";
    line += command;
    line += " tunefolio\n";
    return line;
}

}  // namespace matrix
