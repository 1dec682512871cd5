// Boost.Geometry's convex_hull as a peer of the benchmark.

#include <boost/geometry/algorithms/convex_hull.hpp>
#include <boost/geometry/strategies/strategies.hpp>
#include <boost/geometry/geometries/multi_point.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/ring.hpp>

#include "peers.hpp"

namespace bench {
namespace {

namespace bg = boost::geometry;
using Point2 = bg::model::d2::point_xy<double>;
// An open ring: the hull comes out without the repeated first vertex.
using Ring = bg::model::ring<Point2, true, false>;

// boost::geometry::convex_hull appends to the output geometry, so the ring is
// cleared before each run; clearing keeps its capacity from the run before.
class BoostPeer final : public Peer {
public:
    void load(const Point* points, std::int32_t n) override
    {
        in_.clear();
        for (std::int32_t i = 0; i < n; ++i) in_.emplace_back(double(points[i].x), double(points[i].y));
        out_.clear();
        out_.reserve(in_.size() + 1);
    }

    std::size_t run() override
    {
        out_.clear();
        bg::convex_hull(in_, out_);
        return out_.size();
    }

    std::vector<Vertex> vertices() const override
    {
        std::vector<Vertex> v;
        for (const Point2& p : out_) v.push_back({p.x(), p.y()});
        return v;
    }

private:
    bg::model::multi_point<Point2> in_;
    Ring out_;
};

} // namespace

void addBoostPeers(std::vector<PeerKind>& peers)
{
    peers.push_back({"boost_geometry", [] { return std::unique_ptr<Peer>(std::make_unique<BoostPeer>()); }});
}

} // namespace bench
