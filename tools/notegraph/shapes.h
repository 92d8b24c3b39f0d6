// The outline of one note: 33 named shapes in score coordinates (x in
// seconds, y in pitch units).
#pragma once

#include <string_view>

#include "smf/text_buffer.h"

namespace notegraph {

enum class Shape {
    Rectangle,
    Diamond,
    Hexthin,
    Hexthick,
    Plus,
    Triangleup,
    Triangledown,
    Triangleleft,
    Triangleright,
    Triangleroundright,
    Eyelid,
    Triangleroundleft,
    Round1, Round2, Round3, Round4,
    Oval, Antioval,
    Antiround, Antiround1, Antiround2, Antiround3, Antiround4,
    Curvedinner, Curvedinner1, Curvedinner2, Curvedinner3, Curvedinner4,
    Curvedouter, Curvedouter1, Curvedouter2, Curvedouter3, Curvedouter4,
};

// The shape of a name; an unknown name is a rectangle.
Shape shapeFromName(std::string_view name);

struct Box {
    double x;
    double y;
    double w;
    double h;
};

// aspect: the image's seconds-to-pitch-unit ratio, which some shapes undo to
// keep their corners in proportion; rounded: rectangles get round corners.
void drawShape(smf::TextBuffer& out, Shape shape, const Box& box, double aspect, bool rounded);

// An onset or offset time in a class name: milliseconds with "d" for the
// decimal point ("1d500").
void putTimeLabel(smf::TextBuffer& out, double seconds);

}  // namespace notegraph
