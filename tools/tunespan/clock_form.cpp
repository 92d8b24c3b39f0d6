#include "clock_form.h"

#include <cmath>
#include <limits>

namespace tunespan {

namespace {

void appendTwoDigits(std::string& text, long long value) {
    if (value < 10) {
        text += '0';
    }
    text += std::to_string(value);
}

}  // namespace

std::string clockForm(double seconds) {
    if (!std::isfinite(seconds)) {
        return "-:--";
    }
    std::string text;
    if (seconds < 0) {
        text += '-';
        seconds = -seconds;
    }
    // Whole minutes fit a long long for any time a MIDI file can last;
    // beyond that the clock saturates rather than overflow.
    const double wholeMinutes = std::trunc(seconds / 60.0);
    long long minutes = wholeMinutes < 9e15 ? static_cast<long long>(wholeMinutes)
                                            : std::numeric_limits<long long>::max() / 2;
    const double rest = seconds - 60.0 * static_cast<double>(minutes);
    long long wholeSeconds = static_cast<long long>(std::trunc(rest));
    if (rest - std::trunc(rest) >= 0.5) {
        ++wholeSeconds;
    }
    if (wholeSeconds == 60) {
        wholeSeconds = 0;
        ++minutes;
    }
    if (minutes >= 60) {
        text += std::to_string(minutes / 60);
        text += ':';
        appendTwoDigits(text, minutes % 60);
    } else {
        text += std::to_string(minutes);
    }
    text += ':';
    appendTwoDigits(text, wholeSeconds);
    return text;
}

}  // namespace tunespan
