// The command line: the program's own options, the usage text and the run
// the options ask for.

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

// How the messages about an option that names one entry of a table speak of it.
struct ChoiceWords {
    const char* option;   // "--raspored"
    const char* noun;     // "raspored"
    const char* plural;   // "rasporedi"
    const char* genitive; // "rasporeda"
};

// The value of the table entry that value names, into chosen; the one-line
// message when the name is missing or is none of the table's (empty when
// chosen). The message lists every name, so the user can pick one.
template <class Entry, std::size_t N, class Value>
std::string chooseNamed(std::optional<std::string_view> value, const Entry (&table)[N], Value Entry::*field,
                        const ChoiceWords& words, std::optional<Value>& chosen)
{
    chosen.reset();
    for (const Entry& e : table)
        if (value && *value == e.name) chosen = e.*field;
    if (chosen) return {};
    std::string names;
    for (const Entry& e : table) names += (names.empty() ? "" : ", ") + std::string(e.name);
    const std::string what = value ? "nepoznat " + std::string(words.noun) + " \"" + std::string(*value) + "\""
                                   : "posle " + std::string(words.option) + " treba ime " + words.genitive;
    return "omotac: " + what + "; " + words.plural + " su: " + names;
}

constexpr ChoiceWords DistributionWords{"--raspored", "raspored", "rasporedi", "rasporeda"};
constexpr ChoiceWords MethodWords{"--metod", "metod", "metodi", "metoda"};

// Help asked for anywhere on the line wins over every other argument, a bad
// one included, so that a user who mistyped can still read the usage.
bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") return true;
    return false;
}

} // namespace

