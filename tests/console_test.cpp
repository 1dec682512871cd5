// The console run: the count reader, the dialogue as the built program prints
// it, the options, the generator and the points files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "console.hpp"
#include "hull.hpp"
#include "hull_checks.hpp"
#include "hull_reference.hpp"
#include "options.hpp"
#include "points_file.hpp"
#include "random.hpp"
#include "session.hpp"
#include "temp_dir.hpp"

extern char** environ;

namespace {

const std::string Prompt = "Unesite broj tacaka:\n";
const std::string Refused = "Broj tacaka mora biti ceo broj od 1 do 10000.\n";

struct ParseCase {
    const char* line;
    std::int32_t count; // 0: refused
};

// Names the case by its line, blanks and control characters spelled out.
void PrintTo(const ParseCase& c, std::ostream* os)
{
    for (const char* p = c.line; *p; ++p) {
        if (*p == ' ') *os << '_';
        else if (*p == '\t') *os << "\\t";
        else if (*p == '\r') *os << "\\r";
        else *os << *p;
    }
    if (!*c.line) *os << "empty";
}

class CountLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CountLine, AcceptsOnlyAWholeNumberInRange)
{
    const auto n = parsePointCount(GetParam().line);
    EXPECT_EQ(n.value_or(0), GetParam().count) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Console, CountLine,
    ::testing::Values(ParseCase{"5", 5}, ParseCase{"1", 1}, ParseCase{"10000", 10000}, ParseCase{"  42 \t", 42},
                      ParseCase{"50\r", 50}, ParseCase{"007", 7}, ParseCase{"+9", 9}, ParseCase{"", 0},
                      ParseCase{"   ", 0}, ParseCase{"0", 0}, ParseCase{"-3", 0}, ParseCase{"10001", 0},
                      ParseCase{"abc", 0}, ParseCase{"12abc", 0}, ParseCase{"1.5", 0}, ParseCase{"5 6", 0},
                      ParseCase{"0x10", 0}, ParseCase{"+", 0}, ParseCase{"+-5", 0}, ParseCase{"2147483648", 0},
                      ParseCase{"4294967301", 0}, ParseCase{"99999999999999999999999", 0},
                      ParseCase{"+ 5", 0}, ParseCase{"5+", 0}, ParseCase{"5 +", 0}));

// Runs the reader on text as standard input; gives the count and what it printed.
std::pair<std::int32_t, std::string> readCount(const std::string& input)
{
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    const std::int32_t n = readPointCount(in, out);
    std::rewind(out);
    std::string printed;
    char buf[4096];
    for (std::size_t k; (k = std::fread(buf, 1, sizeof buf, out)) > 0;) printed.append(buf, k);
    std::fclose(in);
    std::fclose(out);
    return {n, printed};
}

