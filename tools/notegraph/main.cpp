// notegraph: draws the notes of a Standard MIDI File as an SVG piano roll.
#include <iostream>

#include "frame/frame.h"
#include "render.h"
#include "settings.h"
#include "smf/text_buffer.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "20 February 2016",
    .version = "20 February 2016",
    .usage = frame::usageLine(" input.mid > output.svg"),
    .example = "",
    .options =
        {
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
        },
    .order = frame::OwnOptions::BeforeStandard,
};

smf::Options options;
notegraph::Settings settings;

void readSettings() {
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
        notegraph::parsePercussionMap(options.getString("percussion-map"), settings.percussionMap);
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
    settings.shapes = notegraph::parseShapeList(options.getString("shapes"));

    settings.strokeWidth = options.getDouble("stroke-width");
    settings.strokeColor = options.getString("stroke-color");
}

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (!frame::requireArguments(options, kTool, 1)) {
        return 1;
    }
    readSettings();

    const std::string filename = options.getArg(1);
    smf::Tunefolio file;
    if (!frame::readMidiFile(file, filename)) {
        return 1;
    }
    // Notes are drawn from their pairs, at the times of the tempo map.
    file.linkNotePairs();
    file.doTimeAnalysis();
    const notegraph::PitchRange pitches = notegraph::globalPitchRange(file, settings);

    // The whole body is drawn before the first byte is written.
    smf::TextBuffer body;
    notegraph::writeBody(body, file, settings);
    const notegraph::DocumentExtent extent{pitches, notegraph::drawnDuration(file)};

    smf::TextBuffer head;
    notegraph::writeDocumentHead(head, settings, extent);
    smf::TextBuffer tail;
    notegraph::writeDocumentTail(tail, std::vector<std::string>(argv + 1, argv + argc));
    head.writeTo(std::cout);
    body.writeTo(std::cout);
    tail.writeTo(std::cout);
    std::cout.flush();
    if (!std::cout) {
        return frame::error("Error: could not write the SVG image");
    }
    return 0;
}
