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
    if (const std::string invalid = notegraph::invalidSetting(options); !invalid.empty()) {
        return frame::error(invalid);
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
    // The root element needs only the pitch range and the drawn duration,
    // both known before the body: the document streams out as it is drawn.
    const notegraph::DocumentExtent extent{notegraph::globalPitchRange(file, settings),
                                           notegraph::drawnDuration(file)};
    smf::TextBuffer out(std::cout);
    notegraph::writeDocumentHead(out, settings, extent);
    notegraph::writeBody(out, file, settings);
    notegraph::writeDocumentTail(out, std::vector<std::string>(argv + 1, argv + argc));
    if (!out.flushStream()) {
        return frame::error("Error: could not write the SVG image");
    }
    return 0;
}
