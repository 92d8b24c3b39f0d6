#include "xml_text.h"

#include <cstdint>

namespace notegraph {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at the start of text holding a
// character XML 1.0 allows, or 0.
std::size_t validCharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        const bool allowed = lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r';
        return allowed ? 1 : 0;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool overlong = code < smallest[length];
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool nonCharacter = code == 0xFFFE || code == 0xFFFF;
    if (overlong || surrogate || nonCharacter || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

template <class Escape>
void putSafely(smf::TextBuffer& out, std::string_view text, Escape escape) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = validCharacterLength(text.substr(i));
        if (length == 0) {
            out.put(kReplacement);
            ++i;
        } else if (length == 1) {
            escape(text, i);
            ++i;
        } else {
            out.put(text.substr(i, length));
            i += length;
        }
    }
}

}  // namespace

void putAttributeText(smf::TextBuffer& out, std::string_view text) {
    putSafely(out, text, [&](std::string_view, std::size_t i) {
        switch (text[i]) {
            case '&': out.put("&amp;"); break;
            case '<': out.put("&lt;"); break;
            case '>': out.put("&gt;"); break;
            case '"': out.put("&quot;"); break;
            case '\t': out.put("&#9;"); break;
            case '\n': out.put("&#10;"); break;
            case '\r': out.put("&#13;"); break;
            default: out.put(text[i]); break;
        }
    });
}

void putInstructionText(smf::TextBuffer& out, std::string_view text) {
    putSafely(out, text, [&](std::string_view, std::size_t i) {
        out.put(text[i]);
        if (text[i] == '?' && i + 1 < text.size() && text[i + 1] == '>') {
            out.put(' ');
        }
    });
}

}  // namespace notegraph
