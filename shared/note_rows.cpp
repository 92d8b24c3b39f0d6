#include "shared/note_rows.h"

#include <algorithm>

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
    m_source.fill(-1);
}

void NoteOnMemory::noteOn(int key, double time, int velocity, std::int32_t source) {
    m_onset[static_cast<std::size_t>(key)] = time;
    m_velocity[static_cast<std::size_t>(key)] = velocity;
    m_source[static_cast<std::size_t>(key)] = source;
}

void NoteOnMemory::fillNoteRow(Row& row, int key, double time, int channel, int track) const {
    const double onset = m_onset[static_cast<std::size_t>(key)];
    row[0] = onset;
    row[1] = kNote;
    row[2] = time - onset;
    row[3] = key;
    row[4] = m_velocity[static_cast<std::size_t>(key)];
    row[5] = channel;
    row[6] = track;
}

NoteKind noteKind(const smf::MidiMessage& message) {
    if (!message.isNote() || message[1] >= 128) {
        return NoteKind::None;
    }
    return message.isNoteOn() ? NoteKind::On : NoteKind::Off;
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
