// The other methods' words: captions, numbered lines and questions, built
// from their traces. Coordinates are written as the captions always write
// them, so a question names the point the picture rings.

#include "method_text.hpp"

#include <algorithm>
#include <iterator>

#include "captions.hpp"

namespace {

const Point& at(const std::vector<Point>& points, std::int32_t i) { return points[std::size_t(i)]; }

// Orientation tests up to step `step`, the sort's included.
std::int64_t testsUpTo(const JarvisTrace& t, std::int32_t step)
{
    std::int64_t total = 0;
    for (std::int32_t k = 0; k <= std::min(step, std::int32_t(t.steps.size()) - 1); ++k) total += t.steps[std::size_t(k)].tests;
    return total;
}

std::int64_t testsUpTo(const StackTrace& t, std::int32_t step)
{
    std::int64_t total = t.sortTests;
    for (std::int32_t k = 0; k <= std::min(step, std::int32_t(t.steps.size()) - 1); ++k) total += t.steps[std::size_t(k)].tests;
    return total;
}

std::string testsLine(std::int64_t step, std::int64_t total)
{
    return "Testova orijentacije: " + std::to_string(step) + ", ukupno " + std::to_string(total);
}

// The numbered lines with the marked ones and what they are about.
struct Marks {
    bool marked[10] = {};
    std::string about[10];
    void mark(int line, std::string what = {})
    {
        marked[line - 1] = true;
        about[line - 1] = std::move(what);
    }
};

template <std::size_t N>
void numbered(const char* title, const char* const (&method)[N], const Marks& m, std::vector<std::string>& lines)
{
    lines.assign(1, title);
    for (std::size_t i = 0; i < N; ++i) {
        lines.push_back((m.marked[i] ? "> " : "   ") + std::string(method[i]));
        if (m.marked[i] && !m.about[i].empty()) lines.push_back("      " + m.about[i]);
    }
}

// The methods, a step of each a line, short enough for the panel.
constexpr const char* Wrap[] = {
    "1. Pocni od najnize tacke (od vise: najleve).",
    "2. Na temenu p: kandidat q je sama tacka p.",
    "3. Svaka tacka r desno od p-q postaje q.",
    "4. r na pravoj p-q, dalje od p: r postaje q.",
    "5. Posle svih tacaka: q je teme, p-q ivica.",
    "6. Predji na q i ponovi od 2.",
    "7. Opet na pocetku: omotac je gotov.",
};

constexpr const char* Graham[] = {
    "1. Pivot: najniza tacka (od vise: najleva).",
    "2. Ostale po uglu oko pivota (blize prvo).",
    "3. Na stek: pivot i prva tacka.",
    "4. Uzmi sledecu tacku c.",
    "5. Dok dve gornje i c ne skrecu levo: skini vrh.",
    "6. Stavi c na stek.",
    "7. Sve tacke uzete: na steku je omotac.",
};

constexpr const char* Chain[] = {
    "1. Poredjaj tacke po x, pa po y.",
    "2. Donji lanac: sleva nadesno.",
    "3. Uzmi sledecu tacku c.",
    "4. Dok dve gornje i c ne skrecu levo: skini vrh.",
    "5. Stavi c na stek.",
    "6. Gornji lanac: zdesna nalevo, iznad donjeg.",
    "7. Opet na prvoj tacki: na steku je omotac.",
};

// The finished hull's lines: the corners, and all the work for the input.
void finishedLines(std::int32_t corners, std::int64_t tests, std::int64_t comparisons, std::size_t n,
                   std::vector<std::string>& lines)
{
    lines.push_back("Temena omotaca: " + std::to_string(corners));
    lines.push_back("Ukupno testova orijentacije: " + std::to_string(tests)
                    + (comparisons > 0 ? ", poredjenja: " + std::to_string(comparisons) : std::string())
                    + " za " + pointsAccusative(std::int64_t(n)));
}

} // namespace

void jarvisCaption(const JarvisTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const auto count = std::int32_t(t.steps.size());
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(count));
    if (count == 0) return;
    if (step >= count) {
        const MethodCounts c = countsOf(t);
        finishedLines(c.corners, c.orientationTests, 0, t.points.size(), lines);
        return;
    }
    if (step == 0) {
        lines.push_back("Pocetak: najniza tacka " + xy(at(t.points, t.start)));
        return;
    }
    const JarvisStep& s = t.steps[std::size_t(step)];
    const bool back = at(t.points, s.to).x == at(t.points, t.start).x && at(t.points, s.to).y == at(t.points, t.start).y;
    lines.push_back("Sa temena " + xy(at(t.points, s.from)) + (back ? " omotac se vraca na pocetak " : " sledece teme je ")
                    + xy(at(t.points, s.to)));
    lines.push_back(testsLine(s.tests, testsUpTo(t, step)));
}

