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

} // namespace

void setColor(ColorIndex c)
{
    // Anything outside the palette keeps whatever colour was drawn last.
    if (!inPalette(c)) return;
    const Rgb& rgb = Palette[std::size_t(c)];
    glColor3f(rgb.r, rgb.g, rgb.b);
}

// A regular 100-gon in the plane z = center.z, from +x towards +y.
void drawCircle(const Circle& k)
{
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
    setColor(l.color);
    glBegin(GL_LINES);
    vertex(lineEnd(l, 1.0));
    vertex(lineEnd(l, -1.0));
    glEnd();
}

// A one-pixel line with a marker square at each end, all in the segment's colour.
void drawSegment(const Segment& s)
{
    glPointSize(MarkerSize);
    setColor(s.color);
    glBegin(GL_LINES);
    vertex(s.start);
    vertex(s.end);
    glEnd();
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
        GLfloat current[4];
        glGetFloatv(GL_CURRENT_COLOR, current);
        glPointSize(MarkerSize + 2.0f);
        glColor3f(WhiteRimColor.r, WhiteRimColor.g, WhiteRimColor.b);
        glBegin(GL_POINTS);
        for (const Point& p : store.points)
            if (p.color == RimmedColor) vertex(p);
        glEnd();
        glColor4fv(current);
    }
    // All points in one pair, each with its own colour: one draw call where
    // every pair costs one (the browser), the same pixels in the same order.
    glPointSize(MarkerSize);
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
    glViewport(0, 0, width, height);
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, width, 0.0, height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    setColor(HullVertexColor);
    for (const TextBlock& block : p.text) pen(block, height);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    glPopAttrib();
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
