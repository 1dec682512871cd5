// The window's text, built from the steps of the hull and the session: every
// line the window shows over or beside the picture comes from here.

#include "captions.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "points_file.hpp"
#include "run_viewer.hpp"

namespace {

// The method, one step of it a line.
constexpr const char* Method[] = {
    "1. Nadji L i R, krajnju levu i desnu tacku.",
    "2. Podeli tacke na one iznad i ispod prave L-R.",
    "3. Uzmi sledecu ivicu a-b koja ceka na red.",
    "4. Iza a-b nema tacaka: a-b je ivica omotaca.",
    "5. Nadji tacku c najdalju iza ivice a-b.",
    "6. c je teme omotaca.",
    "7. Tacke u trouglu a, c, b su iskljucene.",
    "8. Ivice a-c i c-b cekaju na red (prvo a-c).",
    "9. Ponavljaj od 3 dok neka ivica ceka.",
    "10. Nijedna ivica ne ceka: omotac je gotov.",
};
constexpr int MethodLines = int(std::size(Method));

// A distance as the caption shows it: one decimal, never a sign.
std::string distance(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::abs(v) + 0.0);
    return text;
}

// Where the vertices of steps `from` and `to` stand in the finished outline:
// neighbours there have nothing beyond the edge between them.
bool hullEdge(const HullTrace& t, std::int32_t from, std::int32_t to)
{
    const auto count = std::int32_t(t.outline.size());
    std::int32_t rf = 0, rt = 0;
    for (std::int32_t r = 0; r < count; ++r) {
        if (t.outline[std::size_t(r)] == from) rf = r;
        if (t.outline[std::size_t(r)] == to) rt = r;
    }
    return (rt - rf + count) % count == 1;
}

std::string edge(const Point& a, const Point& b) { return xy(a) + " - " + xy(b); }

} // namespace

std::string xy(const Point& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)", double(p.x), double(p.y));
    return text;
}

std::string pointsAccusative(std::int64_t n)
{
    const std::int64_t last = n % 10, lastTwo = n % 100;
    const char* word = last == 1 && lastTwo != 11                       ? " tacku"
                     : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? " tacke"
                                                                          : " tacaka";
    return std::to_string(n) + word;
}

void stepCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const std::int32_t count = stepCount(t);
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(count));
    // The work so far: every point each step examined, summed. A hull of one
    // point is finished by the step that finds it, so the steps recorded may
    // reach the finished hull.
    std::int64_t total = 0;
    const auto recorded = std::int32_t(t.steps.size());
    for (std::int32_t k = 0; k <= std::min(step, recorded - 1); ++k) total += t.steps[std::size_t(k)].examined;
    if (step >= count) {
        lines.push_back("Temena omotaca: " + std::to_string(count));
        lines.push_back("Ukupno ispitano: " + std::to_string(total) + " za " + pointsAccusative(std::int64_t(t.points.size())));
    } else if (step == 0) {
        lines.push_back("Ulazne tacke: " + std::to_string(t.points.size()));
    } else if (step == 1) {
        lines.push_back("Krajnje tacke: L " + xy(vertex(t, 0)) + ", R " + xy(vertex(t, 1)));
    } else {
        const HullStep& s = t.steps[std::size_t(step)];
        lines.push_back("Najdalja tacka od ivice " + edge(vertex(t, s.edgeFrom), vertex(t, s.edgeTo)) + ": "
                        + xy(vertex(t, step)));
        lines.push_back("Neodlucene tacke: " + std::to_string(s.undecided));
    }
    if (step >= 1 && step < count) {
        const HullStep& s = t.steps[std::size_t(step)];
        lines.push_back("Ispitano tacaka: " + std::to_string(s.examined) + ", ukupno " + std::to_string(total)
                        + "; iskljuceno: " + std::to_string(s.ruledEnd - t.steps[std::size_t(step - 1)].ruledEnd));
    }
    if (step + 1 < count && t.steps[std::size_t(step + 1)].edgeFrom >= 0) {
        const HullStep& next = t.steps[std::size_t(step + 1)];
        lines.push_back("Sledeca ivica: " + edge(vertex(t, next.edgeFrom), vertex(t, next.edgeTo)));
    }
}

void questionCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const HullStep& s = t.steps[std::size_t(step)];
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(stepCount(t)));
    lines.push_back("Koja tacka je najdalja iza ivice " + edge(vertex(t, s.edgeFrom), vertex(t, s.edgeTo))
                    + "? Kliknite je.");
}

