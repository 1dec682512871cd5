// The page's entry: what main does on the desktop, one run at a time, called
// by the page's form. A run is the console's own: its command line is the
// desktop's (--seed, --raspored, --metod), its typed line goes through the
// console's reader, a chosen points file (or the points an address carries)
// through the console's points reader, and what the console prints is kept
// for the page in one piece. The page's buttons, its size and the step an
// address names come in here too.

#include <emscripten.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "camera.hpp"
#include "console.hpp"
#include "hull.hpp"
#include "methods.hpp"
#include "options.hpp"
#include "run_viewer.hpp"
#include "session.hpp"
#include "startup.hpp"
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

// Where the page keeps the one points file chosen in its form: a place of the
// file's own, apart from the files the viewer saves, overwritten (and so
// freed) when another is chosen. The file's name is never a path or an
// argument: it only names the file in messages.
constexpr const char* ChosenFolder = "/izabrana";
constexpr const char* ChosenPath = "/izabrana/datoteka";

// The console's streams for one run, and what they printed once it is over.
struct Capture {
    char *outBuffer = nullptr, *errBuffer = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    void finish()
    {
        Printed = drain(out, outBuffer, outSize);
        Errors = drain(err, errBuffer, errSize);
    }
};

// The methods' comparison after a run on a file that went well, where asked
// for, as --poredi prints it.
int compared(int status, int compare, Capture& c)
{
    return status == 0 && compare != 0 ? printMethodComparison(c.out, c.err, Run) : status;
}

// A table of named choices (a name and what it does each) as the page's
// choosers take it: one a line, the name, a tab, what it does.
template <class Table>
const char* choices(const Table& table)
{
    static std::string list;
    list.clear();
    for (const auto& entry : table) list += std::string(entry.name) + '\t' + entry.what + '\n';
    list.pop_back();
    return list.c_str();
}

// A run the console finished with status 0 goes to the picture.
int show(int status, const RunSource& source)
{
    if (status != 0) return status;
    showRun(source, {Run.points.data(), std::size_t(Run.n)}, Run.result,
            {HullBuffer.data(), std::size_t(Run.result.count)}, 0, nullptr);
    return 0;
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
    Capture c;
    // The typed line, ended as a terminal ends it.
    std::string typed = std::string(countLine) + "\n";
    std::FILE* in = fmemopen(typed.data(), typed.size(), "r");
    const std::uint32_t seed = opts.seed.value_or(std::uint32_t(std::time(nullptr)));
    const int status = runConsoleFor(opts, seed, in, c.out, c.err, Run);
    std::fclose(in);
    c.finish();
    // The console says why a count was refused on its own lines and, at the
    // end of its input, only that none came: the page has no more input to
    // give, so its message is the reason.
    if (status != 0 && !opts.pointsFile && !parsePointCount(countLine)) {
        const std::size_t from = Printed.find('\n') + 1, to = Printed.find('\n', from);
        if (from > 0 && to != std::string::npos) Errors = Printed.substr(from, to - from + 1);
    }
    return show(status, runSourceFor(opts, seed));
}

// One run on the points file the page has put at ChosenPath, as the command
// line "omotac --points NAME --metod METHOD [--poredi]" would run the file
// NAME; as omotac_run after.
EMSCRIPTEN_KEEPALIVE int omotac_run_chosen(const char* name, const char* method, int compare)
{
    Printed.clear();
    Errors.clear();
    std::FILE* file = std::fopen(ChosenPath, "r");
    if (file == nullptr) {
        Errors = std::string(name) + ": datoteka nije procitana\n";
        return 2;
    }
    Capture c;
    const int status = compared(runPointsStream(file, name, c.out, c.err, Run), compare, c);
    std::fclose(file);
    c.finish();
    RunSource source;
    source.pointsFile = name;
    source.method = hullMethodNamed(method).value_or(HullMethod::Farthest);
    return show(status, source);
}

// One run on the points an address carries, as "x,y" pairs joined by "_":
// the points reader reads them as a file of its own (named "adresa" in its
// messages); the set shown is an edited one, which no seed gives.
EMSCRIPTEN_KEEPALIVE int omotac_run_listed(const char* pairs, const char* method, int compare)
{
    Printed.clear();
    Errors.clear();
    std::string text;
    for (const char* p = pairs; *p; ++p) text += *p == '_' ? '\n' : *p == ',' ? ' ' : *p;
    text += '\n';
    Capture c;
    std::FILE* in = fmemopen(text.data(), text.size(), "r");
    const int status = compared(runPointsStream(in, "adresa", c.out, c.err, Run), compare, c);
    std::fclose(in);
    c.finish();
    RunSource source;
    source.method = hullMethodNamed(method).value_or(HullMethod::Farthest);
    source.edited = true;
    return show(status, source);
}

// The set shown as an address carries it ("x,y" pairs joined by "_"), where
// it has at most `limit` points; empty otherwise.
EMSCRIPTEN_KEEPALIVE const char* omotac_points(int limit)
{
    static std::string text;
    text.clear();
    if (Session.points.size() > std::size_t(std::max(limit, 0))) return text.c_str();
    char pair[64];
    for (const Point& p : Session.points) {
        std::snprintf(pair, sizeof pair, "%s%.0f,%.0f", text.empty() ? "" : "_", double(p.x), double(p.y));
        text += pair;
    }
    return text.c_str();
}

// The page's buttons press keys by the names the browser gives them; the
// page gives the picture its size; an address names a step.
EMSCRIPTEN_KEEPALIVE void omotac_key(const char* name) { pressKeyNamed(name); }
EMSCRIPTEN_KEEPALIVE void omotac_resize(int width, int height, double ratio) { resizePicture(width, height, ratio); }
EMSCRIPTEN_KEEPALIVE void omotac_show_step(int step) { showStepNamed(step); }

// Where the page puts the chosen file before omotac_run_chosen.
EMSCRIPTEN_KEEPALIVE const char* omotac_chosen_path() { return ChosenPath; }

EMSCRIPTEN_KEEPALIVE const char* omotac_output() { return Printed.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* omotac_errors() { return Errors.c_str(); }

// The seed of the run shown, as text; empty for points from a file.
EMSCRIPTEN_KEEPALIVE const char* omotac_seed()
{
    static std::string text;
    text = Session.source.seed ? std::to_string(*Session.source.seed) : std::string();
    return text.c_str();
}

// The ways random points can be drawn, and the hull methods whose steps the
// picture can show: one a line, the name, a tab, what it does; the default first.
EMSCRIPTEN_KEEPALIVE const char* omotac_distributions() { return choices(Distributions); }
EMSCRIPTEN_KEEPALIVE const char* omotac_methods() { return choices(HullMethods); }

// What the picture shows now: the method's name, and the step (the finished
// hull being the method's step count).
EMSCRIPTEN_KEEPALIVE const char* omotac_method() { return hullMethodName(Session.method); }
EMSCRIPTEN_KEEPALIVE int omotac_step() { return Session.steps.step; }

// Frames painted so far, for measuring the page's frame rate.
EMSCRIPTEN_KEEPALIVE double omotac_frames() { return double(ViewState.framesShown); }
EMSCRIPTEN_KEEPALIVE double omotac_draw_millis() { return drawMillis(); }

} // extern "C"

int main()
{
    mkdir(ChosenFolder, 0755);
    startPage();
    // The timed hull computation must not pay for first-touch page faults.
    prepareTimedRun();
    return 0;
}
