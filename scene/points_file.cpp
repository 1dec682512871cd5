// The points file: a bounded reader that stops at the first fault with a
// message naming file and line, the writer, and names in ASCII.

#include "points_file.hpp"

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>

namespace {

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Judges one line a character at a time, keeping only the numbers so far, so
// a line costs no memory: blanks, x, blanks or one comma among blanks, y,
// blanks; or blanks and a '#' comment; or blanks alone.
struct LineScan {
    enum class Stage { Lead, Comment, Number, Gap, Trail, Bad, OutOfRange };
    enum class Verdict { Empty, Point, Malformed };
    Stage stage = Stage::Lead;
    int field = 0;        // the number being read or last read: 0 for x, 1 for y
    bool comma = false;   // the gap after x has its comma
    bool negative = false;
    bool digits = false;  // the current number has a digit
    // Magnitude of the current number; the digit that takes it past the limit
    // ends the line, so it never overflows and leading zeros cost nothing.
    std::int32_t magnitude = 0;
    std::int32_t value[2] = {0, 0};

    bool startsPoint() const { return stage == Stage::Number && field == 0; }

    void begin(int c)
    {
        stage = Stage::Number;
        negative = c == '-';
        digits = isDigit(c);
        magnitude = digits ? c - '0' : 0;
    }
    // Ends the current number at a blank, a comma or the line's end.
    void end()
    {
        if (!digits) {
            stage = Stage::Bad;
            return;
        }
        value[field] = negative ? -magnitude : magnitude;
    }

    void feed(int c)
    {
        switch (stage) {
        case Stage::Lead:
            if (c == '#') stage = Stage::Comment;
            else if (c == '+' || c == '-' || isDigit(c)) begin(c);
            else if (!isBlank(c)) stage = Stage::Bad;
            break;
        case Stage::Comment: break;
        case Stage::Number:
            if (isDigit(c)) {
                digits = true;
                magnitude = magnitude * 10 + (c - '0');
                if (magnitude > CoordinateLimit) stage = Stage::OutOfRange;
            } else if (isBlank(c) || (c == ',' && field == 0)) {
                end();
                if (stage == Stage::Bad) break;
                stage = field == 0 ? Stage::Gap : Stage::Trail;
                comma = c == ',';
            } else {
                stage = Stage::Bad;
            }
            break;
        case Stage::Gap:
            if (c == ',' && !comma) {
                comma = true;
            } else if (c == '+' || c == '-' || isDigit(c)) {
                field = 1;
                begin(c);
            } else if (!isBlank(c)) {
                stage = Stage::Bad;
            }
            break;
        case Stage::Trail:
            if (!isBlank(c)) stage = Stage::Bad;
            break;
        case Stage::Bad:
        case Stage::OutOfRange: break;
        }
    }
    // The line so far, as if it ended here.
    Verdict verdict()
    {
        if (stage == Stage::Number && field == 1) {
            end();
            if (stage != Stage::Bad) stage = Stage::Trail;
        }
        if (stage == Stage::Lead || stage == Stage::Comment) return Verdict::Empty;
        if (stage == Stage::Bad) return Verdict::Malformed;
        return stage == Stage::Trail ? Verdict::Point : Verdict::Malformed;
    }
};

static_assert(PointCapacity == 10000 && CoordinateLimit == 16777216 && LineLimit == 10000,
              "the messages below name the limits");

constexpr const char* Malformed = "ocekivane dve cele koordinate";
constexpr const char* OutOfRange = "koordinata je van opsega od -16777216 do 16777216";

std::string at(std::string_view name, std::int64_t line, const char* what)
{
    return std::string(name) + ", red " + std::to_string(line) + ": " + what;
}

} // namespace

