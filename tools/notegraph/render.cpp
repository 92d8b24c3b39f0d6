#include "render.h"

#include <algorithm>

#include "staff.h"
#include "xml_text.h"

namespace notegraph {

namespace {

constexpr int kPercussionChannel = 9;
// The grand staff always shows at least these keys.
constexpr int kGrandStaffLow = 40;
constexpr int kGrandStaffHigh = 80;
// Room for the clefs and brace left of the roll, in image units.
constexpr double kClefRoom = 15.0;

PitchRange noteOnRange(const smf::MidiEventList& track, PitchRange range) {
    for (const smf::MidiEvent& event : track) {
        if (event.isNoteOn()) {
            const int key = event.getP1();
            range.low = range.low < 0 ? key : std::min(range.low, key);
            range.high = std::max(range.high, key);
        }
    }
    return range;
}

PitchRange diatonicRange(PitchRange range, const Settings& settings) {
    if (settings.diatonic) {
        range.low = diatonicStep(range.low);
        range.high = diatonicStep(range.high);
    }
    return range;
}

bool hasDrawnNote(const smf::MidiEventList& track, const Settings& settings) {
    return std::any_of(track.begin(), track.end(),
                       [&](const smf::MidiEvent& event) { return isDrawnNote(event, settings); });
}

void putNoteData(smf::TextBuffer& out, const smf::MidiEvent& note, int trackNumber, int row,
                 const PitchRange& range) {
    const long long startTick = note.tick;
    const long long tickDuration = note.getTickDuration();
    const double start = note.seconds;
    const double duration = note.getDurationInSeconds();
    out.put("\t\t\t<!-- ==========================================\n");
    out.put("\t\t\t\t@Track:      ").putInt(trackNumber).put('\n');
    out.put("\t\t\t\t@Pitch:      ").putInt(row).put('\n');
    out.put("\t\t\t\t@Minpitch:   ").putInt(range.low).put('\n');
    out.put("\t\t\t\t@Maxpitch:   ").putInt(range.high).put('\n');
    out.put("\t\t\t\t@Velocity:   ").putInt(note.getP2()).put('\n');
    out.put("\t\t\t\t@Channel:    ").putInt(note.getChannel()).put('\n');
    out.put("\t\t\t\t@Start-tick: ").putInt(startTick).put(" ticks\n");
    out.put("\t\t\t\t@End-tick:   ").putInt(startTick + tickDuration).put(" ticks\n");
    out.put("\t\t\t\t@Tick-dur:   ").putInt(tickDuration).put(" ticks\n");
    out.put("\t\t\t\t@Start-time: ").putDouble(start).put(" seconds\n");
    out.put("\t\t\t\t@End-time:   ").putDouble(start + duration).put(" seconds\n");
    out.put("\t\t\t\t@Duration:   ").putDouble(duration).put(" seconds\n");
    out.put("\t\t\t=========================================== -->\n");
}

// Velocity as lightness: full velocity 80%, a fifth of it and below black.
int velocityLightness(int velocity) {
    return static_cast<int>(std::max(0.0, velocity / 127.0 - 0.2) * 100.0);
}

// The coloured or backdrop notes of one track.
void writeTrackNotes(smf::TextBuffer& out, const Settings& settings, const smf::MidiEventList& track,
                     int trackNumber, bool withData) {
    const PitchRange range = trackPitchRange(track, settings);
    const Shape shape = shapeFromName(trackShapeName(settings.shapes, trackNumber));
    for (const smf::MidiEvent& event : track) {
        if (isDrawnNote(event, settings)) {
            writeNote(out, settings, event, trackNumber, withData, range, shape);
        }
    }
}

void writeBackdrops(smf::TextBuffer& out, const Settings& settings, const smf::Tunefolio& file,
                    const std::vector<double>& hues) {
    for (int n = file.getTrackCount() - 1; n >= 0; --n) {
        if (hues[static_cast<std::size_t>(n)] < 0) {
            continue;
        }
        out.put("\t\t<g opacity=\"0.5\" class=\"note-backdrops track-").putInt(n).put("\"");
        out.put(" style=\"").put(settings.dark ? "fill:white;" : "fill:black;").put("\" >\n");
        writeTrackNotes(out, settings, file[n], n, false);
        out.put("\t\t</g>\n");
    }
}

void writeColouredNotes(smf::TextBuffer& out, const Settings& settings, const smf::Tunefolio& file,
                        const std::vector<double>& hues) {
    for (int n = file.getTrackCount() - 1; n >= 0; --n) {
        const double hue = hues[static_cast<std::size_t>(n)];
        if (hue < 0) {
            continue;
        }
        out.put("\t\t<g class=\"track-").putInt(n).put("\"");
        if (settings.transparency && !settings.blackAndWhite) {
            out.put(" filter=\"url(#constantOpacity)\"");
        }
        if (settings.blackAndWhite) {
            out.put(" style=\" fill:white;\"");
        } else {
            out.put(" style=\"opacity:").putDouble(settings.opacity).put(";");
            out.put(" fill:hsl(").putDouble(hue).put(", 100%, 75%);\"");
        }
        out.put(" >\n");
        writeTrackNotes(out, settings, file[n], n, settings.data);
        out.put("\t\t</g>\n");
    }
}

bool needsQuotes(std::string_view argument) {
    return argument.find(' ') != std::string_view::npos;
}

}  // namespace

PitchRange globalPitchRange(const smf::Tunefolio& file, const Settings& settings) {
    PitchRange range;
    for (int t = 0; t < file.getTrackCount(); ++t) {
        range = noteOnRange(file[t], range);
    }
    if (settings.grandStaff) {
        if (range.low > kGrandStaffLow) {
            range.low = kGrandStaffLow;
        }
        if (range.high < kGrandStaffHigh) {
            range.high = kGrandStaffHigh;
        }
    }
    return diatonicRange(range, settings);
}

PitchRange trackPitchRange(const smf::MidiEventList& track, const Settings& settings) {
    return diatonicRange(noteOnRange(track, PitchRange{}), settings);
}

bool isDrawnNote(const smf::MidiEvent& event, const Settings& settings) {
    return event.isNoteOn() && (settings.drum || event.getChannel() != kPercussionChannel);
}

std::vector<double> trackHues(const smf::Tunefolio& file, const Settings& settings) {
    std::vector<double> hues(static_cast<std::size_t>(file.getTrackCount()), -1.0);
    std::vector<int> drawn;
    for (int t = 0; t < file.getTrackCount(); ++t) {
        if (hasDrawnNote(file[t], settings)) {
            drawn.push_back(t);
        }
    }
    const double count = static_cast<double>(drawn.size());
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        hues[static_cast<std::size_t>(drawn[k])] = static_cast<double>(k) / count * 360.0;
    }
    return hues;
}

