#pragma once

// The window's keys and mouse controls, one line each, as the help text in the
// window and the command line's usage text show them.
inline constexpr const char* ControlHelp[] = {
    "Strelice desno/levo ili N/P: korak napred/nazad",
    "Razmak: pusti/zaustavi",
    "Home/End: pocetak/kraj",
    "R: pocetni pogled",
    "H ili F1: pomoc",
    "Esc ili Q: izlaz",
    "Levi taster: pomeranje, desni: rotacija, srednji: uvecanje",
};
