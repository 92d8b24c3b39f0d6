#include "smf/hexscribe.h"

#include "smf/chars.h"
#include "smf/file_io.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

namespace smf {

namespace {

constexpr std::size_t kShownTokenLength = 64;
constexpr std::uint32_t kMaxVarlen = 0x0FFFFFFF;
// Listings are gathered in a buffer of about this size before each write.
constexpr std::size_t kFlushSize = 1 << 16;
constexpr char kHexDigits[] = "0123456789abcdef";

// An empty reason means the token compiled.
using Reason = std::string_view;
constexpr Reason kOk{};

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

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

bool isPrintable(std::uint8_t byte) {
    return byte >= 0x21 && byte <= 0x7e;
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
    int value = 0;
    for (char c : digits) {
        value = value * 2 + (c - '0');
    }
    return value;
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
    std::string_view digits = token.substr(1);
    if (digits.empty() || !allOf(digits, isDigit)) {
        return "variable-length value needs a decimal number after v";
    }
    std::uint32_t value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > kMaxVarlen) {
            return "variable-length value larger than 0x0FFFFFFF";
        }
    }
    appendVarlen(out, value);
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
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        return "number out of floating-point range";
    }
    if (ec != std::errc{} || end != number.data() + number.size()) {
        return "not a decimal number";
    }
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
    bool negative = !number.empty() && number.front() == '-';
    std::string_view digits = negative ? number.substr(1) : number;
    if (digits.empty() || !allOf(digits, isDigit)) {
        return "not a decimal number";
    }
    // The sum wraps modulo 2^64, which keeps the low bytes exact for the
    // truncating count 1 however long the number; `huge` marks values
    // beyond every other width.
    std::uint64_t magnitude = 0;
    bool huge = false;
    for (char c : digits) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        huge = huge || magnitude > (std::uint64_t{1} << 40);
    }
    std::uint64_t bits = negative ? std::uint64_t{0} - magnitude : magnitude;
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

Reason compileToken(std::string_view token, std::vector<std::uint8_t>& out) {
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

// --- listings ----------------------------------------------------------

void appendCodeLine(std::string& buffer, std::span<const std::uint8_t> line) {
    for (std::uint8_t byte : line) {
        const char code[3] = {' ', kHexDigits[byte >> 4], kHexDigits[byte & 0x0f]};
        buffer.append(code, 3);
    }
    buffer += " \n";
}

// The characters sit under the first digit of their codes; the line starts
// with ";" so that compiling skips it, and holds only printable ASCII.
void appendCharacterLine(std::string& buffer, std::span<const std::uint8_t> line) {
    std::size_t start = buffer.size();
    buffer.append(3 * line.size(), ' ');
    buffer[start] = ';';
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (isPrintable(line[i])) {
            buffer[start + 3 * i + 1] = static_cast<char>(line[i]);
        }
    }
    while (buffer.size() > start + 1 && buffer.back() == ' ') {
        buffer.pop_back();
    }
    buffer += '\n';
}

void flushIfFull(std::ostream& out, std::string& buffer) {
    if (buffer.size() >= kFlushSize) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

void flush(std::ostream& out, std::string& buffer) {
    if (!buffer.empty()) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

}  // namespace

std::string formatHexscribeError(const HexscribeError& error) {
    std::string text = "line ";
    text += std::to_string(error.line);
    text += ": ";
    text += error.reason;
    text += ": \"";
    for (char c : error.token) {
        auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x20 || byte > 0x7e || c == '\\') {
            const char escaped[4] = {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0x0f]};
            text.append(escaped, 4);
        } else {
            text += c;
        }
    }
    text += '"';
    return text;
}