double drawnDuration(const smf::Tunefolio& file) {
    double duration = 0.0;
    for (int t = 0; t < file.getTrackCount(); ++t) {
        const smf::MidiEventList& track = file[t];
        for (int i = track.size() - 1; i >= 0; --i) {
            if (track[i].isNoteOff()) {
                duration = std::max(duration, track[i].seconds);
                break;
            }
        }
    }
    return duration;
}

void writeNote(smf::TextBuffer& out, const Settings& settings, const smf::MidiEvent& note, int trackNumber,
               bool withData, const PitchRange& trackRange, Shape shape) {
    const int key = mappedKey(settings, note.getP1(), note.getChannel());
    const int row = pitchRow(key, settings.diatonic);
    const double start = note.seconds;
    const double duration = note.getDurationInSeconds();
    if (withData) {
        putNoteData(out, note, trackNumber, row, trackRange);
    }
    out.put("\t\t\t<g");
    if (settings.velocityBrightness) {
        out.put(" fill=\"hsl(").putInt(0).put(",100%,").putInt(velocityLightness(note.getP2())).put("%)\"");
    }
    out.put(" class=\"note key-").putInt(key).put(" ont-");
    putTimeLabel(out, start);
    out.put(" offt-");
    putTimeLabel(out, start + duration);
    if (trackRange.low >= row) {
        out.put(" minima");
    }
    if (row >= trackRange.high) {
        out.put(" maxima");
    }
    out.put("\">\n");
    drawShape(out, shape, Box{start, static_cast<double>(row), duration, 1.0}, settings.aspect, settings.rounded);
    out.put("\t\t\t</g>\n");
}