PointsRead readPoints(std::FILE* in, std::string_view name, std::span<Point, PointCapacity> points)
{
    std::int32_t n = 0;
    std::int64_t line = 1;
    std::int32_t length = 0; // characters of the line so far
    bool anything = false;   // a byte has been read
    LineScan scan;
    int c = std::getc(in);
    // A byte order mark, as some editors put at the front of a UTF-8 file.
    if (c == 0xEF) {
        if (std::getc(in) != 0xBB || std::getc(in) != 0xBF) return {0, at(name, line, Malformed)};
        c = std::getc(in);
    }
    for (;; c = std::getc(in)) {
        if (c != EOF) anything = true;
        if (c != EOF && c != '\n') {
            // No line of a good file needs more, and endless input must end.
            if (++length > LineLimit) return {0, at(name, line, "red je duzi od 10000 znakova")};
            scan.feed(c);
            // The first character of a point past the capacity is the last one read.
            if (n == PointCapacity && scan.startsPoint())
                return {0, at(name, line, "vise od 10000 tacaka")};
            // A line is known to be wrong as soon as it goes wrong: stop there.
            if (scan.stage == LineScan::Stage::Bad) return {0, at(name, line, Malformed)};
            if (scan.stage == LineScan::Stage::OutOfRange) return {0, at(name, line, OutOfRange)};
            continue;
        }
        if (c == EOF && std::ferror(in)) {
            const std::string why = "citanje nije uspelo (" + systemErrorText(errno) + ")";
            // Input that fails before its first byte is no line's fault.
            return {0, anything ? at(name, line, why.c_str()) : std::string(name) + ": " + why};
        }
        switch (scan.verdict()) {
        case LineScan::Verdict::Empty: break;
        case LineScan::Verdict::Malformed: return {0, at(name, line, Malformed)};
        case LineScan::Verdict::Point:
            points[std::size_t(n)] = Point{float(scan.value[0]), float(scan.value[1])};
            ++n;
            break;
        }
        if (c == EOF) break;
        scan = LineScan{};
        length = 0;
        ++line;
    }
    if (n == 0) return {0, std::string(name) + ": nema nijedne tacke"};
    return {n, {}};
}

PointsRead loadPoints(const char* path, std::span<Point, PointCapacity> points, std::FILE* standardInput)
{
    if (std::string_view(path) == "-") return readPoints(standardInput, StandardInputName, points);
    std::FILE* in = std::fopen(path, "r");
    if (in == nullptr) return {0, std::string(path) + ": " + systemErrorText(errno)};
    // A directory opens like a file; only reading it fails, and that is no line's fault.
    struct stat st {};
    PointsRead r = fstat(fileno(in), &st) == 0 && S_ISDIR(st.st_mode)
                       ? PointsRead{0, std::string(path) + ": " + systemErrorText(EISDIR)}
                       : readPoints(in, path, points);
    std::fclose(in);
    return r;
}

namespace {

// The ASCII for one decoded code point outside ASCII.
const char* asciiFor(char32_t c)
{
    switch (c) {
    case U'č': case U'ć': return "c";
    case U'Č': case U'Ć': return "C";
    case U'š': return "s";
    case U'Š': return "S";
    case U'ž': return "z";
    case U'Ž': return "Z";
    case U'đ': return "dj";
    case U'Đ': return "Dj";
    default: return c >= 0x300 && c <= 0x36F ? "" : "?";
    }
}

} // namespace

std::string asciiName(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            out += lead >= 0x20 && lead < 0x7F ? char(lead) : '?';
            ++i;
            continue;
        }
        // The length a lead byte announces; 0 for a byte that leads nothing.
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        char32_t c = lead & (0x7F >> length);
        std::size_t k = 1;
        for (; k < length && i + k < utf8.size() && (byte(i + k) & 0xC0) == 0x80; ++k) c = c << 6 | (byte(i + k) & 0x3F);
        if (length == 0 || k < length) {
            out += '?';
            ++i;
            continue;
        }
        out += asciiFor(c);
        i += length;
    }
    return out;
}

bool writePoints(std::FILE* out, const Point* points, std::int32_t n)
{
    std::fputs("# tacke za omotac --points: x y u svakom redu\n", out);
    // Whole numbers print exactly with no decimals.
    for (std::int32_t i = 0; i < n; ++i) std::fprintf(out, "%.0f %.0f\n", double(points[i].x), double(points[i].y));
    return std::fflush(out) == 0 && !std::ferror(out);
}

SavedFile savePoints(const Point* points, std::int32_t n)
{
    return saveNumbered("omotac-tacke-", ".txt", [&](std::FILE* out) { return writePoints(out, points, n); });
}