TEST(Console, AsksAgainAfterEveryRefusedLine)
{
    const struct {
        std::string input;
        std::int32_t count;
        int refusals;
    } cases[] = {
        {"7\n", 7, 0},
        {"7", 7, 0},                       // last line without a line break
        {"abc\n0\n 12 \n99\n", 12, 2},     // the first valid line wins
        {"\n\n3\n", 3, 2},
        {std::string(5000, '1') + "\n8\n", 8, 1}, // a number far past the range is one refusal
        // A line is judged by its content, however long.
        {std::string("5") + std::string(80, ' ') + "\n", 5, 0},
        {std::string(65, '0') + "7\n", 7, 0},
        {std::string(5000, ' ') + "+" + std::string(5000, '0') + "10000" + std::string(5000, '\t') + "\n", 10000, 0},
        {std::string(5000, '0') + "10001\n" + std::string(5000, ' ') + "x\n6", 6, 2},
        {"", 0, 0},
        {"10001", 0, 1},
        {"x\ny\n", 0, 2},
    };
    for (const auto& c : cases) {
        const auto [n, printed] = readCount(c.input);
        EXPECT_EQ(n, c.count) << c.input.substr(0, 20);
        std::string expected = Prompt;
        for (int i = 0; i < c.refusals; ++i) expected += Refused + Prompt;
        EXPECT_EQ(printed, expected) << c.input.substr(0, 20);
    }
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Where the program's standard output goes: a file the test reads, a full
// disk, or nowhere (closed).
enum class Output { File, Full, Closed };

// Where its standard input comes from: a file holding the input, or nowhere (closed).
enum class Input { File, Closed };

// Starts the built program as a user would, with input piped in and no display.
ProgramRun runProgram(const std::string& input, std::vector<std::string> args = {}, Output output = Output::File,
                      Input from = Input::File)
{
    char dir[] = "/tmp/omotac-run-XXXXXX";
    if (!mkdtemp(dir)) return {};
    const std::string in = std::string(dir) + "/in", out = std::string(dir) + "/out", err = std::string(dir) + "/err";
    std::ofstream(in, std::ios::binary) << input;

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (from == Input::File) posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
    else posix_spawn_file_actions_addclose(&fa, 0);
    if (output == Output::File) posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (output == Output::Full) posix_spawn_file_actions_addopen(&fa, 1, "/dev/full", O_WRONLY, 0);
    if (output == Output::Closed) posix_spawn_file_actions_addclose(&fa, 1);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("DISPLAY=", 0) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char prog[] = OMOTAC_BIN;
    std::vector<char*> argv{prog};
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ProgramRun r;
    if (posix_spawn(&pid, prog, &fa, nullptr, argv.data(), envp.data()) == 0) {
        int st = 0;
        waitpid(pid, &st, 0);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }
    posix_spawn_file_actions_destroy(&fa);
    r.out = slurp(out);
    r.err = slurp(err);
    std::remove(in.c_str());
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(dir);
    return r;
}

// Reads "<%3.f,%3.f>" lines starting at pos; stops at the first other line.
std::vector<Point> pointLines(const std::string& text, std::size_t& pos)
{
    static const std::regex line(R"(<( *-?\d+),( *-?\d+)>)");
    // Each number right-aligned in at least three characters.
    const auto aligned = [](const std::string& field) {
        const std::size_t digits = field.size() - field.find_first_not_of(' ');
        return field.size() == std::max<std::size_t>(digits, 3);
    };
    std::vector<Point> pts;
    while (pos < text.size()) {
        const std::size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) break;
        std::smatch m;
        const std::string l = text.substr(pos, eol - pos);
        if (!std::regex_match(l, m, line) || !aligned(m[1]) || !aligned(m[2])) break;
        pts.push_back({std::stof(m[1]), std::stof(m[2])});
        pos = eol + 1;
    }
    return pts;
}

// Checks the whole dialogue after the count and gives the listed points.
void checkDialogue(const std::string& out, std::size_t pos, std::int32_t n, std::vector<Point>* shown = nullptr)
{
    const std::string head = "Tacke poligona su:\n\n";
    ASSERT_EQ(out.compare(pos, head.size(), head), 0) << out.substr(pos, 80);
    pos += head.size();
    const std::vector<Point> listed = pointLines(out, pos);
    ASSERT_EQ(std::int32_t(listed.size()), n);

    static const std::regex timeLine(R"(\nVreme za koje se izvrsava program je: \d+\.\d{6} ms\n\nTacke konveksnog omotaca su:\n\n)");
    std::smatch m;
    const std::string rest = out.substr(pos);
    ASSERT_TRUE(std::regex_search(rest, m, timeLine, std::regex_constants::match_continuous)) << rest.substr(0, 120);
    pos += std::size_t(m.length(0));
    const std::vector<Point> hull = pointLines(out, pos);
    EXPECT_EQ(pos, out.size()) << "unexpected text after the hull list";

    // The hull list is exactly the hull of the listed points, in discovery order.
    const std::vector<Point> expected = referenceHull(listed);
    ASSERT_EQ(hull.size(), expected.size());
    for (std::size_t i = 0; i < hull.size(); ++i) {
        EXPECT_EQ(hull[i].x, expected[i].x);
        EXPECT_EQ(hull[i].y, expected[i].y);
    }
    if (shown) {
        *shown = listed;
        return;
    }
    // Random points: whole numbers from 0 to 999.
    for (const Point& p : listed) {
        EXPECT_GE(p.x, 0.0f);
        EXPECT_LE(p.x, 999.0f);
        EXPECT_GE(p.y, 0.0f);
        EXPECT_LE(p.y, 999.0f);
    }
}

