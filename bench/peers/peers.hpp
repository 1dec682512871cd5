#pragma once

// Other hull libraries, each driven the fastest way its documentation allows,
// for the benchmark to race and the tests to check the kernel against.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "point.hpp"

namespace bench {

using Vertex = std::array<double, 2>;

class Peer {
public:
    virtual ~Peer() = default;
    // Converts the points to the library's own type; never timed.
    virtual void load(const Point* points, std::int32_t n) = 0;
    // One whole hull computation over the loaded points; returns the vertex count.
    virtual std::size_t run() = 0;
    // The vertices of the last run, each once.
    virtual std::vector<Vertex> vertices() const = 0;
    // False when the library allocates inside a shared library whose calls the
    // benchmark's counter cannot see.
    virtual bool allocationsVisible() const { return true; }
};

struct PeerKind {
    std::string name;
    std::unique_ptr<Peer> (*make)();
};

// The peers whose packages were installed when the tree was configured.
std::vector<PeerKind> availablePeers();

void addCgalPeers(std::vector<PeerKind>& peers);
void addBoostPeers(std::vector<PeerKind>& peers);
void addQhullPeers(std::vector<PeerKind>& peers);

} // namespace bench
