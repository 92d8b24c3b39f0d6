#include "shapes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace notegraph {

namespace {

constexpr std::string_view kPathStart = "\t\t\t\t<path vector-effect=\"non-scaling-stroke\" d=\"";
constexpr std::string_view kPathEnd = " z\"/>\n";

struct NamedShape {
    std::string_view name;
    Shape shape;
};

constexpr NamedShape kShapeNames[] = {
    {"rectangle", Shape::Rectangle},
    {"diamond", Shape::Diamond},
    {"hexthin", Shape::Hexthin},
    {"hexthick", Shape::Hexthick},
    {"plus", Shape::Plus},
    {"triangleup", Shape::Triangleup},
    {"triangledown", Shape::Triangledown},
    {"triangleleft", Shape::Triangleleft},
    {"triangleright", Shape::Triangleright},
    {"triangleroundright", Shape::Triangleroundright},
    {"eyelid", Shape::Eyelid},
    {"triangleroundleft", Shape::Triangleroundleft},
    {"round1", Shape::Round1},
    {"round2", Shape::Round2},
    {"round3", Shape::Round3},
    {"round4", Shape::Round4},
    {"oval", Shape::Oval},
    {"antioval", Shape::Antioval},
    {"antiround", Shape::Antiround},
    {"antiround1", Shape::Antiround1},
    {"antiround2", Shape::Antiround2},
    {"antiround3", Shape::Antiround3},
    {"antiround4", Shape::Antiround4},
    {"curvedinner", Shape::Curvedinner},
    {"curvedinner1", Shape::Curvedinner1},
    {"curvedinner2", Shape::Curvedinner2},
    {"curvedinner3", Shape::Curvedinner3},
    {"curvedinner4", Shape::Curvedinner4},
    {"curvedouter", Shape::Curvedouter},
    {"curvedouter1", Shape::Curvedouter1},
    {"curvedouter2", Shape::Curvedouter2},
    {"curvedouter3", Shape::Curvedouter3},
    {"curvedouter4", Shape::Curvedouter4},
};

struct Point {
    double x;
    double y;
};

void putPoint(smf::TextBuffer& out, Point p) {
    out.putDouble(p.x).put(' ').putDouble(p.y);
}

// "M " first point, " L " before each further one, then the closing text.
void putPolygon(smf::TextBuffer& out, std::string_view move, std::initializer_list<Point> points) {
    out.put(kPathStart).put(move);
    bool first = true;
    for (Point p : points) {
        if (!first) {
            out.put(" L ");
        }
        putPoint(out, p);
        first = false;
    }
    out.put(kPathEnd);
}

void putRectangle(smf::TextBuffer& out, const Box& b, bool rounded) {
    out.put("\t\t\t\t<rect vector-effect=\"non-scaling-stroke\"");
    if (rounded) {
        out.put("\trx=\"1\"\try=\"1\"");
    }
    out.put("\tx=\"").putDouble(b.x).put("\"");
    out.put("\ty=\"").putDouble(b.y).put("\"");
    out.put("\twidth=\"").putDouble(b.w).put("\"");
    out.put("\theight=\"").putDouble(b.h).put("\"");
    out.put(" />\n");
}

void putEyelid(smf::TextBuffer& out, const Box& b) {
    const double xm = b.x + b.w / 2;
    const double ym = b.y + b.h / 2;
    out.put(kPathStart).put("M ");
    putPoint(out, {b.x, ym});
    out.put(" Q ");
    putPoint(out, {xm, b.y + b.h});
    out.put(' ');
    putPoint(out, {b.x + b.w, ym});
    out.put(" Q ");
    putPoint(out, {xm, b.y});
    out.put(' ');
    putPoint(out, {b.x, ym});
    out.put(kPathEnd);
}

void putArc(smf::TextBuffer& out, double rx, double ry, int sweep, Point end) {
    out.put(" A ").putDouble(rx).put(' ').putDouble(ry).put(" 0 0 ").putInt(sweep).put(' ');
    putPoint(out, end);
}

// A round tip on the right of a triangle whose apex points left: the sides
// meet the tip's circle where they are tangent to it.
void putTriangleRoundLeft(smf::TextBuffer& out, const Box& b, double aspect) {
    const double r = b.h / 2;
    const double yc = b.y + r;
    const double wide = aspect * b.w;
    const double g = std::sqrt(wide * wide + r * r);
    const double px = b.x + wide * (g - r) / g / aspect;
    const double q = r * (g - r) / g;
    out.put(kPathStart).put("M ");
    putPoint(out, {b.x, yc});
    out.put(" L ");
    putPoint(out, {px, yc + q});
    out.put(" A ").putDouble(r).put(' ').putDouble(r).put(" 0 0 0 ");
    putPoint(out, {b.x + b.w, yc});
    out.put(" A ").putDouble(r).put(' ').putDouble(r).put(" 0 0 0 ");
    putPoint(out, {px, yc - q});
    out.put(kPathEnd);
}

struct RoundedBox {
    bool halfWidth;    // rx = w/2, else min(w/3, 2)
    bool halfHeight;   // ry = h/2, else h/4
    int sweep[4];
};

RoundedBox roundedBoxOf(Shape shape) {
    switch (shape) {
        case Shape::Round1: return {true, true, {1, 0, 0, 0}};
        case Shape::Round2: return {true, true, {0, 1, 0, 0}};
        case Shape::Round3: return {true, true, {0, 0, 1, 0}};
        case Shape::Round4: return {true, true, {0, 0, 0, 1}};
        case Shape::Oval: return {false, true, {1, 1, 1, 1}};
        case Shape::Antioval: return {false, true, {0, 0, 0, 0}};
        case Shape::Antiround: return {true, true, {1, 1, 1, 1}};
        case Shape::Antiround1: return {true, true, {0, 1, 1, 1}};
        case Shape::Antiround2: return {true, true, {1, 0, 1, 1}};
        case Shape::Antiround3: return {true, true, {1, 1, 0, 1}};
        case Shape::Antiround4: return {true, true, {1, 1, 1, 0}};
        case Shape::Curvedinner: return {false, false, {1, 1, 1, 1}};
        case Shape::Curvedinner1: return {false, false, {1, 0, 0, 0}};
        case Shape::Curvedinner2: return {false, false, {0, 1, 0, 0}};
        case Shape::Curvedinner3: return {false, false, {0, 0, 1, 0}};
        case Shape::Curvedinner4: return {false, false, {0, 0, 0, 1}};
        case Shape::Curvedouter: return {false, false, {0, 0, 0, 0}};
        case Shape::Curvedouter1: return {false, false, {0, 1, 1, 1}};
        case Shape::Curvedouter2: return {false, false, {1, 0, 1, 1}};
        case Shape::Curvedouter3: return {false, false, {1, 1, 0, 1}};
        default: return {false, false, {1, 1, 1, 0}};  // curvedouter4
    }
}

void putRoundedBox(smf::TextBuffer& out, const Box& b, const RoundedBox& kind) {
    const double rx = kind.halfWidth ? b.w / 2 : std::min(b.w / 3, 2.0);
    const double ry = kind.halfHeight ? b.h / 2 : b.h / 4;
    const double left = b.x;
    const double right = b.x + b.w;
    const double bottom = b.y;
    const double top = b.y + b.h;
    out.put(kPathStart).put(" M ");
    putPoint(out, {left, bottom + ry});
    out.put(" L ");
    putPoint(out, {left, top - ry});
    putArc(out, rx, ry, kind.sweep[0], {left + rx, top});
    out.put(" L ");
    putPoint(out, {right - rx, top});
    putArc(out, rx, ry, kind.sweep[1], {right, top - ry});
    out.put(" L ");
    putPoint(out, {right, top - ry});
    out.put(" L ");
    putPoint(out, {right, bottom + ry});
    putArc(out, rx, ry, kind.sweep[2], {right - rx, bottom});
    out.put(" L ");
    putPoint(out, {right - rx, bottom});
    out.put(" L ");
    putPoint(out, {left + rx, bottom});
    putArc(out, rx, ry, kind.sweep[3], {left, bottom + ry});
    out.put(kPathEnd);
}

}  // namespace