TEST(ConsoleRun, PrintsTheWholeDialogue)
{
    const struct {
        std::string input;
        std::int32_t n;
        int refusals;
    } cases[] = {{"50\n", 50, 0}, {"1\n", 1, 0}, {"2", 2, 0}, {"abc\n0\n 3 \n", 3, 2}, {"10000\n", 10000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const ProgramRun r = runProgram(c.input);
        // With no display the window cannot open: the toolkit ends the process
        // with status 1, after the whole dialogue is out.
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("failed to open display"), std::string::npos) << r.err;
        std::string expected = Prompt;
        for (int i = 0; i < c.refusals; ++i) expected += Refused + Prompt;
        ASSERT_EQ(r.out.compare(0, expected.size(), expected), 0) << r.out.substr(0, 200);
        checkDialogue(r.out, expected.size(), c.n);
    }
}

// The run leaves the window its steps, which reveal the hull list in its order.
TEST(ConsoleRun, LeavesTheStepsOfItsHullForTheWindow)
{
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fputs("300\n", in);
    std::rewind(in);
    ConsoleRun run;
    ASSERT_EQ(runConsole(in, out, stderr, 2024, run), 0);
    loadRun({run.points.data(), std::size_t(run.n)}, run.result, {HullBuffer.data(), std::size_t(run.result.count)});
    std::string text(std::size_t(std::ftell(out)), '\0');
    std::rewind(out);
    ASSERT_EQ(std::fread(text.data(), 1, text.size(), out), text.size());
    std::fclose(in);
    std::fclose(out);

    const std::string heading = "Tacke konveksnog omotaca su:\n\n";
    std::size_t pos = text.find(heading);
    ASSERT_NE(pos, std::string::npos);
    pos += heading.size();
    const std::vector<Point> hull = pointLines(text, pos);
    const HullTrace& t = Session.trace;
    ASSERT_EQ(t.points.size(), 300u);
    ASSERT_EQ(t.vertices.size(), hull.size());
    for (std::size_t k = 0; k < hull.size(); ++k) {
        EXPECT_EQ(t.points[std::size_t(t.vertices[k])].x, hull[k].x) << k;
        EXPECT_EQ(t.points[std::size_t(t.vertices[k])].y, hull[k].y) << k;
    }
}

TEST(ConsoleRun, EndsWithAnErrorWhenNoCountArrives)
{
    for (const std::string input : {"", "abc\n", "10001\n-1\n"}) {
        const ProgramRun r = runProgram(input);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Nije unet broj tacaka.\n");
        EXPECT_EQ(r.out.find("Tacke"), std::string::npos);
        EXPECT_EQ(r.out.rfind(Prompt, 0), 0u);
    }
}

TEST(ConsoleRun, ASingleHullVertexIsListedTwice)
{
    const ProgramRun r = runProgram("1\n");
    const std::string heading = "Tacke konveksnog omotaca su:\n\n";
    const std::size_t head = r.out.find(heading);
    ASSERT_NE(head, std::string::npos);
    const std::string hull = r.out.substr(head + heading.size());
    ASSERT_EQ(hull.size(), 20u);
    EXPECT_EQ(hull.substr(0, 10), hull.substr(10));
}

// The dialogue without its time line, which is the one thing a seed does not fix.
std::string withoutTime(std::string out)
{
    const std::size_t at = out.find("Vreme za koje");
    if (at != std::string::npos) out.erase(at, out.find('\n', at) - at);
    return out;
}

TEST(ConsoleRun, TheSameSeedRepeatsTheRun)
{
    const ProgramRun first = runProgram("200\n", {"--seed", "12345"});
    const ProgramRun again = runProgram("200\n", {"--seed=12345"});
    const ProgramRun other = runProgram("200\n", {"--seed", "12346"});
    ASSERT_NE(first.out.find("Vreme za koje"), std::string::npos) << first.out.substr(0, 200);
    EXPECT_EQ(withoutTime(first.out), withoutTime(again.out));
    EXPECT_NE(withoutTime(first.out), withoutTime(other.out));
    checkDialogue(first.out, Prompt.size(), 200);
    // The extremes of the range are seeds too, and other arguments go on to the toolkit.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--seed", "0"}, {"--seed", "4294967295", "-sync"},
                                                 {"-geometry", "300x200+0+0", "--seed", "1", "-direct"}}) {
        const ProgramRun r = runProgram("3\n", args);
        EXPECT_EQ(r.status, 1) << args[1] << r.err;
        EXPECT_NE(r.err.find("failed to open display"), std::string::npos) << r.err;
        checkDialogue(r.out, Prompt.size(), 3);
    }
}

