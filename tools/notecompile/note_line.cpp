#include "note_line.h"

#include <array>
#include <charconv>
#include <cmath>

namespace notecompile {

namespace {

constexpr std::string_view kSeparators = " \t\n";

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The sign and the rest of a token, after any leading white space (the C
// library's conversions skip it too).
struct Signed {
    bool negative = false;
    std::string_view digits;
};

Signed splitSign(std::string_view token) {
    std::size_t i = 0;
    while (i < token.size() && isCSpace(token[i])) {
        ++i;
    }
    Signed result;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        result.negative = token[i] == '-';
        ++i;
    }
    result.digits = token.substr(i);
    return result;
}

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
    const Signed s = splitSign(token);
    if (s.digits.empty() || s.digits[0] == '+' || s.digits[0] == '-') {
        return 0.0;
    }
    double value = 0.0;
    const std::errc ec =
        std::from_chars(s.digits.data(), s.digits.data() + s.digits.size(), value, std::chars_format::general).ec;
    if (ec == std::errc::invalid_argument) {
        return 0.0;
    }
    if (ec == std::errc::result_out_of_range) {
        return std::nullopt;
    }
    return s.negative ? -value : value;
}

std::optional<int> leadingInt(std::string_view token) {
    const Signed s = splitSign(token);
    if (s.digits.empty() || s.digits[0] < '0' || s.digits[0] > '9') {
        return 0;
    }
    // Read the magnitude as unsigned so that the most negative int fits.
    unsigned long long magnitude = 0;
    const std::errc ec = std::from_chars(s.digits.data(), s.digits.data() + s.digits.size(), magnitude).ec;
    if (ec != std::errc() || magnitude > 2147483648ULL || (!s.negative && magnitude > 2147483647ULL)) {
        return std::nullopt;
    }
    return s.negative ? static_cast<int>(-static_cast<long long>(magnitude)) : static_cast<int>(magnitude);
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
