#include "note_line.h"

#include <array>
#include <cmath>

#include "smf/number_scan.h"

namespace notecompile {

namespace {

constexpr std::string_view kSeparators = " \t\n";

// The first tokens of the line, up to N; returns how many were found.
template <std::size_t N>
std::size_t splitTokens(std::string_view line, std::array<std::string_view, N>& tokens) {
    std::size_t found = 0;
    std::size_t pos = 0;
    while (found < N) {
        pos = line.find_first_not_of(kSeparators, pos);
        if (pos == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find_first_of(kSeparators, pos);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        tokens[found++] = line.substr(pos, end - pos);
        pos = end;
    }
    return found;
}

// Ticks of a time in seconds before truncation: rounded half up.
double unroundedTick(double seconds) {
    return kTicksPerSecond * seconds + 0.5;
}

// Ticks must stay below the largest int so that one tick more still fits.
constexpr double kTickLimit = 2147483647.0;

bool isMidiDataValue(int value) {
    return value >= 0 && value <= 127;
}

}  // namespace

std::string normalizedLine(std::string_view line) {
    line = line.substr(0, line.find(';'));
    std::string text(line);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::optional<double> leadingDouble(std::string_view token) {
    const smf::ScannedNumber number = smf::scanNumber(token, smf::kCLibraryReal);
    if (number.rangeError) {
        return std::nullopt;
    }
    return number.real;
}

std::optional<int> leadingInt(std::string_view token) {
    const smf::ScannedNumber number = smf::scanNumber(token, smf::cLibraryInteger(10));
    return number.toInt();
}

std::optional<Note> parseNoteLine(std::string_view normalized) {
    std::array<std::string_view, 5> tokens;
    if (splitTokens(normalized, tokens) < tokens.size() || tokens[0] != "note") {
        return std::nullopt;
    }
    const std::optional<double> onset = leadingDouble(tokens[1]);
    const std::optional<double> duration = leadingDouble(tokens[2]);
    const std::optional<int> key = leadingInt(tokens[3]);
    const std::optional<int> velocity = leadingInt(tokens[4]);
    if (!onset || !duration || !key || !velocity || !isMidiDataValue(*key) || !isMidiDataValue(*velocity)) {
        return std::nullopt;
    }
    if (!std::isfinite(*onset) || !std::isfinite(*duration)) {
        return std::nullopt;
    }
    // Truncation toward zero: an onset a hair before zero still starts at 0.
    const double on = unroundedTick(*onset);
    const double off = unroundedTick(*onset + *duration);
    if (!(on > -1.0 && on < kTickLimit && off < kTickLimit)) {
        return std::nullopt;
    }
    Note note{*onset, *duration, *key, *velocity, static_cast<int>(on), 0};
    // A note lasts at least one tick, whatever its duration says.
    note.offTick = off < note.onTick + 1.0 ? note.onTick + 1 : static_cast<int>(off);
    return note;
}

}  // namespace notecompile
