#include "smf/printable_name.h"

#include <algorithm>

namespace smf {

namespace {

void appendOctal(std::string& text, unsigned char byte) {
    text += '\\';
    text += static_cast<char>('0' + (byte >> 6));
    text += static_cast<char>('0' + ((byte >> 3) & 7));
    text += static_cast<char>('0' + (byte & 7));
}

// The length of the well-formed UTF-8 sequence of two or more bytes at the
// start of `text`, or 0.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// The length of the letter in UTF-8 at the start of `text`: a well-formed
// sequence of two or more bytes other than a C1 control (U+0080 to U+009F,
// written C2 80 to C2 9F), or 0.
std::size_t utf8LetterLength(std::string_view text) {
    const std::size_t length = utf8SequenceLength(text);
    const bool c1Control =
        length == 2 && static_cast<unsigned char>(text[0]) == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
    return c1Control ? 0 : length;
}

char letterEscape(unsigned char byte) {
    switch (byte) {
        case '\a': return 'a';
        case '\b': return 'b';
        case '\t': return 't';
        case '\n': return 'n';
        case '\v': return 'v';
        case '\f': return 'f';
        case '\r': return 'r';
        default: return 0;
    }
}

}  // namespace

std::string printableName(std::string_view name) {
    std::string text;
    text.reserve(name.size());
    while (!name.empty()) {
        const auto byte = static_cast<unsigned char>(name[0]);
        if (byte >= 0x20 && byte < 0x7F) {
            text += name[0];
            name.remove_prefix(1);
            continue;
        }
        if (const std::size_t length = byte >= 0x80 ? utf8LetterLength(name) : 0; length > 0) {
            text.append(name.substr(0, length));
            name.remove_prefix(length);
            continue;
        }
        if (const char letter = letterEscape(byte); letter != 0) {
            text += '\\';
            text += letter;
        } else {
            appendOctal(text, byte);
        }
        name.remove_prefix(1);
    }
    return text;
}

std::string blankControls(std::string_view text) {
    std::string blanked;
    blanked.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (const std::size_t length = byte >= 0x80 ? utf8LetterLength(text) : 0; length > 0) {
            blanked.append(text.substr(0, length));
            text.remove_prefix(length);
            continue;
        }
        // A C1 control in UTF-8 (two bytes) or as a lone byte 80 to 9F is a
        // control like the others; other lone bytes are Latin-1 letters.
        const std::size_t c1InUtf8 = byte >= 0x80 ? utf8SequenceLength(text) : 0;
        const bool control = (byte < 0x20 && byte != '\t') || (byte >= 0x7F && byte < 0xA0) || c1InUtf8 > 0;
        blanked += control ? ' ' : text[0];
        text.remove_prefix(std::max<std::size_t>(c1InUtf8, 1));
    }
    return blanked;
}

}  // namespace smf
