#include "settings.h"

#include "smf/chars.h"

#include <algorithm>

namespace notegraph {

namespace {

constexpr std::string_view kShapeSeparators = "\t :,;|\n";

struct Abbreviation {
    std::string_view piece;
    std::string_view shape;
};

constexpr Abbreviation kAbbreviations[] = {
    {"r", "rectangle"},       {"o", "oval"},
    {"O", "antioval"},        {"d", "diamond"},
    {"e", "eyelid"},          {"h", "hexthin"},
    {"H", "hexthick"},        {"p", "plus"},
    {"r1", "round1"},         {"r2", "round2"},
    {"r3", "round3"},         {"r4", "round4"},
    {"R", "antiround"},       {"R1", "antiround1"},
    {"R2", "antiround2"},     {"R3", "antiround3"},
    {"R4", "antiround4"},     {"c", "curvedinner"},
    {"c1", "curvedinner1"},   {"c2", "curvedinner2"},
    {"c3", "curvedinner3"},   {"c4", "curvedinner4"},
    {"C", "curvedouter"},     {"C1", "curvedouter1"},
    {"C2", "curvedouter2"},   {"C3", "curvedouter3"},
    {"C4", "curvedouter4"},   {"tu", "triangleup"},
    {"td", "triangledown"},   {"tl", "triangleleft"},
    {"tr", "triangleright"},  {"trl", "triangleroundleft"},
    {"trr", "triangleroundright"},
};

std::string_view expandAbbreviation(std::string_view piece) {
    for (const Abbreviation& entry : kAbbreviations) {
        if (entry.piece == piece) {
            return entry.shape;
        }
    }
    return piece;
}

using smf::isDigit;

int clampKey(long value) {
    return static_cast<int>(std::clamp(value, 0L, 127L));
}

// Accumulates a decimal number; it stops growing once far past any key, so
// a long run of digits cannot overflow and still clamps to 127.
long addDigit(long value, char digit) {
    constexpr long kSaturated = 1000000;
    return std::min(value * 10 + (digit - '0'), kSaturated);
}

}  // namespace

std::array<int, 128> Settings::identityPercussionMap() {
    std::array<int, 128> map{};
    for (int key = 0; key < 128; ++key) {
        map[static_cast<std::size_t>(key)] = key;
    }
    return map;
}

void parsePercussionMap(std::string_view text, std::array<int, 128>& map) {
    const std::size_t first = text.find_first_of("0123456789");
    if (first == std::string_view::npos) {
        return;
    }
    long key = 0;
    long target = 0;
    bool readingKey = true;
    bool afterSeparator = false;
    auto scan = [&](char c) {
        if (isDigit(c)) {
            (readingKey ? key : target) = addDigit(readingKey ? key : target, c);
            afterSeparator = false;
        } else if (readingKey && !afterSeparator) {
            readingKey = false;
            afterSeparator = true;
        } else if (!readingKey && afterSeparator) {
            // more separators before the target
        } else {
            map[static_cast<std::size_t>(clampKey(key))] = clampKey(target);
            key = 0;
            target = 0;
            readingKey = true;
            afterSeparator = true;
        }
    };
    for (char c : text.substr(first)) {
        scan(c);
    }
    // The text ends with a separator, so a last complete pair is stored.
    scan(' ');
}

std::vector<std::string> parseShapeList(std::string_view text) {
    std::vector<std::string> shapes;
    std::size_t start = text.find_first_not_of(kShapeSeparators);
    while (start != std::string_view::npos) {
        std::size_t end = text.find_first_of(kShapeSeparators, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        shapes.emplace_back(expandAbbreviation(text.substr(start, end - start)));
        start = text.find_first_not_of(kShapeSeparators, end);
    }
    return shapes;
}

std::string_view trackShapeName(const std::vector<std::string>& shapes, int track) {
    const std::size_t index = static_cast<std::size_t>(std::max(track, 1) - 1);
    if (index >= shapes.size()) {
        return "rectangle";
    }
    return shapes[index];
}

int diatonicStep(int key) {
    static constexpr int kStep[12] = {0, 0, 1, 2, 2, 3, 3, 4, 4, 5, 6, 6};
    if (key < 0) {
        return 0;
    }
    return 7 * (key / 12) + kStep[key % 12];
}

}  // namespace notegraph
