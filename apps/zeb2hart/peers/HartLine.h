#pragma once
// The HART line between the gateway and its child as the simulated parent's
// wire timing sees it: the preamble count of each HART frame. It follows the
// log of the gateway's calls on the child (the session's child log, which the
// scripted and the simulated child both fill): the connect response's
// preambleCount when it is not 0, then the count a command 59 the gateway
// accepted wrote. The gateway answers command 59 itself, so the parent never
// sees it. Used on the session's thread by the simulated parent.

#include <cstddef>
#include <optional>
#include <vector>

#include "peers/PeerDocuments.h"
#include "FakePeers.h"

namespace zeb2hart::frame {

class HartLine {
public:
    HartLine(const std::vector<fakes::PeerCall>& childCalls, const PeerDocuments& documents)
        : m_childCalls(childCalls), m_documents(documents)
    {
    }

    // The preambles of each frame now: the last count the child was given or wrote, else `modelDefault`.
    int preambles(int modelDefault);

private:
    void catchUp();

    const std::vector<fakes::PeerCall>& m_childCalls;
    const PeerDocuments& m_documents;
    std::size_t m_seen = 0;
    std::optional<int> m_preambles;
};

} // namespace zeb2hart::frame