HexscribeResult compileHexscribe(std::string_view text) {
    HexscribeResult result;
    result.bytes.reserve(text.size() / 3);
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r') {
            // CR LF counts once, at its LF; a lone CR ends a line by itself.
            if (i + 1 >= text.size() || text[i + 1] != '\n') {
                ++line;
            }
            ++i;
            continue;
        }
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < text.size() && !isSeparator(text[i])) {
            ++i;
        }
        std::string_view token = text.substr(start, i - start);
        if (token.front() == ';') {
            while (i < text.size() && !isLineBreak(text[i])) {
                ++i;
            }
            continue;
        }
        Reason reason = compileToken(token, result.bytes);
        if (!reason.empty()) {
            result.error = HexscribeError{line, std::string(token.substr(0, kShownTokenLength)),
                                          std::string(reason)};
            return result;
        }
    }
    return result;
}

void appendVarlen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    int size = varlenSize(value);
    for (int i = size - 1; i >= 0; --i) {
        auto group = static_cast<std::uint8_t>((value >> (7 * i)) & 0x7f);
        out.push_back(i > 0 ? static_cast<std::uint8_t>(group | 0x80) : group);
    }
}

int varlenSize(std::uint32_t value) {
    if (value < 0x80) {
        return 1;
    }
    if (value < 0x4000) {
        return 2;
    }
    if (value < 0x200000) {
        return 3;
    }
    if (value < 0x10000000) {
        return 4;
    }
    return 5;
}

bool Hexscribe::readFromBinary(std::ostream& out, const std::string& inputName) const {
    auto bytes = readFileBytes(inputName);
    if (!bytes) {
        return false;
    }
    writeListing(out, *bytes);
    return static_cast<bool>(out);
}

void Hexscribe::writeListing(std::ostream& out, std::span<const std::uint8_t> bytes) const {
    auto perLine = static_cast<std::size_t>(m_lineBytes);
    std::string buffer;
    buffer.reserve(kFlushSize + 6 * std::min(perLine, bytes.size()) + 4);
    for (std::size_t start = 0; start < bytes.size(); start += perLine) {
        auto line = bytes.subspan(start, std::min(perLine, bytes.size() - start));
        appendCodeLine(buffer, line);
        if (!m_bytesOnly) {
            appendCharacterLine(buffer, line);
            buffer += '\n';
        }
        flushIfFull(out, buffer);
    }
    flush(out, buffer);
}

void Hexscribe::writeAsciiListing(std::ostream& out, std::span<const std::uint8_t> bytes) const {
    auto width = static_cast<std::size_t>(m_lineLength);
    std::string buffer;
    buffer.reserve(kFlushSize + 2);
    std::size_t column = 0;
    bool gap = false;  // a run of unprintable bytes since the last character
    for (std::uint8_t byte : bytes) {
        if (!isPrintable(byte)) {
            gap = true;
            continue;
        }
        if (gap && column > 0) {
            // The blank would end the line: the line break stands for it.
            if (column + 1 >= width) {
                buffer += '\n';
                column = 0;
            } else {
                buffer += ' ';
                ++column;
            }
        }
        gap = false;
        if (column == width) {
            buffer += '\n';
            column = 0;
        }
        buffer += static_cast<char>(byte);
        ++column;
        flushIfFull(out, buffer);
    }
    if (column > 0) {
        buffer += '\n';
    }
    flush(out, buffer);
}

Hexscribe::FileResult Hexscribe::writePacksmf(const std::string& outputName,
                                              const std::string& inputName) const {
    FileResult result;
    auto text = readFileBytes(inputName);
    if (!text) {
        result.inputUnreadable = true;
        return result;
    }
    std::string_view view(reinterpret_cast<const char*>(text->data()), text->size());
    HexscribeResult compiled = compileHexscribe(view);
    if (!compiled.ok()) {
        result.error = std::move(compiled.error);
        return result;
    }
    // An empty vector may hold no storage at all, and the C library's
    // write must not be handed a null buffer even for zero bytes.
    static constexpr std::uint8_t kNoBytes[1] = {};
    std::span<const std::uint8_t> bytes = compiled.bytes.empty()
                                              ? std::span<const std::uint8_t>(kNoBytes, 0)
                                              : std::span<const std::uint8_t>(compiled.bytes);
    if (!writeFileBytes(outputName, bytes)) {
        result.outputUnwritable = true;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace smf
