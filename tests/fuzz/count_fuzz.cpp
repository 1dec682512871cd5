// The count reader on arbitrary bytes: parsePointCount on the bytes as one
// line, readPointCount on them as a stream. Neither may crash, each answer is
// no count (0) or a count 1..PointCapacity, and every answer matches what an
// independent reading of the bytes expects.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "console.hpp"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// A count line: blanks, an optional '+', decimal digits, blanks, and the
// digits' value in 1..PointCapacity. Leading zeros are fine; '-' never is.
std::int32_t expectedCount(std::string_view line)
{
    std::size_t first = 0, last = line.size();
    while (first < last && blank(line[first])) ++first;
    while (last > first && blank(line[last - 1])) --last;
    if (first < last && line[first] == '+') ++first;
    if (first == last) return 0;
    std::int64_t value = 0;
    for (std::size_t i = first; i < last; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > PointCapacity) value = PointCapacity + 1; // stays beyond, never overflows
    }
    return value >= 1 && value <= PointCapacity ? std::int32_t(value) : 0;
}

// The first line, split at '\n', that holds a count; 0 when none does.
std::int32_t expectedRead(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (const std::int32_t n = expectedCount(bytes.substr(0, end))) return n;
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return 0;
}

void require(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "count reader: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto parsed = parsePointCount(bytes);
    require(!parsed || (*parsed >= 1 && *parsed <= PointCapacity), "parsed count out of range");
    require(parsed.value_or(0) == expectedCount(bytes), "parsePointCount disagrees");

    static std::FILE* sink = std::fopen("/dev/null", "w");
    // fmemopen wants at least one byte of buffer; an empty input gets a stream of
    // one byte that is already at its end.
    static char empty[1] = {0};
    std::FILE* in = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "r") : fmemopen(empty, 1, "r");
    if (in == nullptr || sink == nullptr) return 0;
    if (size == 0) std::fgetc(in);
    const std::int32_t read = readPointCount(in, sink);
    std::fclose(in);
    require(read == 0 || (read >= 1 && read <= PointCapacity), "read count out of range");
    require(read == expectedRead(bytes), "readPointCount disagrees");
    return 0;
}
