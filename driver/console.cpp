#include "console.hpp"

#include <charconv>
#include <cstdlib>
#include <ctime>

#include "hull.hpp"
#include "scene.hpp"

namespace {

constexpr const char* Prompt = "Unesite broj tacaka:\n";
constexpr const char* RangeMessage = "Broj tacaka mora biti ceo broj od 1 do 10000.\n";
constexpr const char* NoCountMessage = "Nije unet broj tacaka.\n";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Longest line kept; a count never needs more, so a longer line is refused
// whole without buffering it.
constexpr std::size_t LineRoom = 64;

enum class LineRead { Line, TooLong, End };

// Reads one line without its '\n'. A last line without '\n' still counts.
LineRead readLine(std::FILE* in, char (&buf)[LineRoom], std::size_t& len)
{
    len = 0;
    bool tooLong = false;
    int c = std::getc(in);
    if (c == EOF) return LineRead::End;
    for (; c != EOF && c != '\n'; c = std::getc(in)) {
        if (len < LineRoom) buf[len++] = char(c);
        else tooLong = true;
    }
    return tooLong ? LineRead::TooLong : LineRead::Line;
}

// Whole-number coordinates 0..999, x drawn before y.
void generatePoints(PointArray& points, PointIndices& indices, std::int32_t n)
{
    for (std::int32_t i = 0; i < n; ++i) {
        const int x = std::rand() % 1000;
        const int y = std::rand() % 1000;
        points[i].x = float(x);
        points[i].y = float(y);
        indices[i] = i;
    }
}

void printPoints(std::FILE* out, const Point* points, std::int32_t n)
{
    for (std::int32_t i = 0; i < n; ++i)
        std::fprintf(out, "<%3.f,%3.f>\n", double(points[i].x), double(points[i].y));
}

// Input points blue, hull vertices black over them, closed outline red.
void fillScene(const PointArray& points, std::int32_t n, std::int32_t count)
{
    for (std::int32_t i = 0; i < n; ++i) addPoint(points[i], 2);
    for (std::int32_t i = 0; i < count; ++i) addPoint(HullBuffer[i], 9);
    orderHullOutline(count);
    for (std::int32_t i = 0; i + 1 < count; ++i) addSegment({HullBuffer[i], HullBuffer[i + 1]}, 0);
    if (count > 0) addSegment({HullBuffer[count - 1], HullBuffer[0]}, 0);
}

} // namespace

std::optional<std::int32_t> parsePointCount(std::string_view line)
{
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    // from_chars takes no '+', but a user may well type one.
    if (line.size() > 1 && line.front() == '+' && line[1] != '-') line.remove_prefix(1);
    std::int32_t n = 0;
    const char* end = line.data() + line.size();
    const auto [ptr, ec] = std::from_chars(line.data(), end, n);
    if (line.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
    if (n < 1 || n > PointCapacity) return std::nullopt;
    return n;
}

std::int32_t readPointCount(std::FILE* in, std::FILE* out)
{
    std::fputs(Prompt, out);
    std::fflush(out);
    char buf[LineRoom];
    std::size_t len = 0;
    for (;;) {
        const LineRead r = readLine(in, buf, len);
        if (r == LineRead::End) return 0;
        if (r == LineRead::Line) {
            if (const auto n = parsePointCount({buf, len})) return *n;
        }
        std::fputs(RangeMessage, out);
        std::fputs(Prompt, out);
        std::fflush(out);
    }
}

int runConsole(std::FILE* in, std::FILE* out, std::FILE* err)
{
    PointArray points{};
    PointIndices indices{};

    const std::int32_t n = readPointCount(in, out);
    if (n == 0) {
        std::fputs(NoCountMessage, err);
        return 1;
    }
    std::srand(unsigned(std::uint32_t(std::time(nullptr))));
    generatePoints(points, indices, n);

    std::fputs("Tacke poligona su:\n", out);
    std::fputs("\n", out);
    printPoints(out, points.data(), n);

    // Only the hull computation lies between the two readings.
    const std::clock_t t1 = std::clock();
    const std::int32_t count = computeHull(points.data(), n, indices.data());
    const std::clock_t t2 = std::clock();

    std::fputs("\n", out);
    std::fprintf(out, "Vreme za koje se izvrsava program je: %f ms\n",
                 double(t2 - t1) * 1000.0 / double(CLOCKS_PER_SEC));
    std::fputs("\n", out);
    std::fputs("Tacke konveksnog omotaca su:\n", out);
    std::fputs("\n", out);
    printPoints(out, HullBuffer.data(), count);
    std::fflush(out);

    fillScene(points, n, count);
    return 0;
}
