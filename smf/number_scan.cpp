#include "smf/number_scan.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

#include "smf/chars.h"

namespace smf {

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The value of a digit of base, or -1.
int digitValue(char c, int base) {
    if (base == 10) {
        const unsigned digit = static_cast<unsigned char>(c) - static_cast<unsigned>('0');
        return digit < 10 ? static_cast<int>(digit) : -1;
    }
    const int value = hexDigitValue(c);
    return value < base ? value : -1;
}

// Accumulates the digits of base from pos into the number's magnitude and
// real value; returns where they end. The magnitude wraps modulo 2^64, so
// that its low bytes stay exact however long the digits run.
std::size_t readDigits(std::string_view text, std::size_t pos, int base, ScannedNumber& number) {
    const std::size_t start = pos;
    const auto wide = static_cast<std::uint64_t>(base);
    for (; pos < text.size(); ++pos) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0) {
            break;
        }
        std::uint64_t next = 0;
        const bool carried = __builtin_mul_overflow(number.magnitude, wide, &next) |
                             __builtin_add_overflow(next, static_cast<std::uint64_t>(digit), &next);
        number.overflow = number.overflow || carried;
        number.magnitude = next;
    }
    if (!number.overflow) {
        number.real = static_cast<double>(number.magnitude);
        return pos;
    }
    // Beyond 64 bits only an approximate value is kept.
    double approx = 0.0;
    for (std::size_t i = start; i < pos; ++i) {
        approx = approx * base + digitValue(text[i], base);
    }
    number.real = approx;
    return pos;
}

bool startsHexPrefix(std::string_view text, std::size_t pos) {
    return pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
           hexDigitValue(text[pos + 2]) >= 0;
}

bool isSign(char c, std::string_view signs) {
    if (c != '+' && c != '-') {
        return false;
    }
    for (char sign : signs) {
        if (sign == c) {
            return true;
        }
    }
    return false;
}

// from_chars does not say whether an out-of-range value overflowed or
// merely underflowed; strtod gives infinity or the tiny value.
double resolveOutOfRange(std::string_view spelled) {
    const std::string copy(spelled);
    return std::strtod(copy.c_str(), nullptr);
}

// Reads a real number at pos (after the sign) with from_chars; false when
// there is none.
bool readReal(std::string_view text, std::size_t pos, ScannedNumber& number) {
    const char* first = text.data() + pos;
    double real = 0.0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), real, std::chars_format::general);
    if (end == first) {
        return false;
    }
    number.length = static_cast<std::size_t>(end - text.data());
    if (ec == std::errc::result_out_of_range) {
        number.rangeError = true;
        real = resolveOutOfRange(std::string_view(first, static_cast<std::size_t>(end - first)));
    }
    number.real = real;
    return true;
}

// A decimal number with optional fraction and exponent (or, when allowed,
// an infinity or NaN spelling) at pos, after the sign. Plain integers, the
// common case, are read without the general conversion.
ScannedNumber readDecimal(std::string_view text, std::size_t pos, ScannedNumber number, bool specialValues) {
    const std::size_t digitsEnd = readDigits(text, pos, 10, number);
    const bool more = digitsEnd < text.size() &&
                      (text[digitsEnd] == '.' || text[digitsEnd] == 'e' || text[digitsEnd] == 'E');
    if (digitsEnd > pos && !more && !number.overflow) {
        number.length = digitsEnd;
        if (number.negative) {
            number.real = -number.real;
        }
        return number;
    }
    const bool pointFirst = pos + 1 < text.size() && text[pos] == '.' && isDigit(text[pos + 1]);
    // from_chars would take a second sign; nothing else starts a number.
    const bool special = specialValues && pos < text.size() && text[pos] != '+' && text[pos] != '-';
    if (digitsEnd == pos && !pointFirst && !special) {
        return {};
    }
    if (!readReal(text, pos, number)) {
        return {};
    }
    number.integral = number.length == digitsEnd;
    if (number.negative) {
        number.real = -number.real;
    }
    return number;
}

}  // namespace

ScannedNumber scanNumber(std::string_view text, const NumberSyntax& syntax) {
    ScannedNumber number;
    std::size_t pos = 0;
    if (syntax.skipsSpace) {
        while (pos < text.size() && isCSpace(text[pos])) {
            ++pos;
        }
    }
    if (pos < text.size() && isSign(text[pos], syntax.signs)) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    int base = syntax.base;
    if (syntax.hexPrefix && startsHexPrefix(text, pos)) {
        base = 16;
        pos += 2;
    }
    if (base == 10 && syntax.fraction) {
        return readDecimal(text, pos, number, syntax.specialValues);
    }
    const std::size_t end = readDigits(text, pos, base, number);
    if (end == pos) {
        return {};
    }
    number.length = end;
    if (number.negative) {
        number.real = -number.real;
    }
    return number;
}

std::optional<ScannedNumber> scanWholeNumber(std::string_view text, const NumberSyntax& syntax) {
    const ScannedNumber number = scanNumber(text, syntax);
    if (number.length == 0 || number.length != text.size()) {
        return std::nullopt;
    }
    return number;
}

std::optional<long long> ScannedNumber::integer() const {
    constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<long long>::max());
    if (!integral || overflow || magnitude > largest + (negative ? 1 : 0)) {
        return std::nullopt;
    }
    // Negating through unsigned arithmetic keeps the most negative value defined.
    return negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
}

std::optional<int> ScannedNumber::toInt() const {
    const std::optional<long long> value = integer();
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

long long ScannedNumber::saturated() const {
    if (const std::optional<long long> value = integer()) {
        return *value;
    }
    if (integral) {
        return negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    }
    // A fraction: its whole part, as the integer conversions read it.
    constexpr double low = static_cast<double>(std::numeric_limits<long long>::min());
    constexpr double high = static_cast<double>(std::numeric_limits<long long>::max());
    if (!(real > low)) {
        return real != real ? 0 : std::numeric_limits<long long>::min();
    }
    if (real >= high) {
        return std::numeric_limits<long long>::max();
    }
    return static_cast<long long>(real);
}

std::uint64_t ScannedNumber::wrapped() const {
    if (overflow) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return negative ? 0 - magnitude : magnitude;
}

}  // namespace smf
