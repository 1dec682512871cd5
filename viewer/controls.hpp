#pragma once

// The window's keys and mouse controls, one line each, as the help text in the
// window and the command line's usage text show them.
inline constexpr const char* ControlHelp[] = {
    "Strelice desno/levo ili N/P: korak napred/nazad",
    "Razmak: pusti/zaustavi",
    "Home/End: pocetak/kraj",
    "R: pocetni pogled (na sve tacke)",
    "H ili F1: pomoc",
    "Esc ili Q: izlaz",
    "Levi taster: pomeranje, desni: rotacija, srednji: uvecanje",
    "E: uredjivanje tacaka (ukljuci/iskljuci)",
    "  levi klik na prazno mesto: nova tacka; levo prevlacenje tacke: pomera je",
    "  desni klik na tacku: uklanja je; prevlacenje van tacaka: kao i inace",
    "S: sacuvaj tacke u omotac-tacke-N.txt",
    "X: sacuvaj sliku u omotac-slika-N.svg",
};