void writeBody(smf::TextBuffer& out, const smf::Tunefolio& file, const Settings& settings) {
    if (settings.staff) {
        writeStaff(out, settings, file.getFileDurationInSeconds());
        if (settings.clefs) {
            writeClefs(out, settings);
            writeBrace(out, settings);
        }
    }
    out.put("\t<g style=\"stroke-width:").putDouble(settings.strokeWidth * settings.scale).put(";");
    out.put(" stroke:");
    putAttributeText(out, settings.strokeColor);
    out.put(";\">\n");
    const std::vector<double> hues = trackHues(file, settings);
    if (settings.line) {
        NoteSuccessors successors;
        for (int n = file.getTrackCount() - 1; n >= 0; --n) {
            const double hue = hues[static_cast<std::size_t>(n)];
            if (hue >= 0) {
                writeConnectingLines(out, settings, file[n], n, hue, successors);
            }
        }
    }
    if (!settings.blackAndWhite) {
        writeBackdrops(out, settings, file, hues);
    }
    writeColouredNotes(out, settings, file, hues);
    out.put("\t</g>\n");
}

void writeDocumentHead(smf::TextBuffer& out, const Settings& settings, const DocumentExtent& extent) {
    const double s = settings.scale;
    const double a = settings.aspect;
    const double b = settings.border;
    const double e = settings.endSpace;
    const double d = extent.duration;
    const double k = settings.clefs ? kClefRoom : 0.0;
    const double low = extent.pitches.low;
    const double top = extent.pitches.high;
    const double h = top - low + 1;

    out.put("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n");
    out.put("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
            "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n");
    out.put("<svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" "
            "xmlns:xlink=\"http://www.w3.org/1999/xlink\"");
    out.put(" viewPort=\"").putDouble(0.0).put(' ').putDouble(low).put(' ').putDouble(d).put(' ').putDouble(h);
    out.put("\" viewBox=\"").putDouble((-b - k) * s).put(' ').putDouble(-b * s).put(' ');
    out.putDouble(((e + d) * a + 2 * b + k) * s).put(' ').putDouble((2 * b + h) * s);
    out.put("\" width=\"").putDouble((k + (d + e) * a + 2 * b) * s);
    out.put("\" height=\"").putDouble((2 * b + h) * s).put("\">\n");
    if (settings.transparency && !settings.blackAndWhite) {
        out.put("<filter id=\"constantOpacity\">\n");
        out.put("\t<feComponentTransfer>\n");
        out.put("\t\t<feFuncA type=\"table\" tableValues=\"0 .5 .5\" />\n");
        out.put("\t</feComponentTransfer>\n");
        out.put("</filter>\n");
    }
    if (settings.dark && !settings.blackAndWhite) {
        out.put("<rect class=\"background\" x=\"-500%\" y=\"-500%\" width=\"1000%\" height=\"1000%\" "
                "style=\"fill:black\" />\n");
    }
    out.put("<g transform=\"scale(").putDouble(s * a).put(", ").putDouble(-s).put(")");
    out.put(" translate(0, ").putInt(-(static_cast<long long>(extent.pitches.high) + 1)).put(")\" >\n");
}

void writeDocumentTail(smf::TextBuffer& out, const std::vector<std::string>& arguments) {
    out.put("</g>\n</svg>\n");
    out.put("<?notegraph\n\t");
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            out.put(' ');
        }
        const bool quoted = needsQuotes(arguments[i]);
        if (quoted) {
            out.put('"');
        }
        putInstructionText(out, arguments[i]);
        if (quoted) {
            out.put('"');
        }
    }
    out.put("\n?>\n");
}

}  // namespace notegraph
