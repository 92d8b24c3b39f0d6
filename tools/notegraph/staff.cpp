#include "staff.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "glyphs.h"
#include "xml_text.h"

namespace notegraph {

namespace {

constexpr double kChromaticLines[10] = {64.5, 67.5, 71.5, 74.5, 77.5, 43.5, 47.5, 50.5, 53.5, 57.5};
constexpr double kDiatonicLines[10] = {37.5, 39.5, 41.5, 43.5, 45.5, 25.5, 27.5, 29.5, 31.5, 33.5};
constexpr double kClefStrokeFactor = 6.0;
// How far the staff reaches left of time 0 to carry the clefs, in units of
// the clef group.
constexpr double kStaffLeadIn = 4.65;

// The horizontal correction that keeps the furniture's designed width.
double furnitureScale(const Settings& settings) {
    return 2.5 / settings.aspect;
}

// "x,y"
void putCommaPoint(smf::TextBuffer& out, double x, double y) {
    out.putDouble(x).put(',').putDouble(y);
}

// "M" p1 " L" p2 ... in the comma form of the barlines.
void putBarPoints(smf::TextBuffer& out, std::initializer_list<std::pair<double, double>> points) {
    out.put('M');
    bool first = true;
    for (const auto& [x, y] : points) {
        if (!first) {
            out.put(" L");
        }
        putCommaPoint(out, x, y);
        first = false;
    }
}

void putClefFill(smf::TextBuffer& out, const Settings& settings) {
    if (settings.blackAndWhite) {
        out.put("transparent");
    } else {
        putAttributeText(out, settings.clefColor);
    }
}

// The path data of one connecting line from a note ending at `end` on row
// y1 to the next note, starting at s2 on row y2.
void putLinePath(smf::TextBuffer& out, const Settings& settings, double end, double y1, double s2, double y2) {
    const double rest = s2 - end;
    if (settings.radiusLine && settings.arcRadius > 0) {
        const double t = std::min({std::fabs(y2 - y1), std::fabs(rest), settings.arcRadius});
        const double rx = t / settings.aspect;
        out.put(" M").putDouble(end).put(' ').putDouble(y1);
        out.put(" L").putDouble(s2 - rx).put(' ').putDouble(y1);
        out.put(" A").putDouble(rx).put(' ').putDouble(t);
        out.put(y1 < y2 ? " 0 0 1 " : " 0 0 0 ");
        out.putDouble(s2).put(' ').putDouble(y1 < y2 ? y1 + t : y1 - t);
        out.put(" L").putDouble(s2).put(' ').putDouble(y2);
    } else if (settings.curvedLine && rest > 0) {
        out.put(" M").putDouble(end).put(',').putDouble(y1);
        out.put(" Q").putDouble(s2).put(',').putDouble(y1);
        out.put(' ').putDouble(s2).put(' ').putDouble(y2);
    } else if (rest > 0) {
        out.put(" M").putDouble(end).put(' ').putDouble(y1);
        out.put(" L").putDouble(s2).put(' ').putDouble(y1);
        out.put(" L").putDouble(s2).put(' ').putDouble(y2);
    } else {
        out.put(" M").putDouble(s2).put(' ').putDouble(y1);
        out.put(" L").putDouble(s2).put(' ').putDouble(y2);
    }
}

double lineRow(const Settings& settings, const smf::MidiEvent& note) {
    return pitchRow(mappedKey(settings, note.getP1(), note.getChannel()), settings.diatonic) + 0.5;
}

}  // namespace

void writeStaff(smf::TextBuffer& out, const Settings& settings, double fileDuration) {
    const double* lines = settings.diatonic ? kDiatonicLines : kChromaticLines;
    const double top = *std::max_element(lines, lines + 10);
    const double bottom = *std::min_element(lines, lines + 10);
    const double u = furnitureScale(settings);
    const double x0 = settings.clefs ? -kStaffLeadIn * u : 0.0;
    const double x1 = fileDuration + settings.endSpace;
    const double v = u / 2;

    out.put("\t<g class=\"staff-lines\" stroke-width=\"").putDouble(settings.staffWidth).put("\" stroke=\"");
    putAttributeText(out, settings.staffColor);
    out.put("\">\n");
    for (int i = 0; i < 10; ++i) {
        out.put("\t\t<path vector-effect=\"non-scaling-stroke\" d=\"M").putDouble(x0).put(' ').putDouble(lines[i]);
        out.put(" L").putDouble(x1).put(' ').putDouble(lines[i]).put("\" />\n");
    }
    if (settings.finalBarline) {
        out.put("\t\t<path stroke=\"#cccccc\" fill=\"#cccccc\" d=\"");
        putBarPoints(out, {{x1, bottom}, {x1, top}, {x1 - v, top}, {x1 - v, bottom}});
        out.put(" z\"/>\n");
        out.put("\t\t<path stroke=\"");
        putAttributeText(out, settings.staffColor);
        out.put("\" fill=\"");
        putAttributeText(out, settings.staffColor);
        out.put("\" d=\"");
        putBarPoints(out, {{x1 - 1.5 * v, bottom}, {x1 - 1.5 * v, top}});
        out.put("\"/>\n");
    } else if (settings.doubleBarline) {
        for (double x : {x1 - v, x1}) {
            out.put("\t\t<path vector-effect=\"non-scaling-stroke\" d=\"");
            putBarPoints(out, {{x, bottom}, {x, top}});
            out.put("\"/>\n");
        }
    }
    if (settings.brace) {
        out.put("\t\t<path vector-effect=\"non-scaling-stroke\" d=\"");
        putBarPoints(out, {{x0, bottom}, {x0, top}});
        out.put(" z\"/>\n");
    }
    out.put("\t</g>\n");
}

void writeClefs(smf::TextBuffer& out, const Settings& settings) {
    const double strokeWidth = settings.staffWidth * kClefStrokeFactor;
    out.put("<g transform=\"scale(").putDouble(furnitureScale(settings)).put(", 1)\">\n");

    out.put("\t<g vector-effect=\"non-scaling-stroke\" class=\"treble-clef\" stroke=\"");
    putAttributeText(out, settings.clefColor);
    out.put("\" stroke-width=\"").putDouble(strokeWidth).put("\" fill=\"");
    putClefFill(out, settings);
    out.put("\" transform=\"translate(-17.25, 5.15) scale(0.06, 0.07)\">\n");
    out.put("\t\t<path vector-effect=\"non-scaling-stroke\" d=\"").put(kTrebleClef).put("\"/>\n");
    out.put("\t</g>\n");

    out.put("\t<g class=\"bass-clef\" fill=\"");
    putClefFill(out, settings);
    out.put("\" stroke=\"");
    putAttributeText(out, settings.clefColor);
    out.put("\" transform=\"scale(1.02, 1) translate(-0.25, 0.25)\" stroke-width=\"").putDouble(strokeWidth);
    out.put("\">\n\t\t<g transform=\"matrix(0.1835537,0,0,0.1830159,-98.297967,-1128.8415)\">\n");
    for (std::string_view part : {kBassClefBody, kBassClefUpperDot, kBassClefLowerDot}) {
        out.put("\t\t\t<path vector-effect=\"non-scaling-stroke\" d=\"").put(part).put("\"/>\n");
    }
    out.put("\t\t</g>\n\t</g>\n");
    out.put("</g>\n");
}

void writeBrace(smf::TextBuffer& out, const Settings& settings) {
    out.put("<g transform=\"scale(").putDouble(furnitureScale(settings)).put(", 1)\">\n");
    out.put("\t<g class=\"brace\" transform=\"rotate(0.2) translate(").putDouble(30.5).put(',').putDouble(-324);
    out.put(") scale(1,-1) scale(.0175)\">\n\t\t<path vector-effect=\"non-scaling-stroke\" stroke=\"");
    putAttributeText(out, settings.clefColor);
    out.put("\" fill=\"");
    putClefFill(out, settings);
    out.put("\" stroke-width=\"").putDouble(settings.staffWidth * kClefStrokeFactor);
    out.put("\" stroke-linejoin=\"round\" d=\"").put(kBrace).put("\"/>\n\t</g>\n");
    out.put("</g>\n");
}

void NoteSuccessors::scan(const smf::MidiEventList& track) {
    m_index.clear();
    m_onset.clear();
    m_ordered = true;
    for (int i = 0; i < track.size(); ++i) {
        const smf::MidiEvent& event = track[i];
        if (!event.isNoteOn()) {
            continue;
        }
        if (!m_onset.empty() && event.seconds < m_onset.back()) {
            m_ordered = false;
        }
        m_index.push_back(i);
        m_onset.push_back(event.seconds);
    }
}

int NoteSuccessors::successor(int note, double end) const {
    const auto from = m_onset.begin() + note + 1;
    if (m_ordered) {
        const auto found = std::lower_bound(from, m_onset.end(), end);
        return found == m_onset.end() ? -1 : static_cast<int>(found - m_onset.begin());
    }
    // A track out of time order (never one read from a file): look in order.
    const auto found = std::find_if(from, m_onset.end(), [end](double onset) { return onset >= end; });
    return found == m_onset.end() ? -1 : static_cast<int>(found - m_onset.begin());
}

void writeConnectingLines(smf::TextBuffer& out, const Settings& settings, const smf::MidiEventList& track,
                          int trackNumber, double hue, NoteSuccessors& successors) {
    out.put("\t\t<g class=\"note-lines track-").putInt(trackNumber).put("\" fill=\"none\" stroke=\"");
    if (settings.blackAndWhite) {
        putAttributeText(out, settings.staffColor);
    } else {
        out.put("hsl(").putFixed(hue, 6).put(", 100%, 75%)");
    }
    out.put("\"");
    if (settings.dash) {
        out.put(" stroke-dasharray=\"").putDouble(2.25).put("\"").put(" vector-effect=\"non-scaling-stroke\"");
    }
    out.put(" stroke-width=\"").putDouble(settings.lineWidth).put("\">\n");

    successors.scan(track);
    for (int note = 0; note < successors.noteCount(); ++note) {
        const smf::MidiEvent& e = track[successors.eventIndex(note)];
        const double end = e.seconds + e.getDurationInSeconds();
        const int next = successors.successor(note, end);
        if (next < 0) {
            continue;
        }
        const smf::MidiEvent& f = track[successors.eventIndex(next)];
        if (f.seconds - end > settings.maxRest) {
            continue;
        }
        out.put("\t\t\t<path  vector-effect=\"non-scaling-stroke\" stroke-linejoin=\"round\" d=\"");
        putLinePath(out, settings, end, lineRow(settings, e), f.seconds, lineRow(settings, f));
        out.put("\" />\n");
    }
    out.put("\t\t</g>\n");
}

}  // namespace notegraph