// The program's generator draws what the GNU C library's rand() draws after
// srand(seed), whatever C library the program is built with, so a seed gives
// the same points on every platform. The numbers are glibc's srand/rand
// sequence, recorded once from glibc itself, for seeds across the whole range
// (0 and 1 seed alike; from 2^31 on the seed starts the words as a negative
// number), at positions that take in the first draws after the 310 outputs
// seeding discards, the first that adds two drawn words (31), the first made
// of drawn words alone (34), and far ones.
TEST(RandomSeed, DrawsWhatGlibcDraws)
{
    constexpr int At[] = {0, 1, 2, 31, 34, 343, 1000, 99999};
    struct Recorded {
        std::uint32_t seed;
        std::int32_t draws[std::size(At)];
    };
    const Recorded glibc[] = {
        {0u, {1804289383, 846930886, 1681692777, 1801979802, 1369133069, 1389867269, 981914693, 660658275}},
        {1u, {1804289383, 846930886, 1681692777, 1801979802, 1369133069, 1389867269, 981914693, 660658275}},
        {7u, {1045618677, 1863967299, 1272579899, 1122762934, 1583848806, 1708651679, 363912548, 1673123431}},
        {2024u, {742133555, 1180362363, 1165600424, 1690974320, 1435511372, 408425357, 1547067066, 432936071}},
        {12345u, {383100999, 858300821, 357768173, 1752197064, 60241667, 298015066, 1842355799, 101586848}},
        {127773u, {493846017, 862968434, 449042396, 2140381546, 320759581, 1562014139, 2088142036, 420928227}},
        {2147483646u, {1320593690, 1199968952, 1432693999, 825759702, 1143693978, 278716807, 515787769, 888587231}},
        {2147483647u, {1065668062, 2142264300, 1066566375, 1030075131, 2094087902, 2390545, 1446597600, 910617080}},
        {2147483648u, {1336741213, 1210407648, 1447044896, 913093087, 1250485470, 273935717, 1917559864, 1214836719}},
        {4294967295u, {254925627, 1205188300, 366127624, 1943168218, 1197089724, 276326262, 1216673817, 2125453799}},
    };
    for (const Recorded& r : glibc) {
        RandomStream s;
        seedRandom(s, r.seed);
        std::size_t next = 0;
        for (int i = 0; next < std::size(At); ++i) {
            const std::int32_t draw = nextRandom(s);
            if (i == At[next]) {
                EXPECT_EQ(draw, r.draws[next]) << "seed " << r.seed << ", draw " << i;
                ++next;
            }
        }
    }
}

// The program's generator seeded by the test, for drawPoints, which takes a
// plain function.
RandomStream TestDraws;
int nextTestDraw() { return nextRandom(TestDraws); }

