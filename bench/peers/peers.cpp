// The list of the peer hull libraries this build has.

#include "peers.hpp"

namespace bench {

std::vector<PeerKind> availablePeers()
{
    std::vector<PeerKind> peers;
#ifdef OMOTAC_PEER_CGAL
    addCgalPeers(peers);
#endif
#ifdef OMOTAC_PEER_BOOST
    addBoostPeers(peers);
#endif
#ifdef OMOTAC_PEER_QHULL
    addQhullPeers(peers);
#endif
    return peers;
}

} // namespace bench
