#include "settings.h"

#include <algorithm>

#include "smf/chars.h"

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

const std::vector<frame::OptionSpec>& optionTable() {
    static const std::vector<frame::OptionSpec> kOptions{
        {"a|aspect-ratio=d:2.5", "Aspect ratio for SVG image"},
        {"w|stroke-width=d:0.1", "Stroke width for line around note boxes"},
        {"stroke-color=s:black", "Stroke color for line around note boxes"},
        {"staff=b", "Draw staff lines."},
        {"gs|grand|grand-staff=b", "show at least all grand staff."},
        {"sc|staff-color=s:#555555", "staff line color."},
        {"cc|clef-color=s:#cdcdcd", "clef fill/stroke color."},
        {"sw|st|staff-width|staff-thickness=d:0.5", "staff line width."},
        {"lw|lt|line-width|line-thickness=d:0.5", "Width of note lines"},
        {"dash|dashing=b", "Dash connecting lines"},
        {"T|no-transparency=b", "Do not show notes with transparency"},
        {"s|scale=d:1.0", "Scaling factor for SVG image"},
        {"d|data=b", "Embed note data in SVG image"},
        {"f|final|final-barline=b", "draw final barline"},
        {"double|double-barline=b", "draw final double barline"},
        {"bw|black-and-white=b", "Display as black and white (outlines only)"},
        {"diatonic=b", "Vertical axis is base-7 pitch"},
        {"drum=b", "Show drum track (channel 10)"},
        {"pm|perc|percussion-map=s", "Map percussion notes to different pitch"},
        {"r|round|rounded=b", "Round edges of note boxes"},
        {"b|border=d:1.0", "Border around piano roll"},
        {"dark=b", "Background is black"},
        {"o|opacity=d:1.0", "Opacity for notes"},
        {"l|line=b", "Draw lines between center of notes"},
        {"cl|cline=b", "Draw curved lines between notes"},
        {"rl|rline=d:0.25", "Draw lines with curved radius between notes"},
        {"e|end-space=d:0.0", "extra horiz. space at end of piece"},
        {"c|clef|clefs=b", "Draw clefs"},
        {"v|velocity-brightness=b", "Show velocity as brightness on note"},
        {"S|shapes=s:rectangle,rectangle", "shape of notes for each track"},
        {"mr|rest|max-rest=d:4.0 seconds", "Maximum rest through which to draw lines"},
    };
    return kOptions;
}

Settings readSettings(const smf::Options& options) {
    Settings settings;
    settings.data = options.getBoolean("data");
    settings.drum = options.getBoolean("drum");
    settings.dark = options.getBoolean("dark");
    settings.line = options.getBoolean("line");
    if (options.getBoolean("cline")) {
        settings.line = true;
        settings.curvedLine = true;
    }
    if (options.getBoolean("rline")) {
        settings.line = true;
        settings.curvedLine = true;
        settings.radiusLine = true;
        settings.arcRadius = options.getDouble("rline");
    }
    settings.dash = options.getBoolean("dash");
    settings.clefs = options.getBoolean("clefs");
    settings.staff = options.getBoolean("staff");
    settings.grandStaff = options.getBoolean("grand-staff");
    settings.blackAndWhite = options.getBoolean("black-and-white");
    settings.diatonic = options.getBoolean("diatonic");
    settings.transparency = !options.getBoolean("no-transparency");
    settings.rounded = options.getBoolean("rounded");
    settings.scale = options.getDouble("scale");
    settings.border = options.getDouble("border");
    settings.aspect = options.getDouble("aspect-ratio");
    settings.opacity = options.getDouble("opacity");
    settings.maxRest = options.getDouble("max-rest");
    if (settings.clefs) {
        settings.staff = true;
        settings.brace = true;
    }

    if (options.getBoolean("percussion-map")) {
        parsePercussionMap(options.getString("percussion-map"), settings.percussionMap);
        settings.drum = true;
    }

    settings.finalBarline = options.getBoolean("final-barline");
    settings.doubleBarline = options.getBoolean("double-barline");
    settings.endSpace = options.getDouble("end-space");
    if (settings.finalBarline || settings.doubleBarline) {
        settings.endSpace += 2.0;
    }

    settings.staffWidth = options.getDouble("staff-width");
    if (settings.blackAndWhite) {
        settings.staffWidth *= 0.25;
    }
    settings.staffColor = options.getString("staff-color");
    settings.clefColor = options.getString("clef-color");
    settings.lineWidth = options.getBoolean("line-width") ? options.getDouble("line-width") : settings.staffWidth;
    settings.velocityBrightness = options.getBoolean("velocity-brightness");
    settings.shapes = parseShapeList(options.getString("shapes"));

    settings.strokeWidth = options.getDouble("stroke-width");
    settings.strokeColor = options.getString("stroke-color");
    return settings;
}

namespace {

// A lower bound of an option value.
struct Bound {
    std::string_view option;
    bool zeroAllowed;  // false: the value must be above 0
};

// A scale or aspect ratio of 0 or below folds the image to nothing or turns
// it inside out; a negative border or end space can give it a negative
// size, and a negative stroke width is an error in SVG.
constexpr Bound kBounds[] = {
    {"scale", false},        {"aspect-ratio", false}, {"border", true},     {"end-space", true},
    {"stroke-width", true},  {"staff-width", true},   {"line-width", true},
};

}  // namespace

std::string invalidSetting(const smf::Options& options) {
    for (const Bound& bound : kBounds) {
        const double value = options.getDouble(bound.option);
        if (bound.zeroAllowed ? value < 0.0 : value <= 0.0) {
            return "Error: --" + std::string(bound.option) +
                   (bound.zeroAllowed ? " must be 0 or more" : " must be greater than 0");
        }
    }
    return {};
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
