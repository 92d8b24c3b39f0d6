// notegraph's settings and the small parsers behind them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "smf/options.h"

namespace notegraph {

// Everything the drawing reads, set once from the command line.
struct Settings {
    double scale = 1.0;
    double aspect = 2.5;
    double border = 1.0;
    double opacity = 1.0;
    double maxRest = 4.0;
    double endSpace = 0.0;
    double strokeWidth = 0.1;
    double staffWidth = 0.5;
    double lineWidth = 0.5;
    double arcRadius = 0.25;
    std::string strokeColor = "black";
    std::string staffColor = "#555555";
    std::string clefColor = "#cdcdcd";
    bool data = false;
    bool drum = false;
    bool dark = false;
    bool line = false;
    bool curvedLine = false;
    bool radiusLine = false;
    bool dash = false;
    bool clefs = false;
    bool staff = false;
    bool grandStaff = false;
    bool blackAndWhite = false;
    bool diatonic = false;
    bool rounded = false;
    bool finalBarline = false;
    bool doubleBarline = false;
    bool velocityBrightness = false;
    bool transparency = true;
    bool brace = false;
    std::vector<std::string> shapes{"rectangle", "rectangle"};
    std::array<int, 128> percussionMap = identityPercussionMap();

    static std::array<int, 128> identityPercussionMap();
};

// notegraph's own options in declaration order (the standard ones follow).
const std::vector<frame::OptionSpec>& optionTable();

// The settings a processed command line (options declared from the table)
// asks for, with their implications: --cline and --rline draw lines,
// --clefs draws the staff and the brace, --percussion-map shows the drums, a
// barline adds end space, black and white thins the staff.
Settings readSettings(const smf::Options& options);

// The error line for the first option whose value would make the image
// invalid or empty (a scale or aspect ratio of 0 or below, a negative
// border, end space or line width); empty when every value fits.
std::string invalidSetting(const smf::Options& options);

// Reads "key target key target ..." pairs (any non-digit separates) into the
// map; entries are clamped to 0..127. Text without digits leaves it alone.
void parsePercussionMap(std::string_view text, std::array<int, 128>& map);

// Splits a shape list at runs of tab, blank, colon, comma, semicolon,
// vertical bar and newline, expanding the one- and two-letter abbreviations.
std::vector<std::string> parseShapeList(std::string_view text);

// The shape name a track draws with: tracks 0 and 1 share the first entry.
std::string_view trackShapeName(const std::vector<std::string>& shapes, int track);

// Base-7 pitch: 7 steps per octave, sharps sharing the step of the note below.
int diatonicStep(int key);

// The vertical position of a key: the key itself, or its diatonic step.
inline int pitchRow(int key, bool diatonic) {
    return diatonic ? diatonicStep(key) : key;
}

// The key a note is drawn at: notes of channel 9 (MIDI channel 10) go
// through the percussion map.
inline int mappedKey(const Settings& settings, int key, int channel) {
    if (channel == 9 && key >= 0 && key < 128) {
        return settings.percussionMap[static_cast<std::size_t>(key)];
    }
    return key;
}

}  // namespace notegraph
