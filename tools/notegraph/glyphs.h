// Outlines of the clefs and the brace, as SVG path data in the glyph
// coordinates their groups' transforms expect.
#pragma once

#include <string_view>

namespace notegraph {

extern const std::string_view kTrebleClef;
extern const std::string_view kBassClefBody;
extern const std::string_view kBassClefUpperDot;
extern const std::string_view kBassClefLowerDot;
extern const std::string_view kBrace;

}  // namespace notegraph