Shape shapeFromName(std::string_view name) {
    for (const NamedShape& entry : kShapeNames) {
        if (entry.name == name) {
            return entry.shape;
        }
    }
    return Shape::Rectangle;
}

void drawShape(smf::TextBuffer& out, Shape shape, const Box& b, double aspect, bool rounded) {
    const double x = b.x;
    const double y = b.y;
    const double w = b.w;
    const double h = b.h;
    const double xm = x + w / 2;
    const double ym = y + h / 2;
    switch (shape) {
        case Shape::Rectangle:
            putRectangle(out, b, rounded);
            return;
        case Shape::Diamond:
            putPolygon(out, "M ", {{x, ym}, {xm, y}, {x + w, ym}, {xm, y + h}});
            return;
        case Shape::Hexthin:
            putPolygon(out, "M ", {{x, y + h / 3}, {x, y + 2 * h / 3}, {xm, y + h},
                                   {x + w, y + 2 * h / 3}, {x + w, y + h / 3}, {xm, y}});
            return;
        case Shape::Hexthick: {
            const double i = (aspect * w < h ? w / 2 : h / 2) / aspect;
            putPolygon(out, "M ", {{x, ym}, {x + i, y + h}, {x + w - i, y + h},
                                   {x + w, ym}, {x + w - i, y}, {x + i, y}});
            return;
        }
        case Shape::Plus: {
            const double g = std::min(w / 3, 2.0);
            putPolygon(out, " M ", {{x, y + h / 4}, {x, y + 3 * h / 4}, {x + g, y + 3 * h / 4},
                                    {x + g, y + h}, {x + w - g, y + h}, {x + w - g, y + 3 * h / 4},
                                    {x + w, y + 3 * h / 4}, {x + w, y + h / 4}, {x + w - g, y + h / 4},
                                    {x + w - g, y}, {x + g, y}, {x + g, y + h / 4}});
            return;
        }
        case Shape::Triangleup:
            putPolygon(out, "M ", {{x, y}, {xm, y + h}, {x + w, y}});
            return;
        case Shape::Triangledown:
            putPolygon(out, "M ", {{x, y + h}, {xm, y}, {x + w, y + h}});
            return;
        case Shape::Triangleleft:
        case Shape::Triangleroundright:
            putPolygon(out, "M ", {{x, ym}, {x + w, y + h}, {x + w, y}});
            return;
        case Shape::Triangleright:
            putPolygon(out, "M ", {{x + w, ym}, {x, y + h}, {x, y}});
            return;
        case Shape::Eyelid:
            putEyelid(out, b);
            return;
        case Shape::Triangleroundleft:
            putTriangleRoundLeft(out, b, aspect);
            return;
        default:
            putRoundedBox(out, b, roundedBoxOf(shape));
            return;
    }
}

void putTimeLabel(smf::TextBuffer& out, double seconds) {
    // Milliseconds, half a millisecond rounding up; as "%.3f" with "d".
    // Times beyond any real file are clamped so the conversion stays defined.
    const double scaled = std::clamp(seconds * 1000.0 + 0.5, 0.0, 1e15);
    const auto millis = static_cast<std::int64_t>(scaled);
    const auto fraction = static_cast<int>(millis % 1000);
    char* at = out.claim(smf::kNumberRoom + 4);
    at = std::to_chars(at, at + smf::kNumberRoom, millis / 1000).ptr;
    *at++ = 'd';
    *at++ = static_cast<char>('0' + fraction / 100);
    *at++ = static_cast<char>('0' + fraction / 10 % 10);
    *at++ = static_cast<char>('0' + fraction % 10);
    out.commit(at);
}

}  // namespace notegraph
