#include "options.hpp"

#include <charconv>
#include <string_view>

#include "run_viewer.hpp"

namespace {

constexpr const char* SeedRange = "ceo broj od 0 do 4294967295";

// A seed is digits only: no sign, no blanks, nothing past 32 bits.
std::optional<std::uint32_t> parseSeed(std::string_view text)
{
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), end, seed);
    if (ec != std::errc{} || ptr != end) return std::nullopt;
    return seed;
}

// The value of an option given as "NAME VALUE" or "NAME=VALUE": nothing when
// arg is not that option, a null value when the value is missing. The
// separate form moves i past the value.
std::optional<std::optional<std::string_view>> optionValue(std::string_view arg, std::string_view name, int argc,
                                                           char** argv, int& i)
{
    if (arg == name) {
        if (i + 1 >= argc) return std::optional<std::string_view>{};
        return std::string_view(argv[++i]);
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    return std::nullopt;
}

// The distributions' names, comma-separated.
std::string distributionList()
{
    std::string list;
    for (const DistributionName& d : Distributions) list += (list.empty() ? "" : ", ") + std::string(d.name);
    return list;
}

} // namespace

std::string parseOptions(int argc, char** argv, Options& opts)
{
    opts = {};
    if (argc > 0) opts.toolkitArgs.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            opts.help = true;
        } else if (const auto value = optionValue(arg, "--seed", argc, argv, i)) {
            if (!*value) return std::string("omotac: posle --seed treba ") + SeedRange;
            opts.seed = parseSeed(**value);
            if (!opts.seed) return "omotac: seme \"" + std::string(**value) + "\" nije " + SeedRange;
        } else if (const auto value = optionValue(arg, "--raspored", argc, argv, i)) {
            opts.distribution = *value ? distributionNamed(**value) : std::nullopt;
            if (!opts.distribution)
                return "omotac: " + (*value ? "nepoznat raspored \"" + std::string(**value) + "\"" : std::string("posle --raspored treba ime rasporeda"))
                       + "; rasporedi su: " + distributionList();
        } else if (const auto value = optionValue(arg, "--points", argc, argv, i)) {
            if (!*value || (*value)->empty())
                return "omotac: posle --points treba ime datoteke sa tackama (ili - za standardni ulaz)";
            opts.pointsFile = std::string(**value);
        } else {
            opts.toolkitArgs.push_back(argv[i]);
        }
    }
    if (opts.seed && opts.pointsFile) return "omotac: --points i --seed se ne mogu zadati zajedno";
    if (opts.distribution && opts.pointsFile) return "omotac: --points i --raspored se ne mogu zadati zajedno";
    // The toolkit expects argv to end with a null entry, as main's does.
    opts.toolkitArgs.push_back(nullptr);
    return {};
}

bool printUsage(std::FILE* out)
{
    std::fputs("Upotreba: omotac [--seed N] [--raspored IME] | [--points DATOTEKA] [--help] [opcije prozora]\n"
               "\n"
               "Pita za broj tacaka (1 do 10000), pravi toliko slucajnih tacaka sa celim\n"
               "koordinatama od 0 do 999, racuna njihov konveksni omotac, ispisuje tacke,\n"
               "vreme racunanja i temena omotaca, pa ih prikazuje u prozoru.\n"
               "\n"
               "Opcije:\n"
               "  --seed N   seme generatora slucajnih brojeva, ceo broj od 0 do 4294967295;\n"
               "             isto seme i isti broj tacaka daju iste tacke (bez opcije seme\n"
               "             se uzima iz trenutnog vremena)\n"
               "  --points DATOTEKA\n"
               "             tacke iz datoteke umesto slucajnih (- je standardni ulaz): jedna\n"
               "             tacka u redu, dva cela broja odvojena razmakom ili zarezom, od\n"
               "             -16777216 do 16777216; prazni redovi i redovi koji pocinju sa #\n"
               "             se preskacu; od 1 do 10000 tacaka; ne moze uz --seed\n"
               "  --raspored IME\n"
               "             kako se crtaju slucajne tacke (ne moze uz --points):\n",
               out);
    for (const DistributionName& d : Distributions) std::fprintf(out, "               %-11s %s\n", d.name, d.what);
    std::fputs("  --help     ovaj tekst\n"
               "Ostali argumenti idu biblioteci prozora (GLUT), na primer -display :1.\n"
               "\n"
               "U prozoru:\n",
               out);
    for (const char* line : ControlHelp) std::fprintf(out, "  %s\n", line);
    return std::fflush(out) == 0 && !std::ferror(out);
}

int runConsoleFor(const Options& opts, std::uint32_t seed, std::FILE* in, std::FILE* out, std::FILE* err,
                  ConsoleRun& run)
{
    if (opts.pointsFile) return runPointsFile(opts.pointsFile->c_str(), in, out, err, run);
    return runConsole(in, out, err, seed, run, opts.distribution.value_or(Distribution::Uniform));
}

RunSource runSourceFor(const Options& opts, std::uint32_t seed)
{
    RunSource source;
    if (opts.pointsFile)
        source.pointsFile = *opts.pointsFile;
    else
        source.seed = seed;
    for (const DistributionName& d : Distributions)
        if (opts.distribution == d.distribution && d.distribution != Distribution::Uniform) source.distribution = d.name;
    return source;
}
