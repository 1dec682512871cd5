// What a frame costs in a real window (a private virtual display when the
// script runs it): each method's step picture at 10000 points, built anew and
// drawn; and the same farthest-point step plain, with its caption, and with
// the caption, the method's panel and guess mode's lines. Each iteration
// draws one frame and waits for it to finish.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include "camera.hpp"
#include "controller.hpp"
#include "edit.hpp"
#include "glut_window.hpp"
#include "render.hpp"
#include "session.hpp"

namespace {

void openOnRandomPoints()
{
    static bool opened = false;
    if (opened) return;
    static char name[] = "frame_bench";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    openViewer(&argc, argv);
    std::srand(2024);
    std::vector<Point> set(10000);
    for (Point& p : set) {
        const int x = std::rand() % 1000;
        p = {float(x), float(std::rand() % 1000)};
    }
    Session.points = set;
    rebuildEdited(Session);
    onReshape(WindowWidth, WindowHeight);
    opened = true;
}

// Step 5 of the run, with the caption and the teaching lines as asked.
void drawStep(benchmark::State& state, bool caption, bool teaching)
{
    openOnRandomPoints();
    Session.method = HullMethod::Farthest;
    Session.steps.step = 5;
    setMode(Session, teaching ? Mode::Guess : Mode::View);
    Session.steps.captioned = caption;
    if (Session.panel != teaching) {
        Session.panel = teaching;
        onReshape(WindowWidth, WindowHeight);
    }
    for (auto _ : state) {
        drawPicture(framePicture(), drawTextBlock);
        glFinish();
    }
}

void BM_StepPlain(benchmark::State& state) { drawStep(state, false, false); }
void BM_StepCaptioned(benchmark::State& state) { drawStep(state, true, false); }
void BM_StepTeaching(benchmark::State& state) { drawStep(state, true, true); }

// A step in the middle of a method's steps and the one after it in turn, with
// the caption: every frame builds the step's picture anew, as stepping does.
void drawMethodStep(benchmark::State& state, HullMethod method)
{
    openOnRandomPoints();
    setMode(Session, Mode::View);
    if (Session.panel) {
        Session.panel = false;
        onReshape(WindowWidth, WindowHeight);
    }
    Session.method = method;
    traceShownMethod(Session);
    Session.steps.captioned = true;
    const std::int32_t middle = finishedStep(Session) / 2;
    std::int32_t k = 0;
    for (auto _ : state) {
        Session.steps.step = middle + (k++ & 1);
        drawPicture(framePicture(), drawTextBlock);
        glFinish();
    }
}

void BM_Farthest(benchmark::State& state) { drawMethodStep(state, HullMethod::Farthest); }
void BM_Jarvis(benchmark::State& state) { drawMethodStep(state, HullMethod::Jarvis); }
void BM_Graham(benchmark::State& state) { drawMethodStep(state, HullMethod::Graham); }
void BM_Andrew(benchmark::State& state) { drawMethodStep(state, HullMethod::Andrew); }

BENCHMARK(BM_Farthest)->Name("frame/najdalja/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jarvis)->Name("frame/jarvis/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graham)->Name("frame/graham/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Andrew)->Name("frame/andrew/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepPlain)->Name("frame/step/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCaptioned)->Name("frame/step+caption/10000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepTeaching)->Name("frame/step+caption+panel+guess/10000")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
