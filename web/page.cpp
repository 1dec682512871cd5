// The page's entry: what main does on the desktop, one run at a time, called
// by the page's form. A run is the console's own: its command line is the
// desktop's (--seed, --points), its typed line goes through the console's
// reader, and what the console prints is kept for the page in one piece.

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "console.hpp"
#include "hull.hpp"
#include "options.hpp"
#include "run_viewer.hpp"
#include "session.hpp"
#include "startup.hpp"
#include "viewer.hpp"
#include "web_window.hpp"

namespace {

// What the last call printed: standard output, then standard error.
std::string Printed, Errors;
ConsoleRun Run;

// Everything written to a memory stream, closed.
std::string drain(std::FILE* f, char*& buffer, std::size_t& size)
{
    std::fclose(f);
    std::string text(buffer, size);
    std::free(buffer);
    buffer = nullptr;
    size = 0;
    return text;
}

} // namespace

extern "C" {

// The console's prompt, without its line end: what the reader prints before
// it reads a line, here one that never comes.
EMSCRIPTEN_KEEPALIVE const char* omotac_prompt()
{
    static std::string prompt;
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    std::FILE* none = std::fopen("/dev/null", "r");
    readPointCount(none, out);
    std::fclose(none);
    prompt = drain(out, buffer, size);
    while (!prompt.empty() && prompt.back() == '\n') prompt.pop_back();
    return prompt.c_str();
}

// One run as the command line "omotac ARGS" with countLine typed at the
// prompt (ARGS one a line): the status main would end with; omotac_output and
// omotac_errors then give what it printed. On 0 the run is in the picture.
EMSCRIPTEN_KEEPALIVE int omotac_run(const char* countLine, const char* args)
{
    std::vector<std::string> words{"omotac"};
    for (const char* p = args; *p;) {
        const char* end = p;
        while (*end && *end != '\n') ++end;
        words.emplace_back(p, end);
        p = *end ? end + 1 : end;
    }
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    Printed.clear();
    Errors.clear();
    Options opts;
    if (const std::string bad = parseOptions(int(words.size()), argv.data(), opts); !bad.empty()) {
        Errors = bad + "\n";
        return 2;
    }
    char *outBuffer = nullptr, *errBuffer = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    // The typed line, ended as a terminal ends it.
    std::string typed = std::string(countLine) + "\n";
    std::FILE* in = fmemopen(typed.data(), typed.size(), "r");
    const std::uint32_t seed = opts.seed.value_or(std::uint32_t(std::time(nullptr)));
    const int status = runConsoleFor(opts, seed, in, out, err, Run);
    std::fclose(in);
    Printed = drain(out, outBuffer, outSize);
    Errors = drain(err, errBuffer, errSize);
    if (status != 0) return status;
    showRun(runSourceFor(opts, seed), Run.points.data(), Run.n, Run.result, 0, nullptr);
    return 0;
}

EMSCRIPTEN_KEEPALIVE const char* omotac_output() { return Printed.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* omotac_errors() { return Errors.c_str(); }

// The seed of the run shown, as text; empty for points from a file.
EMSCRIPTEN_KEEPALIVE const char* omotac_seed()
{
    static std::string text;
    text = Session.seed ? std::to_string(*Session.seed) : std::string();
    return text.c_str();
}

// The ways random points can be drawn, one a line: the name, a tab, what it
// does; the default first.
EMSCRIPTEN_KEEPALIVE const char* omotac_distributions()
{
    static std::string list;
    list.clear();
    for (const DistributionName& d : Distributions) list += std::string(d.name) + '\t' + d.what + '\n';
    list.pop_back();
    return list.c_str();
}

// Frames painted so far, for measuring the page's frame rate.
EMSCRIPTEN_KEEPALIVE double omotac_frames() { return double(ViewState.framesShown); }
EMSCRIPTEN_KEEPALIVE double omotac_draw_millis() { return drawMillis(); }

} // extern "C"

int main()
{
    startPage();
    // The timed hull computation must not pay for first-touch page faults.
    prepareTimedRun();
    return 0;
}
