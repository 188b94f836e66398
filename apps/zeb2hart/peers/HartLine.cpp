#include "peers/HartLine.h"

#include "fdt/Errors.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"

namespace zeb2hart::frame {

namespace {
constexpr int kWritePreamblesCommand = 59;
} // namespace

int HartLine::preambles(int modelDefault)
{
    catchUp();
    return m_preambles.value_or(modelDefault);
}

void HartLine::catchUp()
{
    for (; m_seen < m_childCalls.size(); ++m_seen) {
        const fakes::PeerCall& call = m_childCalls[m_seen];
        if (call.operation == "OnConnectResponse") {
            // A new connection starts from the connect response's count (0: the device's own).
            const long count = m_documents.number(call.document, xml::paths::kConnectResponse, "preambleCount", 0);
            m_preambles = count > 0 && count <= 255 ? std::optional<int>(static_cast<int>(count)) : std::nullopt;
            continue;
        }
        if (call.operation != "OnTransactionResponse" ||
            m_documents.number(call.document, xml::paths::kResponse, "commandNumber", -1) != kWritePreamblesCommand ||
            m_documents.number(call.document, xml::paths::kCommandResponse, "value", -1) != 0)
            continue;
        // The gateway's answer to command 59 carries the count the child wrote.
        const std::string data =
            m_documents.attribute(call.document, xml::paths::kResponseData, "byteArray").value_or("");
        try {
            const auto bytes = support::HexToByteArray(data);
            if (!bytes.empty() && bytes[0] > 0)
                m_preambles = bytes[0];
        } catch (const fdt::Error&) {
            // Data that is not hexadecimal carries no count: the line keeps the one it had.
        }
    }
}

} // namespace zeb2hart::frame
