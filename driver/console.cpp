// The console run: the dialogue and the lists exactly as the program has
// always printed them, with a count reader that survives any input.

#include "console.hpp"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "hull.hpp"
#include "methods.hpp"
#include "points_file.hpp"
#include "random.hpp"

namespace {

constexpr const char* Prompt = "Unesite broj tacaka:\n";
constexpr const char* RangeMessage = "Broj tacaka mora biti ceo broj od 1 do 10000.\n";
constexpr const char* NoCountMessage = "Nije unet broj tacaka.\n";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Judges a count line one character at a time, keeping only the value so far,
// so a line of any length is read without buffering it: blanks, an optional
// '+' right before the digits, digits, blanks. Anything else spoils the line.
struct CountScan {
    enum class Stage { Leading, Sign, Digits, Trailing, Spoiled };
    Stage stage = Stage::Leading;
    // Saturates just past the capacity: leading zeros cost nothing, and no
    // number of digits can overflow it.
    std::int32_t value = 0;

    void feed(char c)
    {
        if (isBlank(c)) {
            if (stage == Stage::Sign) stage = Stage::Spoiled;
            if (stage == Stage::Digits) stage = Stage::Trailing;
        } else if (c == '+') {
            stage = stage == Stage::Leading ? Stage::Sign : Stage::Spoiled;
        } else if (c >= '0' && c <= '9' && stage != Stage::Trailing && stage != Stage::Spoiled) {
            stage = Stage::Digits;
            value = std::min(value * 10 + (c - '0'), PointCapacity + 1);
        } else {
            stage = Stage::Spoiled;
        }
    }
    std::optional<std::int32_t> count() const
    {
        if (stage != Stage::Digits && stage != Stage::Trailing) return std::nullopt;
        if (value < 1 || value > PointCapacity) return std::nullopt;
        return value;
    }
};

// The run's draws: the program's own generator, seeded for each run.
RandomStream Draws;
int nextDraw() { return nextRandom(Draws); }

void printPoints(std::FILE* out, const Point* points, std::int32_t n)
{
    for (std::int32_t i = 0; i < n; ++i)
        std::fprintf(out, "<%3.f,%3.f>\n", double(points[i].x), double(points[i].y));
}

// Sends what is buffered; false when anything written to out so far was lost.
bool delivered(std::FILE* out) { return std::fflush(out) == 0 && !std::ferror(out); }

} // namespace

std::optional<std::int32_t> parsePointCount(std::string_view line)
{
    CountScan scan;
    for (const char c : line) scan.feed(c);
    return scan.count();
}

std::int32_t readPointCount(std::FILE* in, std::FILE* out)
{
    std::fputs(Prompt, out);
    if (!delivered(out)) return -1;
    for (;;) {
        CountScan scan;
        int c = std::getc(in);
        if (c == EOF) return 0;
        // A last line without '\n' still counts.
        for (; c != EOF && c != '\n'; c = std::getc(in)) scan.feed(char(c));
        if (const auto n = scan.count()) return *n;
        std::fputs(RangeMessage, out);
        std::fputs(Prompt, out);
        if (!delivered(out)) return -1;
    }
}

int runConsole(std::FILE* in, std::FILE* out, std::FILE* err, std::uint32_t seed, ConsoleRun& run, Distribution d)
{
    const std::int32_t n = readPointCount(in, out);
    if (n < 0) return reportLostOutput(err);
    if (n == 0) {
        std::fputs(NoCountMessage, err);
        return 1;
    }
    seedRandom(Draws, seed);
    drawPoints(d, run.points.data(), n, nextDraw);
    run.n = n;
    return runOnPoints(out, err, run);
}

int runOnPoints(std::FILE* out, std::FILE* err, ConsoleRun& run)
{
    std::fputs("Tacke poligona su:\n", out);
    std::fputs("\n", out);
    printPoints(out, run.points.data(), run.n);

    run.result = timeHull(run.points.data(), run.n);

    std::fputs("\n", out);
    std::fprintf(out, "Vreme za koje se izvrsava program je: %f ms\n", run.result.millis());
    std::fputs("\n", out);
    std::fputs("Tacke konveksnog omotaca su:\n", out);
    std::fputs("\n", out);
    // In the order computeHull found them.
    printPoints(out, HullBuffer.data(), run.result.count);
    // A listing that never arrived must not end in a window as if it had.
    if (!delivered(out)) return reportLostOutput(err);
    return 0;
}

namespace {

// The run on what a reader gave: its one line on err and status 2 where it
// failed, before anything else is printed.
int runOnRead(const PointsRead& read, std::FILE* out, std::FILE* err, ConsoleRun& run)
{
    if (!read.error.empty()) {
        std::fprintf(err, "%s\n", read.error.c_str());
        return 2;
    }
    run.n = read.count;
    return runOnPoints(out, err, run);
}

} // namespace

int runPointsFile(const char* path, std::FILE* in, std::FILE* out, std::FILE* err, ConsoleRun& run)
{
    return runOnRead(loadPoints(path, run.points, in), out, err, run);
}

int runPointsStream(std::FILE* file, std::string_view name, std::FILE* out, std::FILE* err, ConsoleRun& run)
{
    return runOnRead(readPoints(file, name, run.points), out, err, run);
}

int printMethodComparison(std::FILE* out, std::FILE* err, const ConsoleRun& run)
{
    MethodTraces traces;
    std::fputs("\n", out);
    std::fputs("Poredjenje metoda:\n", out);
    for (const HullMethodName& m : HullMethods) {
        const MethodCounts c = traceMethod(m.method, run.points.data(), run.n, traces);
        std::fprintf(out, "%s\n", countsLine(m.method, c).c_str());
    }
    if (!delivered(out)) return reportLostOutput(err);
    return 0;
}

int reportLostOutput(std::FILE* err)
{
    std::fputs("Ispis na standardni izlaz nije uspeo.\n", err);
    return 1;
}
