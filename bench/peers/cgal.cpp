// CGAL's 2-d hull functions as peers of the benchmark.

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Simple_cartesian.h>
#include <CGAL/ch_akl_toussaint.h>
#include <CGAL/ch_bykat.h>
#include <CGAL/ch_graham_andrew.h>

#include "peers.hpp"

namespace bench {
namespace {

enum class Algorithm { Bykat, AklToussaint, GrahamAndrew };

// CGAL's 2-d hull functions take an input range and an output iterator; a
// pointer into storage sized once for the largest answer keeps the output
// side free of allocation, so what remains is the algorithm's own work.
template <class Kernel, Algorithm A>
class CgalPeer final : public Peer {
public:
    using Point2 = typename Kernel::Point_2;

    void load(const Point* points, std::int32_t n) override
    {
        in_.clear();
        for (std::int32_t i = 0; i < n; ++i) in_.emplace_back(double(points[i].x), double(points[i].y));
        out_.assign(in_.size() + 1, Point2());
        count_ = 0;
    }

    std::size_t run() override
    {
        Point2* first = out_.data();
        Point2* last = first;
        if constexpr (A == Algorithm::Bykat)
            last = CGAL::ch_bykat(in_.begin(), in_.end(), first);
        else if constexpr (A == Algorithm::AklToussaint)
            last = CGAL::ch_akl_toussaint(in_.begin(), in_.end(), first);
        else
            last = CGAL::ch_graham_andrew(in_.begin(), in_.end(), first);
        count_ = std::size_t(last - first);
        return count_;
    }

    std::vector<Vertex> vertices() const override
    {
        std::vector<Vertex> v;
        for (std::size_t i = 0; i < count_; ++i)
            v.push_back({CGAL::to_double(out_[i].x()), CGAL::to_double(out_[i].y())});
        return v;
    }

private:
    std::vector<Point2> in_;
    std::vector<Point2> out_;
    std::size_t count_ = 0;
};

template <class Kernel, Algorithm A>
std::unique_ptr<Peer> make()
{
    return std::make_unique<CgalPeer<Kernel, A>>();
}

using Filtered = CGAL::Exact_predicates_inexact_constructions_kernel;
using Cartesian = CGAL::Simple_cartesian<double>;

} // namespace

void addCgalPeers(std::vector<PeerKind>& peers)
{
    peers.push_back({"cgal_bykat", make<Filtered, Algorithm::Bykat>});
    peers.push_back({"cgal_akl_toussaint", make<Filtered, Algorithm::AklToussaint>});
    peers.push_back({"cgal_graham_andrew", make<Filtered, Algorithm::GrahamAndrew>});
    peers.push_back({"cgal_bykat_cartesian", make<Cartesian, Algorithm::Bykat>});
    peers.push_back({"cgal_akl_toussaint_cartesian", make<Cartesian, Algorithm::AklToussaint>});
    peers.push_back({"cgal_graham_andrew_cartesian", make<Cartesian, Algorithm::GrahamAndrew>});
}

} // namespace bench