// What each way of drawing the points promises, at a fixed seed: whole
// coordinates 0..999, and the shape it is for.
TEST(Distributions, KeepTheirPromises)
{
    constexpr std::int32_t n = 1000;
    const auto draw = [](Distribution d) {
        std::vector<Point> p(n);
        seedRandom(TestDraws, 7);
        drawPoints(d, p.data(), n, nextTestDraw);
        return p;
    };
    const auto hullCount = [](const std::vector<Point>& p) { return computeHull(p.data(), n); };
    const auto distinct = [](const std::vector<Point>& p, auto key) {
        std::set<std::pair<float, float>> s;
        for (const Point& q : p) s.insert(key(q));
        return s.size();
    };
    const auto xy = [](const Point& q) { return std::pair{q.x, q.y}; };
    const std::int32_t uniformVertices = hullCount(draw(Distribution::Uniform));
    for (const DistributionName& d : Distributions) {
        SCOPED_TRACE(d.name);
        const std::vector<Point> p = draw(d.distribution);
        for (const Point& q : p) {
            ASSERT_TRUE(q.x >= 0 && q.x <= 999 && q.y >= 0 && q.y <= 999 && q.x == std::round(q.x) && q.y == std::round(q.y));
        }
        switch (d.distribution) {
        case Distribution::Circle: EXPECT_GT(hullCount(p), 5 * uniformVertices); break;
        case Distribution::Vertical: EXPECT_EQ(distinct(p, [](const Point& q) { return std::pair{q.x, 0.0f}; }), 1u); break;
        case Distribution::Duplicates: EXPECT_LE(distinct(p, xy), 5u); break;
        case Distribution::Grid: EXPECT_LE(distinct(p, xy), 32u * 32u); break;
        case Distribution::Clusters: EXPECT_LT(hullCount(p), 3 * uniformVertices); break;
        case Distribution::Worst: EXPECT_LE(distinct(p, xy), 200u); break;
        case Distribution::Uniform: break;
        }
    }
    // The uniform square draws the points the console has always drawn.
    const ProgramRun r = runProgram("1000\n", {"--seed", "7", "--raspored", "ravnomerno"});
    EXPECT_EQ(r.out.substr(0, 1000), runProgram("1000\n", {"--seed", "7"}).out.substr(0, 1000));
    std::size_t at = r.out.find("<");
    EXPECT_EQ(pointLines(r.out, at)[0].x, draw(Distribution::Uniform)[0].x);
}

// --help wins over every other option, --version over all but --help.
TEST(ConsoleRun, HelpAndVersionArePrintedWithoutAskingAnything)
{
    const std::string help = "Upotreba: omotac", version = "omotac " OMOTAC_VERSION "\n";
    const struct {
        std::vector<std::string> args;
        const std::string& start;
    } cases[] = {
        {{"--help"}, help}, {{"-h", "--seed", "1"}, help}, {{"--version", "--help"}, help},
        {{"--version"}, version}, {{"--seed", "1", "--version"}, version},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runProgram("5\n", c.args);
        EXPECT_EQ(r.status, 0) << c.args[0];
        EXPECT_EQ(r.err, "") << c.args[0];
        EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << r.out;
        EXPECT_EQ(r.out.find(Prompt), std::string::npos);
        if (c.start == version) {
            EXPECT_EQ(r.out, version);
        }
    }
    // The manual page is made from the help: it names every option, the
    // window's controls, the points file and the exit status.
    const ProgramRun r = runProgram("", {"--help"});
    for (const char* mentioned : {"--seed N", "--points DATOTEKA", "--version", "Q: izlaz",
                                  "Levi taster: pomeranje", "Datoteka sa tackama:", "Izlazni status:", "Primeri:",
                                  "--raspored IME", "najgori", "--metod IME", "andrew", "--poredi"})
        EXPECT_NE(r.out.find(mentioned), std::string::npos) << mentioned;
}

// The README's key block is the help's own lines, so that the two cannot part:
// the lines under "U prozoru:" up to the blank line, printed two spaces in.
TEST(ConsoleRun, TheReadmeListsTheKeysAsTheHelpDoes)
{
    const ProgramRun r = runProgram("", {"--help"});
    std::istringstream help(r.out);
    std::vector<std::string> keys;
    bool under = false;
    for (std::string line; std::getline(help, line) && !(under && line.empty());) {
        if (under) keys.push_back(line.rfind("  ", 0) == 0 ? line.substr(2) : line);
        under = under || line == "U prozoru:";
    }
    ASSERT_FALSE(keys.empty()) << r.out;

    // The first fenced block after the README's heading for the keys.
    std::ifstream readme(OMOTAC_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme) << OMOTAC_SOURCE_DIR "/README.md";
    std::vector<std::string> block;
    bool heading = false, fenced = false;
    for (std::string line; std::getline(readme, line);) {
        if (!heading) {
            heading = line == "## Keys in the window";
        } else if (line.rfind("```", 0) == 0) {
            if (fenced) break;
            fenced = true;
        } else if (fenced) {
            block.push_back(line);
        }
    }
    EXPECT_EQ(block, keys);
}