std::string parseOptions(int argc, char** argv, Options& opts)
{
    opts = {};
    if (argc > 0) opts.toolkitArgs.push_back(argv[0]);
    if (asksForHelp(argc, argv)) {
        opts.help = true;
        opts.toolkitArgs.push_back(nullptr);
        return {};
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            opts.version = true;
        } else if (const auto value = optionValue(arg, "--seed", argc, argv, i)) {
            if (!*value) return std::string("omotac: posle --seed treba ") + SeedRange;
            opts.seed = parseSeed(**value);
            if (!opts.seed) return "omotac: seme \"" + std::string(**value) + "\" nije " + SeedRange;
        } else if (const auto value = optionValue(arg, DistributionWords.option, argc, argv, i)) {
            const std::string bad =
                chooseNamed(*value, Distributions, &DistributionName::distribution, DistributionWords, opts.distribution);
            if (!bad.empty()) return bad;
        } else if (const auto value = optionValue(arg, MethodWords.option, argc, argv, i)) {
            const std::string bad = chooseNamed(*value, HullMethods, &HullMethodName::method, MethodWords, opts.method);
            if (!bad.empty()) return bad;
        } else if (arg == "--poredi") {
            opts.compare = true;
        } else if (const auto value = optionValue(arg, "--points", argc, argv, i)) {
            if (!*value || (*value)->empty())
                return "omotac: posle --points treba ime datoteke sa tackama (ili - za standardni ulaz)";
            opts.pointsFile = std::string(**value);
        } else if (arg.starts_with("--")) {
            // The toolkit's options have one dash; two dashes mean one of ours,
            // mistyped, which the toolkit would silently ignore. A bare "--"
            // ends nothing here, as there are no operands after it to protect.
            return "omotac: nepoznata opcija " + std::string(arg) + " (opcije navodi omotac --help)";
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
    // The manual page is made from this text: a line ending in a colon heads
    // the indented lines under it, "$ " lines are examples, and no indented
    // line may start with a sign unless it names an option.
    std::fputs("Upotreba: omotac [--seed N] [--raspored IME] | [--points DATOTEKA] [--metod IME] [--poredi] [--help] "
               "[--version] [opcije prozora]\n"
               "\n"
               "Pita za broj tacaka (1 do 10000), pravi toliko slucajnih tacaka sa celim\n"
               "koordinatama od 0 do 999, racuna njihov konveksni omotac, ispisuje tacke,\n"
               "vreme racunanja i temena omotaca, pa ih prikazuje u prozoru.\n"
               "\n"
               "Temena su ispisana redom kojim su nadjena, pocev od najleve i najdesnije\n"
               "tacke (prve takve u spisku). Zato spisak moze da sadrzi i tacku koja lezi\n"
               "unutar uspravne ivice omotaca, kada je ona prva najleva ili najdesnija, a\n"
               "jedna tacka (ili vise jednakih tacaka) je navedena dvaput.\n"
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
    std::fputs("  --metod IME\n"
               "             metod cije korake prozor ponavlja:\n",
               out);
    for (const HullMethodName& m : HullMethods) std::fprintf(out, "               %-11s %s\n", m.name, m.what);
    std::fputs("  --poredi   posle spiska temena ispisuje za svaki metod, na istim tackama,\n"
               "             broj temena (tacaka u kojima se omotac lomi), koraka, testova\n"
               "             orijentacije i poredjenja koordinata pri sortiranju\n"
               "  --help     ovaj tekst\n"
               "  --version  ime i verzija programa\n"
               "Ostali argumenti idu biblioteci prozora (GLUT), na primer -display :1;\n"
               "nepoznata opcija sa dve crte (--...) je greska.\n"
               "\n"
               "U prozoru:\n",
               out);
    for (const char* line : ControlHelp) std::fprintf(out, "  %s\n", line);
    std::fputs("\n"
               "Koraci:\n"
               "  Prozor se otvara na gotovom omotacu. Tasteri ponavljaju racunanje korak po\n"
               "  korak: korak 0 su same tacke, korak 1 nalazi krajnju levu i krajnju desnu\n"
               "  tacku, a svaki sledeci korak sledece teme omotaca, tacku najdalju od jedne\n"
               "  ivice do tada nadjenog omotaca. Natpis gore levo kaze koji je korak i\n"
               "  koji metod. M (ili --metod) menja metod: umotavanje (jarvis) nalazi po\n"
               "  jedno teme u koraku, Grahamov obilazak (graham) i monotoni lanac (andrew)\n"
               "  uzimaju po jednu tacku na stek. Crveno je konacno, ljubicasto se jos moze\n"
               "  promeniti, belo je iskljuceno, a narandzasto je ono o cemu korak odlucuje.\n"
               "\n"
               "Mis:\n"
               "  Levim tasterom se slika pomera (uhvacena tacka ostaje pod kursorom), desnim\n"
               "  se okrece oko sredista tacaka (prevlacenje udesno u smeru kazaljke na satu),\n"
               "  a srednjim, ili levim i desnim zajedno, se uvecava (nagore) i umanjuje\n"
               "  (nadole). Pustanje tastera zavrsava prevlacenje. R ili promena velicine\n"
               "  prozora vraca pocetni pogled.\n"
               "\n"
               "Datoteka sa tackama:\n"
               "  Jedna tacka u redu: dva cela broja, x pa y, odvojena razmacima ili zarezom\n"
               "  (sa razmacima oko njega ili bez), svaki od -16777216 do 16777216, sa\n"
               "  znakom + ili - ili bez njega. Prazni redovi i redovi ciji prvi znak koji\n"
               "  nije razmak je # se preskacu; iza tacke u istom redu ne moze komentar.\n"
               "  Windows krajevi redova i UTF-8 BOM su dozvoljeni. Od 1 do 10000 tacaka;\n"
               "  iste tacke i tacke na jednoj pravoj su dozvoljene. Prva greska prekida rad\n"
               "  pre ikakvog ispisa, sa jednim redom koji navodi datoteku i red. Taster S\n"
               "  cuva tacke u istom obliku.\n"
               "\n"
               "Datoteke:\n"
               "  omotac-tacke-N.txt  tacke sacuvane tasterom S, u tekucem direktorijumu;\n"
               "                      N je prvi broj cija datoteka jos ne postoji\n"
               "  omotac-slika-N.svg  slika iz prozora sacuvana tasterom X, na isti nacin\n"
               "\n"
               "Izlazni status:\n"
               "  0  prozor je zatvoren (Q), ili su ispisani --help ili --version\n"
               "  1  broj tacaka nije unet, ispis nije uspeo ili prozor nije otvoren\n"
               "  2  pogresna opcija ili greska u datoteci sa tackama\n"
               "\n"
               "Primeri:\n"
               "  $ omotac\n"
               "  $ printf '100\\n' | omotac --seed 2024\n"
               "  $ omotac --points tacke.txt\n"
               "  $ printf '0 0\\n10,0\\n10 10\\n0 10\\n5 5\\n' | omotac --points -\n",
               out);
    return std::fflush(out) == 0 && !std::ferror(out);
}

bool printVersion(std::FILE* out)
{
    std::fputs("omotac " OMOTAC_VERSION "\n", out);
    return std::fflush(out) == 0 && !std::ferror(out);
}

int runConsoleFor(const Options& opts, std::uint32_t seed, std::FILE* in, std::FILE* out, std::FILE* err,
                  ConsoleRun& run)
{
    const int status = opts.pointsFile ? runPointsFile(opts.pointsFile->c_str(), in, out, err, run)
                                       : runConsole(in, out, err, seed, run, opts.distribution.value_or(Distribution::Uniform));
    if (status != 0 || !opts.compare) return status;
    return printMethodComparison(out, err, run);
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
    source.method = opts.method.value_or(HullMethod::Farthest);
    return source;
}
