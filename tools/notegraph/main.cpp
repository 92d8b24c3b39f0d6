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
    .options = notegraph::optionTable(),
    .order = frame::OwnOptions::BeforeStandard,
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (!frame::requireArguments(options, kTool, 1)) {
        return 1;
    }
    const notegraph::Settings settings = notegraph::readSettings(options);

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