// Help anywhere on the line wins, beside a bad value or an unknown option too.
TEST(ConsoleRun, HelpAnywhereOnTheLineWins)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--help"}, {"-h"}, {"--seed", "x", "--help"}, {"--sed", "5", "--help"}, {"--help", "--point", "t.txt"},
        {"--points", "nema.txt", "-h"}, {"--seed=1", "--points=-", "--help"}, {"-sync", "--help", "--"},
    };
    for (const auto& args : cases) {
        const ProgramRun r = runProgram("5\n", args);
        SCOPED_TRACE(args.front() + " " + args.back());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Upotreba: omotac", 0), 0u) << r.out;
        EXPECT_EQ(r.out.find(Prompt), std::string::npos);
        for (const char* mentioned : {"--seed N", "Q: izlaz", "Levi taster: pomeranje", "navedena dvaput"})
            EXPECT_NE(r.out.find(mentioned), std::string::npos) << mentioned;
    }
}

TEST(ConsoleRun, ABadOptionEndsTheRunBeforeThePrompt)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--seed", "x"}, {"--seed", "-1"}, {"--seed"}, {"--seed", "4294967296"}, {"--seed="}, {"--seed", "+5"},
        {"--seed", " 5"}, {"--seed", "5x"}, {"--seed", "99999999999999999999"},
        {"--points"}, {"--points="}, {"--points", "t.txt", "--seed", "1"}, {"--seed=1", "--points=-"},
        {"--raspored", "kocka"}, {"--raspored"}, {"--raspored=krug", "--points", "-"},
        {"--metod", "kocka"}, {"--metod"}, {"--metod="}, {"--metod", "Jarvis"}, {"--poredi=da"},
    };
    for (const auto& args : cases) {
        const ProgramRun r = runProgram("5\n", args);
        const std::string shown = args.size() > 1 ? args[1] : args[0];
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(r.err.rfind("omotac: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    // An unknown name lists the names there are, for either table.
    EXPECT_EQ(runProgram("5\n", {"--metod", "kocka"}).err,
              "omotac: nepoznat metod \"kocka\"; metodi su: najdalja, jarvis, graham, andrew\n");
    EXPECT_EQ(runProgram("5\n", {"--metod"}).err,
              "omotac: posle --metod treba ime metoda; metodi su: najdalja, jarvis, graham, andrew\n");
    EXPECT_EQ(runProgram("5\n", {"--raspored=kocka"}).err,
              "omotac: nepoznat raspored \"kocka\"; rasporedi su: ravnomerno, krug, mreza, grozdovi, duplikati, "
              "uspravno, najgori\n");
}

// The method named goes to the window with the run's source; the farthest
// point when none is named.
TEST(ConsoleRun, TheMethodNamedGoesToTheWindow)
{
    const struct {
        std::vector<std::string> args;
        std::optional<HullMethod> method;
    } cases[] = {
        {{}, std::nullopt}, {{"--metod", "najdalja"}, HullMethod::Farthest}, {{"--metod", "jarvis"}, HullMethod::Jarvis},
        {{"--metod=graham", "--poredi"}, HullMethod::Graham}, {{"--points", "t.txt", "--metod", "andrew"}, HullMethod::Andrew},
        {{"--metod", "graham", "--metod", "andrew"}, HullMethod::Andrew},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        std::vector<char*> argv{const_cast<char*>("omotac")};
        for (std::string& a : args) argv.push_back(a.data());
        Options opts;
        ASSERT_EQ(parseOptions(int(argv.size()), argv.data(), opts), "");
        EXPECT_EQ(opts.method, c.method);
        EXPECT_EQ(runSourceFor(opts, 1).method, c.method.value_or(HullMethod::Farthest));
        EXPECT_EQ(opts.toolkitArgs.size(), 2u); // the program's name and the end: nothing for the toolkit
    }
}

// Two dashes mark one of the program's own options: any other is a typing
// mistake the toolkit would ignore, so it ends the run, named, before the
// question. The first such argument is the one named.
TEST(ConsoleRun, AnUnknownLongOptionIsNamed)
{
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"--point", "x.txt"}, "--point"}, {{"--sed", "5"}, "--sed"}, {{"--"}, "--"}, {{"---seed", "1"}, "---seed"},
        {{"--SEED=1"}, "--SEED=1"}, {{"--help=1"}, "--help=1"}, {{"--seed", "3", "--points-file", "t"}, "--points-file"},
        {{"-sync", "--geometry", "9x9"}, "--geometry"}, {{"--x", "--y"}, "--x"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runProgram("5\n", c.args);
        EXPECT_EQ(r.status, 2) << c.named;
        EXPECT_EQ(r.out, "") << c.named;
        EXPECT_EQ(r.err, "omotac: nepoznata opcija " + c.named + " (opcije navodi omotac --help)\n");
    }
}

