// Qhull (libqhull_r) as a peer of the benchmark.

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <cstdio>

#include "peers.hpp"

namespace bench {
namespace {

// libqhull_r keeps all of its state in one qhT. That record and its pool of
// small blocks survive from run to run (qh_freeqhull without qh_ALL releases
// only the long blocks), and the coordinates are handed over without a copy
// (ismalloc False: qhull neither frees nor copies them).
class QhullPeer final : public Peer {
public:
    QhullPeer() { qh_zero(&qh_, stderr); }

    ~QhullPeer() override
    {
        qh_freeqhull(&qh_, !qh_ALL);
        int curlong = 0, totlong = 0;
        qh_memfreeshort(&qh_, &curlong, &totlong);
    }

    QhullPeer(const QhullPeer&) = delete;
    QhullPeer& operator=(const QhullPeer&) = delete;

    void load(const Point* points, std::int32_t n) override
    {
        coordinates_.clear();
        for (std::int32_t i = 0; i < n; ++i) {
            coordinates_.push_back(double(points[i].x));
            coordinates_.push_back(double(points[i].y));
        }
        out_.assign(std::size_t(n) + 1, Vertex{});
        count_ = 0;
    }

    std::size_t run() override
    {
        qhT* qh = &qh_;
        count_ = 0;
        const int status = qh_new_qhull(qh, 2, int(coordinates_.size() / 2), coordinates_.data(), False,
                                        command_, nullptr, stderr);
        if (status == 0) {
            vertexT* vertex = nullptr;
            FORALLvertices out_[count_++] = {vertex->point[0], vertex->point[1]};
        }
        qh_freeqhull(qh, !qh_ALL);
        return count_;
    }

    std::vector<Vertex> vertices() const override
    {
        return {out_.begin(), out_.begin() + std::ptrdiff_t(count_)};
    }

    bool allocationsVisible() const override { return false; }

private:
    qhT qh_{};
    char command_[8] = "qhull";
    std::vector<coordT> coordinates_;
    std::vector<Vertex> out_;
    std::size_t count_ = 0;
};

} // namespace

void addQhullPeers(std::vector<PeerKind>& peers)
{
    peers.push_back({"qhull", [] { return std::unique_ptr<Peer>(std::make_unique<QhullPeer>()); }});
}

} // namespace bench