void stackCaption(const StackTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const auto count = std::int32_t(t.steps.size());
    const bool graham = t.method == HullMethod::Graham;
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(count));
    if (count == 0) return;
    if (step >= count) {
        const MethodCounts c = countsOf(t);
        finishedLines(c.corners, c.orientationTests, c.comparisons, t.points.size(), lines);
        return;
    }
    const StackStep& s = t.steps[std::size_t(step)];
    if (step == 0) {
        lines.push_back(graham ? "Pivot " + xy(at(t.points, t.pivot)) + "; ostale tacke poredjane po uglu oko njega"
                               : "Tacke poredjane po x, pa po y");
        lines.push_back("Poredjenje: testova orijentacije " + std::to_string(t.sortTests) + ", poredjenja "
                        + std::to_string(t.sortComparisons));
        lines.push_back("Na steku: " + std::to_string(s.depth));
        return;
    }
    if (!graham) lines.push_back(s.upper ? "Gornji lanac" : "Donji lanac");
    const std::int32_t under = pushedOn(t, step);
    lines.push_back("Tacka " + xy(at(t.points, s.point)) + " ide na stek"
                    + (under >= 0 ? ", na " + xy(at(t.points, under)) : std::string())
                    + "; skinuto: " + std::to_string(s.popped));
    lines.push_back("Na steku: " + std::to_string(s.depth));
    lines.push_back(testsLine(s.tests, testsUpTo(t, step)));
}

void jarvisLines(const JarvisTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines)
{
    Marks m;
    const auto count = std::int32_t(t.steps.size());
    if (count > 0 && step >= count) {
        m.mark(7);
    } else if (step == 0 && count > 0) {
        m.mark(1, "p = " + xy(at(t.points, t.start)));
    } else if (step > 0) {
        const JarvisStep& s = t.steps[std::size_t(step)];
        m.mark(2, "p = " + xy(at(t.points, s.from)));
        m.mark(3);
        m.mark(4);
        if (!asking) {
            const bool back = s.to == t.start || (at(t.points, s.to).x == at(t.points, t.start).x
                                                  && at(t.points, s.to).y == at(t.points, t.start).y);
            m.mark(5, "q = " + xy(at(t.points, s.to)));
            m.mark(back ? 7 : 6);
        }
    }
    numbered("Metod umotavanja (A: sakrij)", Wrap, m, lines);
}

void stackLines(const StackTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines)
{
    Marks m;
    const bool graham = t.method == HullMethod::Graham;
    const auto count = std::int32_t(t.steps.size());
    if (count > 0 && step >= count) {
        m.mark(7);
    } else if (step == 0 && count > 0) {
        if (graham) {
            m.mark(1, "pivot = " + xy(at(t.points, t.pivot)));
            m.mark(2);
            m.mark(3);
        } else {
            m.mark(1);
        }
    } else if (step > 0) {
        const StackStep& s = t.steps[std::size_t(step)];
        // The lines' numbers: Graham's take, pop and push are 4, 5, 6; the chain's 3, 4, 5.
        const int take = graham ? 4 : 3;
        if (!graham) m.mark(s.upper ? 6 : 2);
        m.mark(take, "c = " + xy(at(t.points, s.point)));
        if (asking) {
            m.mark(take + 1);
        } else {
            if (s.popped > 0) m.mark(take + 1, "skinuto: " + std::to_string(s.popped));
            const std::int32_t under = pushedOn(t, step);
            m.mark(take + 2, under >= 0 ? "ispod c: " + xy(at(t.points, under)) : std::string());
        }
    }
    numbered(graham ? "Grahamov obilazak (A: sakrij)" : "Monotoni lanac (A: sakrij)", graham ? Graham : Chain, m, lines);
}

std::int32_t jarvisAnswer(const JarvisTrace& t, std::int32_t step)
{
    if (step < 1 || step >= std::int32_t(t.steps.size())) return -1;
    return t.steps[std::size_t(step)].to;
}

std::int32_t stackAnswer(const StackTrace& t, std::int32_t step)
{
    if (step < 1 || step >= std::int32_t(t.steps.size())) return -1;
    return pushedOn(t, step);
}

std::string jarvisQuestion(const JarvisTrace& t, std::int32_t step)
{
    return "Koja tacka je sledece teme posle " + xy(at(t.points, t.steps[std::size_t(step)].from)) + "? Kliknite je.";
}

std::string stackQuestion(const StackTrace& t, std::int32_t step)
{
    return "Koja tacka ce biti na vrhu steka kad " + xy(at(t.points, t.steps[std::size_t(step)].point))
         + " dodje na stek? Kliknite je.";
}

void comparisonLines(const std::vector<MethodCounts>& counts, const std::vector<bool>& agree,
                     std::vector<std::string>& lines)
{
    lines.assign(1, "Poredjenje metoda (U: sakrij):");
    std::string differ;
    for (std::size_t k = 0; k < counts.size() && k < std::size(HullMethods); ++k) {
        lines.push_back(countsLine(HullMethods[k].method, counts[k]));
        if (!agree[k]) differ += std::string(differ.empty() ? "" : ", ") + HullMethods[k].name;
    }
    lines.push_back(differ.empty() ? "Sva cetiri metoda daju isti omotac." : "Ne slazu se: " + differ);
}
