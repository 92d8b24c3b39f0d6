// Text from the command line placed into the SVG document, made safe for it.
#pragma once

#include <string_view>

#include "smf/text_buffer.h"

namespace notegraph {

// Writes text inside a double-quoted attribute value: markup characters
// become entity references; bytes that are not valid UTF-8 or characters
// XML forbids become U+FFFD.
void putAttributeText(smf::TextBuffer& out, std::string_view text);

// Writes text inside a processing instruction: "?>" (which would end it
// early) becomes "? >"; invalid bytes and forbidden characters become U+FFFD.
void putInstructionText(smf::TextBuffer& out, std::string_view text);

}  // namespace notegraph
