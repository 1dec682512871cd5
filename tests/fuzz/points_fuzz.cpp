// The points-file reader on arbitrary bytes. It may not crash; what it gives
// must match an independent reading of the bytes line by line: the points of
// a good input, or a message that names the first faulty line, a line that
// exists, after reading no byte past the fault.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "points_file.hpp"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// One line judged whole: skipped (blank or a comment), a point, or wrong.
struct Judged {
    enum { Skip, Point, Wrong } kind = Skip;
    std::int64_t x = 0, y = 0;
};

// An optional sign and digits; the value saturates just past the limit.
bool number(std::string_view l, std::size_t& i, std::int64_t& v)
{
    const bool negative = i < l.size() && l[i] == '-';
    if (i < l.size() && (l[i] == '+' || l[i] == '-')) ++i;
    const std::size_t first = i;
    std::int64_t m = 0;
    for (; i < l.size() && digit(l[i]); ++i) m = std::min<std::int64_t>(m * 10 + (l[i] - '0'), CoordinateLimit + 1);
    v = negative ? -m : m;
    return i > first;
}

// blanks x (blanks | blanks ',' blanks) y blanks, both within the limit.
Judged judge(std::string_view l)
{
    std::size_t i = 0;
    while (i < l.size() && blank(l[i])) ++i;
    if (i == l.size() || l[i] == '#') return {};
    Judged j;
    j.kind = Judged::Wrong;
    if (!number(l, i, j.x)) return j;
    const std::size_t gap = i;
    while (i < l.size() && blank(l[i])) ++i;
    if (i < l.size() && l[i] == ',') {
        ++i;
        while (i < l.size() && blank(l[i])) ++i;
    } else if (i == gap) {
        return j;
    }
    if (!number(l, i, j.y)) return j;
    while (i < l.size() && blank(l[i])) ++i;
    if (i == l.size() && std::llabs(j.x) <= CoordinateLimit && std::llabs(j.y) <= CoordinateLimit) j.kind = Judged::Point;
    return j;
}

// The first non-blank of the line is the start of a number.
bool startsNumber(std::string_view l)
{
    std::size_t i = 0;
    while (i < l.size() && blank(l[i])) ++i;
    return i < l.size() && (l[i] == '+' || l[i] == '-' || digit(l[i]));
}

// The digits that end just before `end` in l, read as one number, pass the limit
// only with the last of them.
bool passesLimitAt(std::string_view l, std::size_t end)
{
    std::size_t first = end;
    while (first > 0 && digit(l[first - 1])) --first;
    if (first == end) return false;
    std::int64_t m = 0;
    for (std::size_t k = first; k + 1 < end; ++k) m = std::min<std::int64_t>(m * 10 + (l[k] - '0'), CoordinateLimit + 1);
    return m <= CoordinateLimit && m * 10 + (l[end - 1] - '0') > CoordinateLimit;
}

void require(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "points reader: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static std::array<Point, PointCapacity> points;
    // fmemopen wants at least one byte of buffer; an empty input gets a stream
    // of one byte that is already at its end.
    static char empty[1] = {0};
    std::FILE* in = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "r") : fmemopen(empty, 1, "r");
    if (in == nullptr) return 0;
    if (size == 0) std::fgetc(in);
    const PointsRead r = readPoints(in, "f", points);
    const std::size_t consumed = std::size_t(std::ftell(in)) - (size == 0 ? 1 : 0);
    std::fclose(in);
    require(r.error.empty() == (r.count > 0) && r.count >= 0 && r.count <= PointCapacity, "count and message disagree");

    // The reading expected, line by line; a byte order mark belongs to no line.
    const bool bom = bytes.starts_with("\xEF\xBB\xBF");
    std::int64_t line = 1, fault = 0;
    std::size_t start = bom ? 3 : 0, faultStart = 0, faultEnd = 0;
    std::string_view faulty; // the faulty line without its line end
    std::vector<Judged> expected;
    bool capacity = false;
    // A first byte that begins no byte order mark is a fault of line 1.
    const bool badMark = !bom && !bytes.empty() && bytes[0] == '\xEF';
    if (badMark) fault = 1, faultEnd = std::min<std::size_t>(size, 3);
    for (; fault == 0 && start <= size; ++line) {
        const std::size_t nl = bytes.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? size : nl;
        const std::string_view l = bytes.substr(start, end - start);
        const Judged j = judge(l);
        capacity = expected.size() == PointCapacity && startsNumber(l);
        if (capacity || j.kind == Judged::Wrong || l.size() > std::size_t(LineLimit)) {
            fault = line;
            faulty = l;
            faultStart = start;
            faultEnd = nl == std::string_view::npos ? size : nl + 1;
            break;
        }
        if (j.kind == Judged::Point) expected.push_back(j);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }

    if (fault == 0 && !expected.empty()) {
        require(r.error.empty(), "a good input refused");
        require(consumed == size, "a good input not read to its end");
        require(std::size_t(r.count) == expected.size(), "a point lost or made up");
        for (std::size_t i = 0; i < expected.size(); ++i)
            require(points[i].x == float(expected[i].x) && points[i].y == float(expected[i].y), "a point misread");
        return 0;
    }
    if (fault == 0) {
        require(r.error == "f: nema nijedne tacke", "an input without points not said so");
        require(consumed == size, "an input without points not read to its end");
        return 0;
    }
    // The message names the first faulty line, which exists, and nothing past
    // the fault has been read.
    const std::string prefix = "f, red " + std::to_string(fault) + ": ";
    require(r.error.starts_with(prefix), "the message names another line than the first faulty one");
    require(consumed > faultStart, "the faulty line was not read");
    require(consumed <= faultEnd, "read past the faulty line");
    const std::string_view why = std::string_view(r.error).substr(prefix.size());
    const std::string_view l = faulty;
    const std::size_t at = consumed - faultStart; // bytes of the line read, its line end included
    if (why == "red je duzi od 10000 znakova") {
        require(at == std::size_t(LineLimit) + 1, "a long line not refused at its first byte too many");
    } else if (why == "koordinata je van opsega od -16777216 do 16777216") {
        require(at <= l.size() && passesLimitAt(l, at), "out of range not at the digit that takes a number there");
    } else if (why == "vise od 10000 tacaka") {
        require(capacity && at <= l.size() && !blank(l[at - 1]), "too many points not at the first byte of one too many");
    } else {
        require(why == "ocekivane dve cele koordinate", "an unknown message");
        require(badMark || judge(l).kind == Judged::Wrong, "a good line called malformed");
    }
    return 0;
}
