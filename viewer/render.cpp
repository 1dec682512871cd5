#include <GL/freeglut.h>

#include <array>
#include <cmath>

#include "viewer.hpp"

namespace {

struct Rgb {
    float r, g, b;
};

constexpr std::array<Rgb, 10> Palette{{
    {1.0f, 0.0f, 0.0f}, // 0 red
    {0.0f, 1.0f, 0.0f}, // 1 green
    {0.0f, 0.0f, 1.0f}, // 2 blue
    {1.0f, 1.0f, 0.0f}, // 3 yellow
    {1.0f, 0.5f, 0.0f}, // 4 orange
    {1.0f, 0.0f, 1.0f}, // 5 magenta
    {0.0f, 1.0f, 1.0f}, // 6 cyan
    {0.5f, 0.0f, 0.5f}, // 7 purple
    {1.0f, 1.0f, 1.0f}, // 8 white
    {0.0f, 0.0f, 0.0f}, // 9 black
}};

constexpr int CircleVertices = 100;
constexpr double TwoPi = 6.283185307179586;
// A line is drawn this many direction lengths either side of its anchor.
constexpr double LineReach = 100.0;

void vertex(const Point& p) { glVertex3f(p.x, p.y, p.z); }

} // namespace

void setColor(ColorIndex c)
{
    // Anything outside the palette keeps whatever colour was drawn last.
    if (c < 0 || c >= ColorIndex(Palette.size())) return;
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

// A piece of the line reaching LineReach directions either side of its anchor.
void drawLine(const Line& l)
{
    setColor(l.color);
    const auto along = [](float anchor, float direction, double sign) {
        return toFloat(double(anchor) + sign * LineReach * double(direction));
    };
    glBegin(GL_LINES);
    for (const double sign : {1.0, -1.0})
        glVertex3f(along(l.anchor.x, l.direction.x, sign), along(l.anchor.y, l.direction.y, sign),
                   along(l.anchor.z, l.direction.z, sign));
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
void drawFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    for (const Circle& k : Scene.circles) drawCircle(k);
    for (const Line& l : Scene.lines) drawLine(l);
    for (const Segment& s : Scene.segments) drawSegment(s);
    for (const Point& p : Scene.points) {
        setColor(p.color);
        glPointSize(MarkerSize);
        glBegin(GL_POINTS);
        vertex(p);
        glEnd();
    }
    glPopMatrix();
    glFlush();
}

void onDisplay()
{
    drawFrame();
    glutSwapBuffers();
    ++ViewState.framesShown;
}
