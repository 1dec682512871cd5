#pragma once

// What the console run needs of the window: the one call that hands the run
// over, and the controls its usage text lists.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "methods.hpp"
#include "point.hpp"
#include "timing.hpp"

// Where a run's points came from, for the window's help: the generator's seed,
// or a points file ("-" for standard input).
struct RunSource {
    std::optional<std::uint32_t> seed;
    std::string pointsFile;
    std::string distribution; // how random points were drawn, where not the uniform square
    HullMethod method = HullMethod::Farthest; // whose steps the window shows
    bool edited = false; // changed in the window since: the seed or the file no longer gives the set
};

// Hands the finished console run to the window and shows it until the user
// closes it: points and the result of computeHull on them, with found the
// vertices in the order computeHull found them. The Scene is filled from them
// (inputs blue, vertices black, then the closed outline red) and the window
// opens on it. argc and argv go to the toolkit. Each platform file has its own.
void showRun(const RunSource& source, std::span<const Point> points, const HullResult& result,
             std::span<const Point> found, int argc, char** argv);

// The window's keys and mouse controls, one line each, as the help text in the
// window and the command line's usage text show them.
inline constexpr const char* ControlHelp[] = {
    "Strelice desno/levo ili N/P: korak napred/nazad",
    "Razmak: pusti/zaustavi",
    "- i +: sporije i brze pustanje (cetiri brzine)",
    "Home/End: pocetak/kraj",
    "R: pocetni pogled (na sve tacke)",
    "H ili F1: pomoc",
    "Esc: zatvara pitanje, pomoc ili metod",
    "Q: izlaz (uz nesacuvane izmene pita jos jednom)",
    "Levi taster: pomeranje, desni: rotacija, srednji: uvecanje",
    "Tocak misa: uvecanje (napred) i umanjenje (nazad)",
    "M: metod koraka: najdalja, jarvis, graham, andrew (redom)",
    "U: poredjenje cetiri metoda na ovim tackama (prikazi/sakrij)",
    "A: metod pored slike, sa oznacenim redovima koraka (prikazi/sakrij)",
    "G: pogadjanje: pre svakog koraka kliknite tacku koju korak bira (ukljuci/iskljuci)",
    "E: uredjivanje tacaka (ukljuci/iskljuci)",
    "  levi klik na prazno mesto: nova tacka; levo prevlacenje tacke: pomera je",
    "  desni klik na tacku: uklanja je; prevlacenje van tacaka: kao i inace",
    "S: sacuvaj tacke u omotac-tacke-N.txt",
    "X: sacuvaj sliku u omotac-slika-N.svg",
    "V: velika slika i tekst, za projektor (ukljuci/iskljuci)",
};