// A dialogue that cannot be written is an error, and no window opens after it.
TEST(ConsoleRun, LostOutputIsAnError)
{
    TempDir dir;
    std::ofstream("t.txt") << "1 2\n";
    for (const Output output : {Output::Full, Output::Closed}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{}, {"--help"}, {"--version"}, {"--points", "t.txt"}}) {
            const ProgramRun r = runProgram("5\n", args, output);
            EXPECT_EQ(r.status, 1) << int(output);
            EXPECT_EQ(r.err, "Ispis na standardni izlaz nije uspeo.\n") << int(output);
        }
    }
}

// A run on the points of a file: no prompt, the file's points listed in their
// order, and the hull of exactly those points.
TEST(ConsoleRun, PointsFromAFile)
{
    TempDir dir;
    const struct {
        std::string text;
        std::vector<Point> points;
    } cases[] = {
        // An upright left edge, an inner point twice, a point on an edge.
        {"# tacke\r\n0 5\r\n0,0\r\n 0 , 10\r\n\r\n10 5\r\n5 5\r\n5 5\r\n5 0\r\n",
         {{0, 5}, {0, 0}, {0, 10}, {10, 5}, {5, 5}, {5, 5}, {5, 0}}},
        {"-16777216 -16777216\n16777216 16777216\n-1 2\n1 -2", {{-16777216, -16777216}, {16777216, 16777216}, {-1, 2}, {1, -2}}},
        {"7 7\n", {{7, 7}}},
    };
    for (const auto& c : cases) {
        std::ofstream("t.txt", std::ios::binary) << c.text;
        for (const auto& [input, args] : {std::pair<std::string, std::vector<std::string>>{"", {"--points", "t.txt"}},
                                          {c.text, {"--points=-"}}}) {
            SCOPED_TRACE(c.text.substr(0, 20) + " " + args[0]);
            const ProgramRun r = runProgram(input, args);
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(r.err.find("failed to open display"), std::string::npos) << r.err;
            std::vector<Point> listed;
            checkDialogue(r.out, 0, std::int32_t(c.points.size()), &listed);
            for (std::size_t i = 0; i < listed.size(); ++i) {
                EXPECT_EQ(listed[i].x, c.points[i].x);
                EXPECT_EQ(listed[i].y, c.points[i].y);
            }
        }
    }
}

