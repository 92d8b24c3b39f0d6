// Compiling hexscribe text into bytes.
#include "smf/hexscribe_compile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "smf/chars.h"
#include "smf/file_io.h"
#include "smf/hexscribe.h"
#include "smf/number_scan.h"
#include "smf/printable_name.h"
#include "smf/text_buffer.h"
#include "smf/varlen.h"

namespace smf {

namespace {

constexpr std::size_t kShownTokenLength = 64;

// The numbers of the notation: decimals after the marker may be negative
// but carry no plus; a variable-length value and the halves of a binary
// number are digits alone.
constexpr NumberSyntax kMarkedInteger{.signs = "-"};
constexpr NumberSyntax kMarkedReal{.signs = "-", .fraction = true};
constexpr NumberSyntax kVarlenNumber{.signs = ""};
constexpr NumberSyntax kBinaryDigits{.signs = "", .base = 2};

// An empty reason means the token compiled.
using Reason = std::string_view;
constexpr Reason kOk{};

constexpr bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// isSeparator for every byte value: the compiler's inner loop looks at every
// character of the text.
constexpr std::array<bool, 256> kSeparators = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = isSeparator(static_cast<char>(c));
    }
    return table;
}();

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool allOf(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

bool isHexDigit(char c) {
    return hexDigitValue(c) >= 0;
}

bool isBinaryChar(char c) {
    return c == '0' || c == '1' || c == ',';
}

// Appends the low `count` bytes of value, most significant first unless
// lsbFirst is set.
void appendWide(std::vector<std::uint8_t>& out, std::uint64_t value, int count, bool lsbFirst) {
    for (int i = 0; i < count; ++i) {
        int shift = lsbFirst ? 8 * i : 8 * (count - 1 - i);
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// --- the token kinds ---------------------------------------------------

Reason compileHex(std::string_view token, std::vector<std::uint8_t>& out) {
    int value = 0;
    for (char c : token) {
        value = value * 16 + hexDigitValue(c);
    }
    out.push_back(static_cast<std::uint8_t>(value));
    return kOk;
}

int binaryValue(std::string_view digits) {
    return static_cast<int>(scanNumber(digits, kBinaryDigits).magnitude);
}

Reason compileBinary(std::string_view token, std::vector<std::uint8_t>& out) {
    std::size_t comma = token.find(',');
    if (comma == std::string_view::npos) {
        if (token.size() > 8) {
            return "binary number has more than 8 digits";
        }
        out.push_back(static_cast<std::uint8_t>(binaryValue(token)));
        return kOk;
    }
    if (comma == 0 || comma + 1 == token.size()) {
        return "comma may not start or end a binary number";
    }
    std::string_view high = token.substr(0, comma);
    std::string_view low = token.substr(comma + 1);
    if (low.find(',') != std::string_view::npos) {
        return "binary number has more than one comma";
    }
    if (high.size() > 4 || low.size() > 4) {
        return "binary half has more than 4 digits";
    }
    out.push_back(static_cast<std::uint8_t>(binaryValue(high) * 16 + binaryValue(low)));
    return kOk;
}

Reason compileCharacter(std::string_view token, std::vector<std::uint8_t>& out) {
    if (token.size() != 2) {
        return "a character byte is a plus and exactly one character";
    }
    out.push_back(static_cast<std::uint8_t>(token[1]));
    return kOk;
}

Reason compileVarlen(std::string_view token, std::vector<std::uint8_t>& out) {
    const auto number = scanWholeNumber(token.substr(1), kVarlenNumber);
    if (!number) {
        return "variable-length value needs a decimal number after v";
    }
    if (number->overflow || number->magnitude > kLargestVarlen) {
        return "variable-length value larger than 0x0FFFFFFF";
    }
    appendVarlen(out, static_cast<std::uint32_t>(number->magnitude));
    return kOk;
}

// The part of a decimal token before the marker: a byte count and/or "u".
struct DecimalPrefix {
    int count = 0;  // 0: not given
    bool lsbFirst = false;
};

std::optional<DecimalPrefix> parseDecimalPrefix(std::string_view prefix) {
    DecimalPrefix result;
    bool seenCount = false;
    for (char c : prefix) {
        if (c == 'u' && !result.lsbFirst) {
            result.lsbFirst = true;
        } else if (isDigit(c) && !seenCount) {
            seenCount = true;
            result.count = c - '0';
        } else {
            return std::nullopt;
        }
    }
    if (seenCount && result.count == 0) {
        return std::nullopt;
    }
    return result;
}

bool isFloatChar(char c) {
    return isDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

Reason compileFloat(std::string_view number, const DecimalPrefix& prefix,
                    std::vector<std::uint8_t>& out) {
    int count = prefix.count == 0 ? 4 : prefix.count;
    if (count != 4 && count != 8) {
        return "floating-point numbers take 4 or 8 bytes";
    }
    // Keeps out "inf", "nan" and hexadecimal floats, which the parser
    // below would otherwise take.
    if (number.empty() || !allOf(number, isFloatChar)) {
        return "not a decimal number";
    }
    const ScannedNumber scanned = scanNumber(number, kMarkedReal);
    if (scanned.length > 0 && scanned.rangeError) {
        return "number out of floating-point range";
    }
    if (scanned.length == 0 || scanned.length != number.size()) {
        return "not a decimal number";
    }
    const double value = scanned.real;
    if (count == 8) {
        appendWide(out, std::bit_cast<std::uint64_t>(value), 8, prefix.lsbFirst);
        return kOk;
    }
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return "number too large for a 4-byte float";
    }
    auto single = static_cast<float>(value);
    appendWide(out, std::bit_cast<std::uint32_t>(single), 4, prefix.lsbFirst);
    return kOk;
}

struct IntegerRange {
    std::int64_t low;
    std::int64_t high;
};

IntegerRange integerRange(int count) {
    switch (count) {
        case 2: return {-32768, 65535};
        case 3: return {0, 16777215};
        case 4: return {-2147483648LL, 4294967295LL};
        default: return {-128, 255};
    }
}

Reason compileInteger(std::string_view number, const DecimalPrefix& prefix,
                      std::vector<std::uint8_t>& out) {
    if (prefix.count > 4) {
        return "integers take 1 to 4 bytes";
    }
    const auto scanned = scanWholeNumber(number, kMarkedInteger);
    if (!scanned) {
        return "not a decimal number";
    }
    // The magnitude wraps modulo 2^64, which keeps the low bytes exact for
    // the truncating count 1 however long the number; `huge` marks values
    // beyond every other width.
    const std::uint64_t magnitude = scanned->magnitude;
    const bool negative = scanned->negative;
    const bool huge = scanned->overflow || magnitude > (std::uint64_t{1} << 40);
    const std::uint64_t bits = negative ? std::uint64_t{0} - magnitude : magnitude;
    if (prefix.count == 1) {
        appendWide(out, bits, 1, prefix.lsbFirst);
        return kOk;
    }
    IntegerRange range = integerRange(prefix.count);
    std::int64_t value = 0;
    if (!huge) {
        value = negative ? -static_cast<std::int64_t>(magnitude)
                         : static_cast<std::int64_t>(magnitude);
    }
    if (huge || value < range.low || value > range.high) {
        switch (prefix.count) {
            case 2: return "number out of range for 2 bytes";
            case 3: return "number out of range for 3 bytes (0 to 16777215)";
            case 4: return "number out of range for 4 bytes";
            default: return "number exceeds one byte (-128 to 255)";
        }
    }
    appendWide(out, bits, prefix.count == 0 ? 1 : prefix.count, prefix.lsbFirst);
    return kOk;
}

Reason compileDecimal(std::string_view token, std::size_t marker, std::vector<std::uint8_t>& out) {
    auto prefix = parseDecimalPrefix(token.substr(0, marker));
    if (!prefix) {
        return "only a byte count and u may stand before the decimal marker";
    }
    std::string_view number = token.substr(marker + 1);
    if (prefix->count == 8 || number.find('.') != std::string_view::npos) {
        return compileFloat(number, *prefix, out);
    }
    return compileInteger(number, *prefix, out);
}

// Why a token that fits no kind is wrong, as precisely as can be told.
Reason unknownTokenReason(std::string_view token) {
    if (token.find(';') != std::string_view::npos) {
        return "a blank must precede a comment";
    }
    if (allOf(token, isBinaryChar)) {
        return "three digits are neither a hexadecimal nor a binary number";
    }
    if (allOf(token, isHexDigit)) {
        return "hexadecimal numbers have at most two digits";
    }
    return "not a hexscribe number";
}

// The two tokens that make up most of a listing, a byte in hexadecimal
// ("90") and a delta time ("v120"), compiled without the general checks; false
// for any other token (which then takes the general path). A token of one or
// two hexadecimal digits holds none of the characters the general path
// looks for first, so the order of the checks does not change what compiles.
bool compileCommonToken(std::string_view token, std::vector<std::uint8_t>& out) {
    if (token.size() <= 2) {
        const int high = hexDigitValue(token[0]);
        const int low = token.size() == 2 ? hexDigitValue(token[1]) : 0;
        if (high < 0 || low < 0) {
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(token.size() == 2 ? high * 16 + low : high));
        return true;
    }
    // Nine digits at most: no overflow, and larger values take the general path.
    if (token[0] != 'v' || token.size() > 10) {
        return false;
    }
    std::uint32_t value = 0;
    for (char c : token.substr(1)) {
        if (!isDigit(c)) {
            return false;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > kLargestVarlen) {
        return false;
    }
    appendVarlen(out, value);
    return true;
}

Reason compileToken(std::string_view token, std::vector<std::uint8_t>& out) {
    if (compileCommonToken(token, out)) {
        return kOk;
    }
    if (token.front() == '+') {
        return compileCharacter(token, out);
    }
    if (token.find(';') != std::string_view::npos) {
        return unknownTokenReason(token);
    }
    std::size_t marker = token.find_first_of("'*");
    if (marker != std::string_view::npos) {
        return compileDecimal(token, marker, out);
    }
    if (token.front() == 'v') {
        return compileVarlen(token, out);
    }
    if (token.size() <= 2 && allOf(token, isHexDigit)) {
        return compileHex(token, out);
    }
    if (allOf(token, isBinaryChar) &&
        (token.size() > 3 || token.find(',') != std::string_view::npos)) {
        return compileBinary(token, out);
    }
    return unknownTokenReason(token);
}

// "line 3: <reason>: \"<token>\"", with bytes of the token outside
// printable ASCII written as \xNN so that a binary token cannot garble a
// terminal or split the message.
std::string failureLine(int line, std::string_view token, Reason reason) {
    std::string text = "line ";
    text += std::to_string(line);
    text += ": ";
    text += reason;
    text += ": \"";
    for (char c : token.substr(0, kShownTokenLength)) {
        auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x20 || byte > 0x7e || c == '\\') {
            char escaped[4] = {'\\', 'x'};
            toCharsHex2(escaped + 2, byte);
            text.append(escaped, 4);
        } else {
            text += c;
        }
    }
    text += '"';
    return text;
}

}  // namespace

int HexscribeLineMap::lineOf(std::uint64_t offset) const {
    auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset,
                                  [](std::uint64_t o, const Start& s) { return o < s.offset; });
    return after == m_starts.begin() ? 0 : (after - 1)->line;
}

void HexscribeLineMap::note(std::uint64_t offset, int line) {
    if (m_starts.empty() || m_starts.back().line != line) {
        m_starts.push_back({offset, line});
    }
}

Result compileHexscribe(std::string_view text, std::vector<std::uint8_t>& bytes, HexscribeLineMap* lines) {
    bytes.clear();
    bytes.reserve(text.size() / 3);
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == '\r') {
            // CR LF counts once, at its LF; a lone CR ends a line by itself.
            if (i + 1 >= text.size() || text[i + 1] != '\n') {
                ++line;
            }
            ++i;
            continue;
        }
        const std::size_t start = i;
        do {
            ++i;
        } while (i < text.size() && !kSeparators[static_cast<std::uint8_t>(text[i])]);
        std::string_view token(text.data() + start, i - start);
        if (token.front() == ';') {
            while (i < text.size() && !isLineBreak(text[i])) {
                ++i;
            }
            continue;
        }
        if (lines) {
            lines->note(bytes.size(), line);
        }
        Reason reason = compileToken(token, bytes);
        if (!reason.empty()) {
            return Result::failure(failureLine(line, token, reason));
        }
    }
    return {};
}

Result Hexscribe::writePacksmf(const std::string& outputName, const std::string& inputName) const {
    auto text = readFileBytes(inputName);
    if (!text) {
        return Result::failure("could not read file " + printableName(inputName));
    }
    std::vector<std::uint8_t> bytes;
    Result compiled =
        compileHexscribe(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), bytes);
    if (!compiled) {
        return Result::failure(printableName(inputName) + ": " + compiled.reason());
    }
    // An empty vector may hold no storage at all, and the C library's
    // write must not be handed a null buffer even for zero bytes.
    static constexpr std::uint8_t kNoBytes[1] = {};
    const std::span<const std::uint8_t> out =
        bytes.empty() ? std::span<const std::uint8_t>(kNoBytes, 0) : std::span<const std::uint8_t>(bytes);
    if (!writeFileBytes(outputName, out)) {
        return Result::failure("could not write file " + printableName(outputName));
    }
    return {};
}

}  // namespace smf
