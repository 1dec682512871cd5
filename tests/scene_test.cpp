// The scene store's box and lists, and the points files.

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cmath>
#include <fstream>
#include <limits>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>

#include "points_file.hpp"
#include "scene.hpp"
#include "temp_dir.hpp"

namespace {

struct BoxCase {
    const char* name;
    std::vector<Point> added;
    float minX, minY, maxX, maxY;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class Box : public ::testing::TestWithParam<BoxCase> {
protected:
    void SetUp() override { Scene = SceneStore{}; }
};

TEST_P(Box, WidensFromEmpty)
{
    const BoxCase& c = GetParam();
    for (const Point& p : c.added) addPoint(p, 2);
    EXPECT_EQ(Scene.box.min.x, c.minX);
    EXPECT_EQ(Scene.box.min.y, c.minY);
    EXPECT_EQ(Scene.box.max.x, c.maxX);
    EXPECT_EQ(Scene.box.max.y, c.maxY);
}

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

// The box is the points' own wherever they lie: nothing of the window's size
// or of the origin takes part.
INSTANTIATE_TEST_SUITE_P(
    Scene, Box,
    ::testing::Values(BoxCase{"empty", {}, inf, inf, -inf, -inf},
                      BoxCase{"inside", {{500, 300}}, 500, 300, 500, 300},
                      BoxCase{"beyond_window", {{2000, 800}}, 2000, 800, 2000, 800},
                      BoxCase{"square_beyond_window", {{5000, 5000}, {5100, 5000}, {5100, 5100}, {5000, 5100}}, 5000, 5000, 5100, 5100},
                      BoxCase{"above_the_window_height", {{10, 701}, {999, 999}}, 10, 701, 999, 999},
                      BoxCase{"negative", {{-5, -7}}, -5, -7, -5, -7},
                      BoxCase{"all_negative", {{-50, -70}, {-5, -700}}, -50, -700, -5, -70},
                      BoxCase{"mixed", {{10, 600}, {900, 20}, {400, 400}}, 10, 20, 900, 600},
                      BoxCase{"z_ignored", {{10, 20, 1e30f}, {30, 5, -1e30f}}, 10, 5, 30, 20},
                      BoxCase{"nan_moves_nothing", {{nan, 40}, {50, nan}}, 50, 40, 50, 40},
                      BoxCase{"nan_alone_leaves_it_empty", {{nan, nan}}, inf, inf, -inf, -inf}),
    [](const auto& info) { return std::string(info.param.name); });

class SceneStoreTest : public ::testing::Test {
protected:
    void SetUp() override { Scene = SceneStore{}; }
};

TEST_F(SceneStoreTest, ColourArgumentWinsAndCallersRecordStays)
{
    const Point p{1, 2, 3, 9};
    addPoint(p, 2);
    EXPECT_EQ(p.color, 9);
    ASSERT_EQ(Scene.points.size(), 1u);
    EXPECT_EQ(Scene.points[0].color, 2);
    EXPECT_EQ(Scene.points[0].z, 3.0f);

    const Segment s{{10, 20, 0, 4}, {30, 5, 0, 7}, 5};
    addSegment(s, 0);
    EXPECT_EQ(s.color, 5);
    ASSERT_EQ(Scene.segments.size(), 1u);
    EXPECT_EQ(Scene.segments[0].color, 0);
    EXPECT_EQ(Scene.segments[0].start.color, 4);
    EXPECT_EQ(Scene.segments[0].end.color, 7);
}

TEST_F(SceneStoreTest, SegmentWidensByBothEnds)
{
    addSegment({{10, 20}, {30, 5}}, 0);
    EXPECT_EQ(Scene.box.min.x, 10.0f);
    EXPECT_EQ(Scene.box.min.y, 5.0f);
    EXPECT_EQ(Scene.box.max.x, 30.0f);
    EXPECT_EQ(Scene.box.max.y, 20.0f);
    EXPECT_EQ(Segment{}.color, 9);
}

TEST_F(SceneStoreTest, KeepsInsertionOrder)
{
    for (int i = 0; i < 1000; ++i) addPoint({float(i), float(999 - i)}, i % 10);
    ASSERT_EQ(Scene.points.size(), 1000u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(Scene.points[std::size_t(i)].x, float(i));
        EXPECT_EQ(Scene.points[std::size_t(i)].color, i % 10);
    }
    EXPECT_TRUE(Scene.lines.empty());
    EXPECT_TRUE(Scene.circles.empty());
}

} // namespace

// Points files: reading, writing back and saving without overwriting.

namespace {

std::string ones(int lines)
{
    std::string s;
    for (int i = 0; i < lines; ++i) s += "1 1\n";
    return s;
}

TEST(PointsFile, ReadsGoodFilesAndStopsAtTheFirstFault)
{
    using Pairs = std::vector<std::pair<float, float>>;
    const std::string bad = ": ocekivane dve cele koordinate", range = ": koordinata je van opsega od -16777216 do 16777216",
                      tooLong = ": red je duzi od 10000 znakova";
    const struct {
        std::string text;
        Pairs points;      // what a good file holds
        std::string error; // after the name t.txt; empty for a good file
        long readAtMost = -1; // bytes read before the fault is known, where it is early
    } cases[] = {
        {"1,2\n 3 , 4 \n5\t,\t6\n-7 +8", {{1, 2}, {3, 4}, {5, 6}, {-7, 8}}, ""},
        {"# a\r\n\r\n  # b, c\r\n1 2\r\n \t\r\n", {{1, 2}}, ""},
        {"-16777216 16777216\n007 -0000\n", {{-16777216, 16777216}, {7, 0}}, ""},
        {"\xEF\xBB\xBF" "5 6\n", {{5, 6}}, ""}, // a UTF-8 byte order mark
        {std::string(4998, ' ') + "1" + std::string(4999, '\t') + "2", {{1, 2}}, ""},
        {std::string(LineLimit - 4, ' ') + "1 2\r\n" + std::string(LineLimit, '#') + "\n3 4", {{1, 2}, {3, 4}}, ""},
        {ones(PointCapacity), Pairs(PointCapacity, {1.0f, 1.0f}), ""},
        {"", {}, ": nema nijedne tacke"},
        {"# 1 2\n\n", {}, ": nema nijedne tacke"},
        {"1 2\n3\n1 2\n", {}, ", red 2" + bad},
        {"1 2 3\n", {}, ", red 1" + bad},
        {"\n1.5 2\n", {}, ", red 2" + bad},
        {"1,,2", {}, ", red 1" + bad},
        {"1 2,", {}, ", red 1" + bad},
        {"- 2", {}, ", red 1" + bad},
        {"1 2 # x", {}, ", red 1" + bad},
        {"1 x 2\n1 2\n", {}, ", red 1" + bad},
        {std::string("1 2\0", 4), {}, ", red 1" + bad},
        {"16777217 0\n1 2\n", {}, ", red 1" + range},
        {"1 1\n0 -16777217\n", {}, ", red 2" + range},
        {"1 " + std::string(50, '9'), {}, ", red 1" + range, 10},
        {"99999999 x\n", {}, ", red 1" + range, 8},
        {"\n-16777216 -167772160", {}, ", red 2" + range, 21},
        {std::string(1 << 20, '1'), {}, ", red 1" + range, 9},
        // Lines longer than any point or comment needs, however they go on.
        {std::string(LineLimit - 2, ' ') + "1 2", {}, ", red 1" + tooLong, LineLimit + 1},
        {"1 2\n" + std::string(1 << 20, '0'), {}, ", red 2" + tooLong, 4 + LineLimit + 1},
        {std::string("#").append(1 << 20, 'x') + "\n1 2\n", {}, ", red 1" + tooLong, LineLimit + 1},
        {"1 2\n" + std::string(1 << 20, ' ') + "\n", {}, ", red 2" + tooLong, 4 + LineLimit + 1},
        {"# x\n" + ones(PointCapacity + 1) + "1 1\n", {}, ", red 10002: vise od 10000 tacaka"},
    };
    std::array<Point, PointCapacity> points;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 16));
        std::FILE* in = std::tmpfile();
        std::fwrite(c.text.data(), 1, c.text.size(), in);
        std::rewind(in);
        const PointsRead r = readPoints(in, "t.txt", points);
        const long consumed = std::ftell(in);
        std::fclose(in);
        EXPECT_EQ(r.error, c.error.empty() ? "" : "t.txt" + c.error);
        ASSERT_EQ(r.count, std::int32_t(c.points.size()));
        for (std::size_t i = 0; i < c.points.size(); ++i)
            EXPECT_EQ(std::make_pair(points[i].x, points[i].y), c.points[i]) << i;
        // Nothing past the faulty line is read.
        const std::size_t line = c.error.starts_with(", red ") ? std::stoul(c.error.substr(6)) : 0;
        std::size_t end = 0;
        for (std::size_t k = 0; k < line; ++k) end = std::min(c.text.find('\n', end), c.text.size() - 1) + 1;
        EXPECT_LE(consumed, line > 0 ? long(end) : long(c.text.size()));
        if (c.readAtMost >= 0) {
            EXPECT_EQ(consumed, c.readAtMost);
        }
    }
}

