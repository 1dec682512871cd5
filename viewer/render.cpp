// The renderer: the scene's primitives in immediate mode, and a picture's text
// laid over it with a projection of its own.

#include "render.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "camera.hpp"
#include "palette.hpp"

namespace {

constexpr int CircleVertices = 100;
constexpr double TwoPi = 6.283185307179586;
// A line is drawn this many direction lengths either side of its anchor.
constexpr double LineReach = 100.0;

void vertex(const Point& p) { glVertex3f(p.x, p.y, p.z); }

// Window pixels of a mark `pixels` wide at the presentation size.
double markPixels(float pixels) { return double(pixels) * ViewState.presentation; }

// Whether a line that many window pixels wide is one device pixel, which a
// GL line draws; anything wider is drawn as a band (WebGL draws no wide lines).
bool thinLine(double windowPixels) { return windowPixels * double(ViewState.deviceScale) <= 1.0; }

// The current colour as last set, kept here rather than read back from
// OpenGL, which not every platform can (WebGL has no current colour).
Rgb Current = Palette[std::size_t(InitialColor)];

void setRgb(const Rgb& c)
{
    Current = c;
    glColor3f(c.r, c.g, c.b);
}

// A band along the scene points a-b in the plane z: `half` scene units
// either side of the line, reaching `reach` units past both ends. A piece of
// no length is a square about its point.
void band(double ax, double ay, double bx, double by, float z, double half, double reach)
{
    const double length = std::hypot(bx - ax, by - ay);
    const double ux = length > 0.0 ? (bx - ax) / length : 1.0, uy = length > 0.0 ? (by - ay) / length : 0.0;
    const double sx = ax - ux * reach, sy = ay - uy * reach, ex = bx + ux * reach, ey = by + uy * reach;
    const double nx = -uy * half, ny = ux * half;
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(toFloat(sx + nx), toFloat(sy + ny), z);
    glVertex3f(toFloat(sx - nx), toFloat(sy - ny), z);
    glVertex3f(toFloat(ex + nx), toFloat(ey + ny), z);
    glVertex3f(toFloat(ex - nx), toFloat(ey - ny), z);
    glEnd();
}

// The pieces of a-b a style draws: the whole of it, or dashes from a on.
// Lengths in scene units; each piece is handed to draw(from, to) as the
// fractions of a-b it spans.
template <class Draw>
void pieces(double length, const MarkStyle& style, double unitsPerPixel, Draw draw)
{
    const double dash = markPixels(style.dash) * unitsPerPixel, gap = markPixels(style.gap) * unitsPerPixel;
    if (dash <= 0.0 || !(length > dash)) {
        draw(0.0, 1.0);
        return;
    }
    for (double at = 0.0; at < length; at += dash + gap) draw(at / length, std::min(at + dash, length) / length);
}

// A mark along a-b in its style: the rim first, then the colour over it.
void markedLine(const Point& a, const Point& b, ColorIndex c, const MarkStyle& style)
{
    const double upp = unitsPerPixelNow();
    const double half = markPixels(style.width) * 0.5 * upp, rim = markPixels(MarkRimPixels) * upp;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const auto each = [&](double extra, double reach) {
        pieces(std::hypot(dx, dy), style, upp, [&](double from, double to) {
            band(a.x + from * dx, a.y + from * dy, a.x + to * dx, a.y + to * dy, a.z, half + extra, reach);
        });
    };
    if (style.rimmed) {
        setRgb(WhiteRimColor);
        each(rim, rim);
    }
    setColor(c);
    each(0.0, 0.0);
}

// An arc band of a ring: radius +- half scene units, from angle `from` to `to`.
void arcBand(const Circle& k, double half, double from, double to)
{
    const int steps = std::max(2, int(std::ceil((to - from) / TwoPi * CircleVertices)));
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i <= steps; ++i) {
        const double theta = from + (to - from) * i / steps;
        const double c = std::cos(theta), s = std::sin(theta);
        glVertex3f(toFloat(k.center.x + (k.radius + half) * c), toFloat(k.center.y + (k.radius + half) * s), k.center.z);
        glVertex3f(toFloat(k.center.x + (k.radius - half) * c), toFloat(k.center.y + (k.radius - half) * s), k.center.z);
    }
    glEnd();
}

// A ring in its style: whole, or dashes whose first is centred on +x (so a
// dash always lies on each axis where their number is a multiple of four).
void markedRing(const Circle& k, const MarkStyle& style)
{
    const double upp = unitsPerPixelNow();
    const double half = markPixels(style.width) * 0.5 * upp, rim = markPixels(MarkRimPixels) * upp;
    const double period = markPixels(style.dash + style.gap) * upp;
    const double around = TwoPi * std::abs(double(k.radius));
    const int dashes = style.dash > 0.0f && period > 0.0 ? 4 * std::max(1, int(around / period / 4.0 + 0.5)) : 0;
    const auto each = [&](double extra) {
        if (dashes == 0) return arcBand(k, half + extra, 0.0, TwoPi);
        const double step = TwoPi / dashes, span = step * style.dash / (style.dash + style.gap) * 0.5;
        const double widen = k.radius != 0.0f ? extra / std::abs(double(k.radius)) : 0.0;
        for (int i = 0; i < dashes; ++i) arcBand(k, half + extra, i * step - span - widen, i * step + span + widen);
    };
    if (style.rimmed) {
        setRgb(WhiteRimColor);
        each(rim);
    }
    setColor(k.color);
    each(0.0);
}

} // namespace

