#include "picture_text.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "window/state_registry.h"

namespace lumetra::driver {
namespace {

std::string summary_of(const display::Picture& pic) {
    struct Colour {
        common::Rgb colour;
        std::size_t ops = 0;
        float low = 0.0f, high = 0.0f;
    };
    std::vector<Colour> colours;
    std::size_t lines = 0, points = 0, prints = 0;
    std::string texts;
    for (const display::PlotOp& op : pic.ops()) {
        if (op.kind == display::PlotOp::Kind::Print) {
            ++prints;
            texts += "PRINT " + op.text + '\n';
            continue;
        }
        ++(op.kind == display::PlotOp::Kind::Line ? lines : points);
        const float low = std::min(op.y1, op.y2), high = std::max(op.y1, op.y2);
        auto c = std::find_if(colours.begin(), colours.end(),
                              [&op](const Colour& k) { return k.colour == op.colour; });
        if (c == colours.end()) {
            colours.push_back(Colour{op.colour, 0, low, high});
            c = colours.end() - 1;
        }
        ++c->ops;
        c->low = std::min(c->low, low);
        c->high = std::max(c->high, high);
    }
    std::string text = "OPS " + std::to_string(pic.ops().size()) + ": LINE " +
                       std::to_string(lines) + " PSET " + std::to_string(points) + " PRINT " +
                       std::to_string(prints) + '\n';
    for (const Colour& c : colours)
        text += "COLOUR " + c.colour.text() + ' ' + std::to_string(c.ops) + " y " +
                format_float(c.low) + ' ' + format_float(c.high) + '\n';
    return text + texts;
}

std::string every_op(const display::Picture& pic) {
    std::string text;
    for (const display::PlotOp& op : pic.ops()) {
        switch (op.kind) {
            case display::PlotOp::Kind::Line:
                text += "LINE " + format_float(op.x1) + ' ' + format_float(op.y1) + ' ' +
                        format_float(op.x2) + ' ' + format_float(op.y2) + ' ' + op.colour.text() +
                        '\n';
                break;
            case display::PlotOp::Kind::PSet:
                text += "PSET " + format_float(op.x1) + ' ' + format_float(op.y1) + ' ' +
                        op.colour.text() + '\n';
                break;
            case display::PlotOp::Kind::Print:
                text += "PRINT " + op.text + '\n';
                break;
        }
    }
    return text;
}

}  // namespace

std::string format_float(float v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return res.ec == std::errc() ? std::string(buf, res.ptr) : window::format_number(v);
}

std::string picture_text(const display::Picture& pic, bool summary) {
    const display::UserScale& s = pic.scale();
    const std::string scale = "SCALE " + format_float(s.left) + ' ' + format_float(s.top) + ' ' +
                              format_float(s.right) + ' ' + format_float(s.bottom) + '\n';
    return scale + (summary ? summary_of(pic) : every_op(pic));
}

}  // namespace lumetra::driver