void guessLines(const SessionRecord& s, std::vector<std::string>& lines)
{
    const GuessState& g = s.guess;
    if (s.mode != Mode::Guess) return;
    if (g.question < 0 && g.answered >= 0 && g.answered == s.steps.step && s.method != HullMethod::Farthest) {
        const Point& answer = s.points[std::size_t(g.answer)];
        lines.push_back(g.right ? "Tacno!"
                        : (s.method == HullMethod::Jarvis ? "Netacno: sledece teme je " : "Netacno: na vrhu steka je ")
                              + xy(answer));
    } else if (g.question < 0 && g.answered >= 0 && g.answered == s.steps.step) {
        const HullTrace& t = s.trace;
        const Point& far = vertex(t, g.answered);
        const HullStep& st = t.steps[std::size_t(g.answered)];
        if (g.right)
            lines.push_back("Tacno!");
        else if (g.beyond)
            lines.push_back("Netacno: " + xy(t.points[std::size_t(g.clicked)]) + " je na udaljenosti "
                            + distance(g.clickedDistance) + ", najdalja " + xy(far) + " na " + distance(g.farDistance));
        else
            lines.push_back("Netacno: ta tacka nije iza ivice " + edge(vertex(t, st.edgeFrom), vertex(t, st.edgeTo))
                            + "; najdalja je " + xy(far) + " na " + distance(g.farDistance));
    }
    lines.push_back("Pogodjeno: " + std::to_string(g.hits) + " od " + std::to_string(g.asked));
}

void methodLines(const HullTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines)
{
    // Per line: marked, and what it is about at this step.
    bool marked[MethodLines] = {};
    std::string about[MethodLines];
    const std::int32_t count = stepCount(t);
    if (asking) {
        const HullStep& s = t.steps[std::size_t(step)];
        marked[2] = marked[4] = true;
        about[2] = "a-b: " + edge(vertex(t, s.edgeFrom), vertex(t, s.edgeTo));
    } else if (step >= count) {
        marked[9] = true;
    } else if (step == 1) {
        marked[0] = marked[1] = true;
        about[0] = "L = " + xy(vertex(t, 0)) + ", R = " + xy(vertex(t, 1));
    } else if (step >= 2) {
        const HullStep& s = t.steps[std::size_t(step)];
        const Point &a = vertex(t, s.edgeFrom), &b = vertex(t, s.edgeTo), &c = vertex(t, step);
        marked[2] = marked[4] = marked[5] = marked[6] = marked[7] = true;
        about[2] = "a-b: " + edge(a, b);
        about[4] = "c = " + xy(c);
        // Line 4 is about the new edges, not the edge split: each one with
        // nothing beyond it is final.
        const bool first = hullEdge(t, s.edgeFrom, step), second = hullEdge(t, step, s.edgeTo);
        marked[3] = first || second;
        if (first && second) about[3] = "ovde a-c i c-b: obe su ivice omotaca";
        else if (first) about[3] = "ovde a-c: " + edge(a, c);
        else if (second) about[3] = "ovde c-b: " + edge(c, b);
    }
    lines.assign(1, "Metod najdalje tacke (A: sakrij)");
    for (int i = 0; i < MethodLines; ++i) {
        lines.push_back((marked[i] ? "> " : "   ") + std::string(Method[i]));
        if (marked[i] && !about[i].empty()) lines.push_back("      " + about[i]);
    }
}

namespace {

// The marks of the picture, for the help: each by its colour and its shape.
constexpr const char* MarkLegend[] = {
    "Oznake na slici:",
    "  crne tacke: temena; plave: neodlucene; bele sa sivim rubom: iskljucene",
    "  tanka crvena linija: ivica omotaca; ljubicasta isprekidana: ivica koja ceka",
    "  siroka narandzasta sa sivim rubom: ivica koja se deli i njen trougao",
    "  pun krug: novo teme (narandzast) i tacan odgovor (zelen); krug od crtica: netacan odgovor",
};

} // namespace

void helpLines(const RunSource& source, std::vector<std::string>& lines)
{
    lines.assign(std::begin(ControlHelp), std::end(ControlHelp));
    lines.insert(lines.end(), std::begin(MarkLegend), std::end(MarkLegend));
    // After an edit the seed or the file only says where the set began.
    std::string from;
    if (source.seed)
        from = "seme: " + std::to_string(*source.seed) + (source.distribution.empty() ? "" : ", raspored: " + source.distribution);
    else if (!source.pointsFile.empty())
        from = "tacke iz datoteke: " + (source.pointsFile == "-" ? "standardni ulaz" : asciiName(source.pointsFile));
    if (source.edited)
        lines.push_back("Tacke su izmenjene u prozoru" + (from.empty() ? std::string() : " (na pocetku " + from + ")"));
    else if (!from.empty())
        lines.push_back(std::string(1, char(from[0] - 'a' + 'A')) + from.substr(1));
}

void editLines(const SessionRecord& s, std::vector<std::string>& lines)
{
    char millis[32];
    // "%.3f": clock() counts microseconds, so no figure past the third decimal means anything.
    std::snprintf(millis, sizeof millis, "%.3f", s.result.millis());
    lines.assign(1, "Uredjivanje tacaka");
    lines.push_back("Tacke: " + std::to_string(s.points.size()) + "  Temena: " + std::to_string(vertexCount(s))
                    + "  Vreme: " + millis + " ms");
}
