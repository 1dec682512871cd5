// The picture as an SVG file: the same scene the window draws, in the same
// order and colours, framed on what it holds.

#include "svg.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "camera.hpp"
#include "palette.hpp"
#include "render.hpp"

namespace {

// Room around the framed set, in pixels of the picture.
constexpr double MarginPixels = 20.0;

bool finite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// "#rrggbb" for a palette colour.
struct Hex {
    char text[8];
};
Hex hex(const Rgb& c)
{
    // Rounded in single precision, as the window's 8-bit colour buffer stores them.
    const auto byte = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    Hex h{};
    std::snprintf(h.text, sizeof h.text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
    return h;
}

// The x/y extent of what is framed: points, segment ends and whole circles.
// Lines reach far past the set, as in the window, and are cut at the frame.
struct Extent {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    void add(double x, double y, double r = 0.0)
    {
        minX = std::min(minX, x - r);
        minY = std::min(minY, y - r);
        maxX = std::max(maxX, x + r);
        maxY = std::max(maxY, y + r);
    }
};

Extent extentOf(const SceneStore& scene)
{
    Extent e;
    for (const Point& p : scene.points)
        if (finite(p)) e.add(p.x, p.y);
    for (const Segment& s : scene.segments)
        if (finite(s.start) && finite(s.end)) {
            e.add(s.start.x, s.start.y);
            e.add(s.end.x, s.end.y);
        }
    for (const Circle& k : scene.circles)
        if (finite(k.center) && std::isfinite(k.radius)) e.add(k.center.x, k.center.y, std::abs(double(k.radius)));
    if (e.minX > e.maxX) e.add(0.0, 0.0);
    return e;
}

// Pixels per scene unit that fit the extent into the window's size, margins
// included; a set of no size on an axis leaves that axis free.
double pixelScale(const Extent& e)
{
    const double fitX = (WindowWidth - 2.0 * MarginPixels) / (e.maxX - e.minX);
    const double fitY = (WindowHeight - 2.0 * MarginPixels) / (e.maxY - e.minY);
    const double scale = std::min(fitX, fitY); // a zero span divides to +inf
    return std::isfinite(scale) ? scale : 1.0;
}

// The colour a primitive is drawn in: its own, or, outside the palette, the
// one drawn last, as the window does.
struct Pen {
    ColorIndex current = InitialColor;
    ColorIndex take(ColorIndex c) { return current = inPalette(c) ? c : current; }
};

} // namespace

bool writeSvg(std::FILE* out, const SceneStore& scene)
{
    const Extent e = extentOf(scene);
    const double scale = pixelScale(e);
    const double margin = MarginPixels / scale;
    // The picture's y runs down, the scene's up: every y is written negated.
    std::fprintf(out,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
                 "viewBox=\"%.12g %.12g %.12g %.12g\">\n",
                 std::ceil((e.maxX - e.minX) * scale + 2.0 * MarginPixels),
                 std::ceil((e.maxY - e.minY) * scale + 2.0 * MarginPixels), e.minX - margin, -e.maxY - margin,
                 e.maxX - e.minX + 2.0 * margin, e.maxY - e.minY + 2.0 * margin);
    std::fprintf(out, "<rect id=\"background\" x=\"%.12g\" y=\"%.12g\" width=\"%.12g\" height=\"%.12g\" fill=\"%s\"/>\n",
                 e.minX - margin, -e.maxY - margin, e.maxX - e.minX + 2.0 * margin, e.maxY - e.minY + 2.0 * margin,
                 hex(BackgroundColor).text);

    // Segment ends carry a square of MarkerSize line widths, one marker per colour.
    std::fputs("<defs>\n", out);
    for (std::size_t c = 0; c < Palette.size(); ++c)
        std::fprintf(out,
                     "<marker id=\"end%zu\" viewBox=\"0 0 1 1\" refX=\"0.5\" refY=\"0.5\" markerWidth=\"%g\" "
                     "markerHeight=\"%g\"><rect width=\"1\" height=\"1\" fill=\"%s\"/></marker>\n",
                     c, double(MarkerSize), double(MarkerSize), hex(Palette[c]).text);
    std::fputs("</defs>\n", out);

    // Lines are one pixel wide, as the window draws them.
    Pen pen;
    std::fprintf(out, "<g id=\"circles\" fill=\"none\" stroke-width=\"%.12g\">\n", 1.0 / scale);
    for (const Circle& k : scene.circles) {
        const ColorIndex c = pen.take(k.color);
        if (!finite(k.center) || !std::isfinite(k.radius)) continue;
        std::fprintf(out, "<circle cx=\"%.12g\" cy=\"%.12g\" r=\"%.12g\" stroke=\"%s\"/>\n", double(k.center.x),
                     -double(k.center.y), std::abs(double(k.radius)), hex(Palette[std::size_t(c)]).text);
    }
    std::fprintf(out, "</g>\n<g id=\"lines\" stroke-width=\"%.12g\">\n", 1.0 / scale);
    for (const Line& l : scene.lines) {
        const ColorIndex c = pen.take(l.color);
        const Point a = lineEnd(l, 1.0), b = lineEnd(l, -1.0);
        if (!finite(a) || !finite(b)) continue;
        std::fprintf(out, "<line x1=\"%.12g\" y1=\"%.12g\" x2=\"%.12g\" y2=\"%.12g\" stroke=\"%s\"/>\n", double(a.x),
                     -double(a.y), double(b.x), -double(b.y), hex(Palette[std::size_t(c)]).text);
    }
    std::fprintf(out, "</g>\n<g id=\"segments\" stroke-width=\"%.12g\">\n", 1.0 / scale);
    for (const Segment& s : scene.segments) {
        const ColorIndex c = pen.take(s.color);
        if (!finite(s.start) || !finite(s.end)) continue;
        std::fprintf(out,
                     "<line x1=\"%.12g\" y1=\"%.12g\" x2=\"%.12g\" y2=\"%.12g\" stroke=\"%s\" marker-start=\"url(#end%d)\" "
                     "marker-end=\"url(#end%d)\"/>\n",
                     double(s.start.x), -double(s.start.y), double(s.end.x), -double(s.end.y),
                     hex(Palette[std::size_t(c)]).text, c, c);
    }
    // Points are squares of MarkerSize pixels centred on the point, drawn last.
    const double side = double(MarkerSize) / scale;
    std::fputs("</g>\n<g id=\"points\">\n", out);
    for (const Point& p : scene.points) {
        const ColorIndex c = pen.take(p.color);
        if (!finite(p)) continue;
        // A white point carries the window's grey rim, a pixel wide.
        char rim[64] = "";
        if (c == RimmedColor)
            std::snprintf(rim, sizeof rim, " stroke=\"%s\" stroke-width=\"%.12g\"", hex(WhiteRimColor).text, 1.0 / scale);
        std::fprintf(out, "<rect x=\"%.12g\" y=\"%.12g\" width=\"%.12g\" height=\"%.12g\" fill=\"%s\"%s/>\n",
                     double(p.x) - side / 2.0, -double(p.y) - side / 2.0, side, side,
                     hex(Palette[std::size_t(c)]).text, rim);
    }
    std::fputs("</g>\n</svg>\n", out);
    return std::fflush(out) == 0 && !std::ferror(out);
}

SavedFile exportSvg(const SceneStore& scene)
{
    return saveNumbered("omotac-slika-", ".svg", [&](std::FILE* out) { return writeSvg(out, scene); });
}