TEST(ConsoleRun, APointsFileFaultEndsTheRunBeforeAnythingIsPrinted)
{
    TempDir dir;
    std::ofstream("los.txt") << "1 2\n\n3 4 5\n";
    std::filesystem::create_directory("dir");
    const struct {
        std::string path, input, err;
    } cases[] = {
        {"los.txt", "", "los.txt, red 3: ocekivane dve cele koordinate"},
        {"nema.txt", "", "nema.txt: datoteka ne postoji"},
        {"dir", "", "dir: to je direktorijum, a ne datoteka"},
        {"-", "# samo komentar\n", "standardni ulaz: nema nijedne tacke"},
        {"-", "1 2\n1 16777217\n", "standardni ulaz, red 2: koordinata je van opsega od -16777216 do 16777216"},
        {"-", std::string(1 << 22, '1'), "standardni ulaz, red 1: koordinata je van opsega od -16777216 do 16777216"},
        {"-", "1 2\n" + std::string(1 << 22, '0'), "standardni ulaz, red 2: red je duzi od 10000 znakova"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runProgram(c.input, {"--points", c.path});
        EXPECT_EQ(r.status, 2) << c.path;
        EXPECT_EQ(r.out, "") << c.path;
        EXPECT_EQ(r.err, c.err + "\n");
    }
    // Standard input closed: said in words, and no line is to blame.
    const ProgramRun closed = runProgram("", {"--points", "-"}, Output::File, Input::Closed);
    EXPECT_EQ(closed.status, 2);
    EXPECT_EQ(closed.err, "standardni ulaz: citanje nije uspelo (ulaz ili izlaz je zatvoren)\n");
}

// Saving the points of a run and running on the saved file gives the same run.
TEST(ConsoleRun, SavedPointsBringTheSameRunBack)
{
    TempDir dir;
    const ProgramRun random = runProgram("300\n", {"--seed", "7"});
    std::vector<Point> listed;
    checkDialogue(random.out, Prompt.size(), 300, &listed);
    const SavedFile saved = savePoints(listed.data(), std::int32_t(listed.size()));
    ASSERT_EQ(saved.name, "omotac-tacke-1.txt") << saved.error;
    const ProgramRun again = runProgram("", {"--points", saved.name});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(withoutTime(again.out), withoutTime(random.out.substr(Prompt.size())));
}

// With --poredi the dialogue is the same, and then every method's counts on
// the listed points: the same corners for all (those of the literal hull), as
// many steps as each method's rule makes.
TEST(ConsoleRun, ComparesTheMethodsWhenAsked)
{
    TempDir dir;
    std::ofstream("t.txt") << "0 0\n4 0\n4 4\n0 4\n2 2\n2 0\n";
    const struct {
        std::string input;
        std::vector<std::string> args;
        std::int32_t n;
    } cases[] = {
        {"300\n", {"--seed", "7", "--poredi"}, 300},
        {"1\n", {"--poredi", "--seed", "7"}, 1},
        {"2\n", {"--poredi", "--seed", "7"}, 2},
        {"500\n", {"--poredi", "--seed", "3", "--raspored", "mreza"}, 500},
        {"", {"--points", "t.txt", "--poredi", "--metod", "jarvis"}, 6},
    };
    static const std::regex line(R"((najdalja|jarvis|graham|andrew): temena (\d+), koraka (\d+), testova orijentacije (\d+), poredjenja (\d+))");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + std::to_string(c.n));
        const ProgramRun r = runProgram(c.input, c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        const std::string head = "\nPoredjenje metoda:\n";
        const std::size_t at = r.out.find(head);
        ASSERT_NE(at, std::string::npos) << r.out.substr(r.out.size() - std::min<std::size_t>(r.out.size(), 300));
        std::vector<std::string> plain = c.args;
        plain.erase(std::find(plain.begin(), plain.end(), "--poredi"));
        EXPECT_EQ(withoutTime(r.out.substr(0, at)), withoutTime(runProgram(c.input, plain).out));

        std::vector<Point> listed;
        const std::size_t start = c.input.empty() ? 0 : Prompt.size();
        checkDialogue(r.out.substr(0, at), start, c.n, &listed);
        const std::size_t corners = referenceCorners(referenceOutline(referenceHull(listed))).size();
        std::istringstream lines(r.out.substr(at + head.size()));
        const char* names[] = {"najdalja", "jarvis", "graham", "andrew"};
        const std::int32_t steps[] = {std::int32_t(referenceHull(listed).size()) - 1, std::int32_t(corners),
                                      std::max(c.n - 2, 0), 2 * (c.n - 1)};
        std::string text;
        for (int m = 0; m < 4; ++m) {
            ASSERT_TRUE(std::getline(lines, text));
            std::smatch f;
            ASSERT_TRUE(std::regex_match(text, f, line)) << text;
            EXPECT_EQ(f[1], names[m]);
            EXPECT_EQ(std::stoul(f[2]), corners) << text;
            EXPECT_EQ(std::stol(f[3]), steps[m]) << text;
            // Only the sorts compare coordinates; sorting n points takes n - 1 at least.
            if (m < 2) {
                EXPECT_EQ(f[5], "0") << text;
            }
            if (m == 3) {
                EXPECT_GE(std::stol(f[5]), c.n - 1) << text;
            }
        }
        EXPECT_FALSE(std::getline(lines, text)) << text;
    }
}

} // namespace