// Names as the window's bitmap font shows them: Serbian letters as the program
// writes Serbian, everything else outside printable ASCII one '?' a character.
TEST(PointsFile, NamesInAsciiForTheWindow)
{
    const struct {
        std::string name, shown;
    } cases[] = {
        {"", ""},
        {"tacke 1,2 (kopija).txt", "tacke 1,2 (kopija).txt"},
        {"čćšžđ.txt", "ccszdj.txt"},
        {"ČĆŠŽĐ", "CCSZDj"},
        {"Đorđe/kuća", "Djordje/kuca"},
        {"c\u030Cas", "cas"},            // a decomposed č: the caron dropped
        {"日本.txt", "??.txt"},           // one '?' a character, not a byte
        {"€ ü \U0001F600", "? ? ?"},     // two, three and four bytes
        {"\xFF\xFE" "a", "??a"},        // bytes that start no character
        {"a\xC4", "a?"},                 // a character cut short at the end
        {"\xC4" "a\xE2\x82", "?a??"},   // ... or by the next character
        {"\x8D\xC0\xAF", "???"},        // a lone continuation, an overlong lead
        {"a\tb\n\x7F", "a?b??"},        // control characters
    };
    for (const auto& c : cases) EXPECT_EQ(asciiName(c.name), c.shown) << c.name;
}