void setColor(ColorIndex c)
{
    // Anything outside the palette keeps whatever colour was drawn last.
    if (!inPalette(c)) return;
    setRgb(Palette[std::size_t(c)]);
}

// A regular 100-gon in the plane z = center.z, from +x towards +y, as a ring
// in the style of its colour.
void drawCircle(const Circle& k)
{
    const MarkStyle style = circleStyle(k.color);
    if (style != MarkStyle{} || !thinLine(markPixels(1.0f))) {
        markedRing(k, style);
        return;
    }
    setColor(k.color);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < CircleVertices; ++i) {
        const float theta = float(i * TwoPi / CircleVertices);
        const float c = float(std::cos(double(theta)));
        const float s = float(std::sin(double(theta)));
        glVertex3f(k.center.x + k.radius * c, k.center.y + k.radius * s, k.center.z);
    }
    glEnd();
}

// One end of the drawn piece of a line: sign (+1 or -1) times LineReach
// directions from its anchor, in double precision rounded once.
Point lineEnd(const Line& l, double sign)
{
    const auto along = [&](float anchor, float direction) {
        return toFloat(double(anchor) + sign * LineReach * double(direction));
    };
    return {along(l.anchor.x, l.direction.x), along(l.anchor.y, l.direction.y), along(l.anchor.z, l.direction.z)};
}

// A piece of the line reaching LineReach directions either side of its anchor.
void drawLine(const Line& l)
{
    if (!thinLine(markPixels(1.0f))) {
        markedLine(lineEnd(l, 1.0), lineEnd(l, -1.0), l.color, {});
        return;
    }
    setColor(l.color);
    glBegin(GL_LINES);
    vertex(lineEnd(l, 1.0));
    vertex(lineEnd(l, -1.0));
    glEnd();
}

// A line with a marker square at each end, all in the segment's colour: one
// pixel wide, or as wide and as broken as a mark of its colour is.
void drawSegment(const Segment& s)
{
    glPointSize(float(markPixels(MarkerSize)) * ViewState.deviceScale);
    const MarkStyle style = segmentStyle(s.color);
    if (style != MarkStyle{} || !thinLine(markPixels(1.0f))) {
        markedLine(s.start, s.end, s.color, style);
    } else {
        setColor(s.color);
        glBegin(GL_LINES);
        vertex(s.start);
        vertex(s.end);
        glEnd();
    }
    setColor(s.color);
    glBegin(GL_POINTS);
    vertex(s.start);
    vertex(s.end);
    glEnd();
}

// Depth testing stays off: what is drawn later lies on top, so points cover
// segments, segments cover lines, and lines cover circles.
void drawStore(const SceneStore& store)
{
    glPushMatrix();
    for (const Circle& k : store.circles) drawCircle(k);
    for (const Line& l : store.lines) drawLine(l);
    for (const Segment& s : store.segments) drawSegment(s);
    // White points sit on a grey square one pixel wider all round, drawn first
    // so that every point still lies over every rim.
    if (std::any_of(store.points.begin(), store.points.end(), [](const Point& p) { return p.color == RimmedColor; })) {
        // The colour drawn last carries on to points outside the palette.
        const Rgb current = Current;
        glPointSize(float(markPixels(MarkerSize + 2.0f)) * ViewState.deviceScale);
        setRgb(WhiteRimColor);
        glBegin(GL_POINTS);
        for (const Point& p : store.points)
            if (p.color == RimmedColor) vertex(p);
        glEnd();
        setRgb(current);
    }
    // All points in one pair, each with its own colour: one draw call where
    // every pair costs one (the browser), the same pixels in the same order.
    glPointSize(float(markPixels(MarkerSize)) * ViewState.deviceScale);
    glBegin(GL_POINTS);
    for (const Point& p : store.points) {
        setColor(p.color);
        vertex(p);
    }
    glEnd();
    glPopMatrix();
}

namespace {

// The text in window pixels from a projection of its own, over the whole
// window (the picture's viewport may leave room for the panel), pushed over
// the navigation's and popped again.
void drawText(const Picture& p, TextPen pen)
{
    if (p.text.empty()) return;
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = ViewState.windowWidth, height = ViewState.windowHeight;
    glViewport(0, 0, devicePixels(width), devicePixels(height));
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, width, 0.0, height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const Rgb current = Current;
    setColor(HullVertexColor);
    for (const TextBlock& block : p.text) pen(block, height);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    glPopAttrib();
    // As glPopAttrib does, where the platform has it; and where it has not.
    setRgb(current);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

} // namespace

void drawPicture(const Picture& p, TextPen pen)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawStore(*p.scene);
    drawText(p, pen);
    glFlush();
}