// Saves that number their files, never overwrite, read back the same points,
// and leave nothing behind when they fail.
TEST(PointsFile, SavesWithoutOverwritingOrLeavingPartialFiles)
{
    const std::vector<Point> set = {{-16777216, 16777216}, {0, 0}, {3, -4}, {3, -4}};
    {
        TempDir dir;
        std::ofstream("omotac-tacke-2.txt") << "kept";
        for (const char* expected : {"omotac-tacke-1.txt", "omotac-tacke-3.txt"}) {
            EXPECT_EQ(savePoints(set.data(), 4).name, expected);
            std::array<Point, PointCapacity> read;
            ASSERT_EQ(loadPoints(expected, read).count, 4);
            for (std::size_t i = 0; i < set.size(); ++i) EXPECT_EQ(std::make_pair(read[i].x, read[i].y), std::make_pair(set[i].x, set[i].y));
        }
        std::ifstream kept("omotac-tacke-2.txt");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
        EXPECT_EQ(dir.files().size(), 3u);
        std::FILE* full = std::fopen("/dev/full", "w");
        EXPECT_FALSE(writePoints(full, set.data(), 4));
        std::fclose(full);
    }
    const std::string failed = "Cuvanje omotac-tacke-N.txt u tekuci direktorijum nije uspelo: ";
    {
        // A limit on file sizes stands in for a full disk.
        TempDir dir;
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small{1000, old.rlim_max};
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const std::vector<Point> many(PointCapacity, Point{-16777216, -16777216});
        const SavedFile saved = savePoints(many.data(), PointCapacity);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
        EXPECT_EQ(saved.name + saved.error, failed + "datoteka bi bila prevelika");
        EXPECT_TRUE(dir.files().empty());
    }
    {
        // A read-only directory; root could write there all the same, so the
        // save runs in a child that is nobody.
        TempDir dir;
        std::filesystem::permissions(dir.path, std::filesystem::perms::owner_write | std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
        const pid_t child = fork();
        if (child == 0) _exit((geteuid() != 0 || setuid(65534) == 0) && savePoints(set.data(), 4).error == failed + "pristup nije dozvoljen" ? 0 : 1);
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
        EXPECT_TRUE(dir.files().empty());
    }
    {
        // A working directory removed while the program runs: the message says
        // so, rather than that some file does not exist.
        TempDir dir;
        std::filesystem::remove_all(dir.path);
        EXPECT_EQ(savePoints(set.data(), 4).error, failed + "radni direktorijum vise ne postoji");
        std::filesystem::create_directory(dir.path);
    }
}

} // namespace
