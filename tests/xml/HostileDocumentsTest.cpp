// Hostile documents from the child, the parent and the frame: external
// entities to a local file and to a network address (never read, never
// fetched), an entity expansion bomb, a 10 MB attribute, 10,000 levels of
// nesting, invalid UTF-8 and documents in other encodings. Each is a document
// that does not load: the reads find nothing, in bounded time and memory, and
// a connected gateway goes on serving the next valid request.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/DTMMain.h"
#include "fakes/FdtPeers.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/Errors.h"
#include "fdt/SilentFrame.h"
#include "support/Monitor.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

using namespace std::chrono_literals;

const std::string kHartHead = "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
                              "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
const std::string kZebHead = "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" "
                             "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
const char* const kSecret = "SECRET-FROM-A-LOCAL-FILE";

std::string hartRequest(const std::string& data, const std::string& reference = "REF-1")
{
    return kHartHead + "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"" + reference +
           "\"><fdt:CommunicationData byteArray=\"" + data + "\"/></DataExchangeRequest></FDT>";
}

std::string zebAnswer(const std::string& data)
{
    return kZebHead + "<DataExchangeResponse Status=\"0\" CommunicationReference=\"REF-1\"><CommunicationHeader "
                      "MessageType=\"5\" ObjectType=\"2\" NoOfBytes=\"" +
           std::to_string(4 + data.size() / 2) + "\" SubNo=\"3\" ObjectNo=\"258\" CommunicationData=\"" + data +
           "\"/></DataExchangeResponse></FDT>";
}

// A local file whose content shows whether anyone read it: a named pipe holding
// the secret, kept open at both ends by the test. Reading it takes the secret out.
class Bait {
public:
    Bait()
    {
        m_pipe = m_folder.path() / "secret";
        if (::mkfifo(m_pipe.c_str(), 0600) == 0)
            m_fd = ::open(m_pipe.c_str(), O_RDWR | O_NONBLOCK);
        if (m_fd >= 0)
            (void)!::write(m_fd, kSecret, std::strlen(kSecret));
        // A server nobody should connect to.
        m_server = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_server >= 0 && ::bind(m_server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(m_server, 8) == 0 && ::getsockname(m_server, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~Bait()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_server >= 0)
            ::close(m_server);
    }
    Bait(const Bait&) = delete;
    Bait& operator=(const Bait&) = delete;

    bool ready() const { return m_fd >= 0 && m_port != 0; }
    std::string fileUrl() const { return "file://" + m_pipe.string(); }
    std::string networkUrl(const std::string& name) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/" + name;
    }
    // True when the secret is still all in the pipe.
    bool untouched()
    {
        char buffer[64] = {};
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        const bool whole = got == static_cast<ssize_t>(std::strlen(kSecret)) && std::string(buffer, got) == kSecret;
        if (got > 0)
            (void)!::write(m_fd, buffer, static_cast<std::size_t>(got));
        return whole;
    }
    bool connectedTo()
    {
        const int client = ::accept(m_server, nullptr, nullptr);
        if (client < 0)
            return false;
        ::close(client);
        return true;
    }

private:
    TempDir m_folder;
    fs::path m_pipe;
    int m_fd = -1;
    int m_server = -1;
    int m_port = 0;
};

struct Hostile {
    std::string name;
    std::string document;
};

// Each a command 128 request that would load but for its hostile part.
std::vector<Hostile> hostileDocuments(const Bait& bait)
{
    const auto request = [](const std::string& reference) {
        return "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"" + reference +
               "\"><fdt:CommunicationData byteArray=\"0102030000\"/></DataExchangeRequest></FDT>";
    };
    const std::string body = request("REF-1");
    const std::string open = "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
                             "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE FDT [<!ENTITY a0 \"lol\">";
    for (int level = 1; level <= 10; ++level) {
        bomb += "<!ENTITY a" + std::to_string(level) + " \"";
        for (int n = 0; n < 10; ++n)
            bomb += "&a" + std::to_string(level - 1) + ";";
        bomb += "\">";
    }
    bomb += "]>" + open + "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"&a10;\"/></FDT>";

    std::string nested = "<?xml version=\"1.0\"?>" + open;
    for (int level = 0; level < 10'000; ++level)
        nested += "<DataExchangeRequest>";
    for (int level = 0; level < 10'000; ++level)
        nested += "</DataExchangeRequest>";
    nested += "</FDT>";

    std::string utf16 = "\xFF\xFE";
    for (const char c : "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + open + body) {
        if (c == '\0')
            break;
        utf16 += c;
        utf16 += '\0';
    }

    return {
        {"external entity to a local file",
         "<?xml version=\"1.0\"?><!DOCTYPE FDT [<!ENTITY secret SYSTEM \"" + bait.fileUrl() + "\">]>" + open +
             request("&secret;")},
        {"external entity to a network address",
         "<?xml version=\"1.0\"?><!DOCTYPE FDT [<!ENTITY remote SYSTEM \"" + bait.networkUrl("entity") + "\">]>" +
             open + request("&remote;")},
        {"external document type on the network",
         "<?xml version=\"1.0\"?><!DOCTYPE FDT SYSTEM \"" + bait.networkUrl("fdt.dtd") + "\">" + open + body},
        {"parameter entity to a local file",
         "<?xml version=\"1.0\"?><!DOCTYPE FDT [<!ENTITY % p SYSTEM \"" + bait.fileUrl() + "\"> %p;]>" + open + body},
        {"entity expansion bomb", bomb},
        {"10 MB attribute", hartRequest(std::string(10'000'000, 'A'))},
        {"10,000 levels of nesting", nested},
        {"invalid UTF-8", "<?xml version=\"1.0\"?>" + open + request("\xC3\x28\xFF")},
        {"ISO-8859-1 as declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + open + request("R\xE9")},
        {"UTF-16 with a byte order mark", utf16},
        {"UTF-16 without a byte order mark", utf16.substr(2)},
    };
}

#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryBoundKiB = 256 * 1024;
#else
constexpr long kMemoryBoundKiB = 64 * 1024;
#endif

long peakResidentKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs `read`, which must end within a second.
template <class Read>
void bounded(const std::string& what, Read read)
{
    const auto start = std::chrono::steady_clock::now();
    read();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << what;
}

class HostileDocumentsTest : public SchemaFixture {
protected:
    Bait bait;
};

TEST_F(HostileDocumentsTest, EveryReadOfAPeersOrTheFramesDocumentFindsNothing)
{
    ASSERT_TRUE(bait.ready());
    const std::vector<Hostile> documents = hostileDocuments(bait);
    const long peakBefore = peakResidentKiB();
    XMLHelp without(componentDir());
    for (XMLHelp* reader : {&help, &without}) {
        for (const Hostile& hostile : documents) {
            SCOPED_TRACE(hostile.name + (reader == &help ? " with schemas" : " without schemas"));
            const std::string& text = hostile.document;
            // A peer's document: the reads that guard their element answer empty.
            bounded("attribute", [&] {
                EXPECT_EQ(reader->GetAttributeFromXML(text, "FDT/DataExchangeRequest", "communicationReference"), "");
            });
            bounded("error protocol", [&] { EXPECT_FALSE(reader->IsErrorProtocol(text)); });
            bounded("telegram", [&] { EXPECT_EQ(reader->ZEBToHARTCommunicationData(text), ""); });
            // The frame's documents: the reads that do not guard end with an error to their caller.
            bounded("device type", [&] { EXPECT_THROW(reader->CheckInitInformation(text), fdt::NotFoundError); });
            bounded("user level", [&] { EXPECT_THROW(reader->GetUserLevel(text), fdt::NotFoundError); });
            bounded("function", [&] { EXPECT_THROW(reader->GetProgId(text), fdt::NotFoundError); });
            bounded("delayed data", [&] {
                EXPECT_THROW(reader->ZEBToHARTCommunicationDataDelayed(text), fdt::NotFoundError);
            });
        }
    }
    // None of them is a failure of the parser call: no load-error box.
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(bait.untouched()) << "the local file was read";
    EXPECT_FALSE(bait.connectedTo()) << "the network address was fetched";
    // The bomb never expanded (3 GB) and the 10 MB text was not parsed: no more
    // than a few copies of the largest text were ever held at once (AddressSanitizer
    // keeps freed memory a while, so its builds are allowed more).
    EXPECT_LT(peakResidentKiB() - peakBefore, kMemoryBoundKiB);
}

TEST(Bait, TellsAReadAndAConnectionApart)
{
    Bait bait;
    ASSERT_TRUE(bait.ready());
    EXPECT_TRUE(bait.untouched());
    EXPECT_FALSE(bait.connectedTo());
    const std::string url = bait.fileUrl();
    const int reader = ::open(url.substr(std::strlen("file://")).c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 1);
    ::close(reader);
    EXPECT_FALSE(bait.untouched());

    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(std::stoi(bait.networkUrl("").substr(17))));
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(bait.connectedTo());
    ::close(client);
}

TEST_F(HostileDocumentsTest, TheSameDocumentsWithoutTheirHostilePartLoad)
{
    // So that the documents above fail for their hostile part alone.
    EXPECT_EQ(help.GetAttributeFromXML(hartRequest("0102030000"), "FDT/DataExchangeRequest", "communicationReference"),
              "REF-1");
    EXPECT_EQ(help.GetAttributeFromXML(hartRequest(std::string(1000, 'A')), "FDT/DataExchangeRequest/fdt:CommunicationData",
                                       "byteArray")
                  .size(),
              1000u);
    std::string nested = "<FDT>";
    for (int level = 0; level < 200; ++level)
        nested += "<A>";
    for (int level = 0; level < 200; ++level)
        nested += "</A>";
    EXPECT_TRUE(Parsed(nested + "</FDT>").loaded());
    // A UTF-8 byte order mark is no other encoding.
    EXPECT_EQ(help.GetAttributeFromXML("\xEF\xBB\xBF" + hartRequest("0102030000"), "FDT/DataExchangeRequest",
                                       "communicationReference"),
              "REF-1");
}

// --- through a connected gateway -------------------------------------------------------

class HostilePeerTest : public ::testing::Test {
protected:
    HostilePeerTest()
    {
        dtm->setMonitorObserver([this](const std::string& name, const std::string& message, std::int32_t color,
                                       std::int16_t) {
            if (color == support::color::Red)
                redLines.push_back(name + ": " + message);
        });
        EXPECT_TRUE(dtm->Environment("GW1", frame));
        EXPECT_TRUE(dtm->SetCommunication(parent));
        EXPECT_TRUE(dtm->ConnectRequest(child, "connect-1", "036D1498-387B-11D4-86E1-00E0987270B9",
                                        kHartHead + "<ConnectRequest fdt:tag=\"Child\"><ShortAddress "
                                                    "shortAddress=\"0\"/></ConnectRequest></FDT>"));
        dtm->OnConnectResponse("connect-1", kZebHead + "<ConnectResponse CommunicationReference=\"REF-1\" "
                                                       "fdt:tag=\"Parent\"/></FDT>");
        EXPECT_EQ(child->calls.size(), 1u);
        clear();
    }
    void clear()
    {
        parent->calls.clear();
        child->calls.clear();
        redLines.clear();
    }
    // One valid command 128 round trip, answered with `data`.
    void expectServed(const std::string& data)
    {
        clear();
        ASSERT_TRUE(dtm->TransactionRequest("child-ok", hartRequest("0102030002" + data)));
        ASSERT_EQ(parent->calls.size(), 1u);
        EXPECT_EQ(Parsed(parent->calls[0].document)
                      .attribute("FDT/DataExchangeRequest/CommunicationHeader", "CommunicationData"),
                  data);
        dtm->OnTransactionResponse("child-ok", zebAnswer(data));
        ASSERT_EQ(child->calls.size(), 1u);
        EXPECT_EQ(child->calls[0].invokeId, "child-ok");
        EXPECT_EQ(Parsed(child->calls[0].document).attribute("FDT/DataExchangeResponse/fdt:CommunicationData",
                                                               "byteArray"),
                  "0102030002" + data);
        EXPECT_TRUE(redLines.empty());
    }

    TestEnvironment environment;
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    std::shared_ptr<fdt::SilentFrame> frame = std::make_shared<fdt::SilentFrame>(frameSchemaDir());
    std::shared_ptr<zeb2hart::test::RecordingParent> parent = std::make_shared<zeb2hart::test::RecordingParent>();
    std::shared_ptr<zeb2hart::test::RecordingChild> child = std::make_shared<zeb2hart::test::RecordingChild>();
    std::vector<std::string> redLines;
    Bait bait;
};

TEST_F(HostilePeerTest, AHostileChildRequestOrParentAnswerFailsAndTheNextTransactionIsServed)
{
    ASSERT_TRUE(bait.ready());
    for (const Hostile& hostile : hostileDocuments(bait)) {
        SCOPED_TRACE(hostile.name);
        clear();
        bounded("request", [&] { EXPECT_FALSE(dtm->TransactionRequest("child-bad", hostile.document)); });
        EXPECT_TRUE(parent->calls.empty());
        EXPECT_TRUE(child->calls.empty());
        EXPECT_EQ(redLines, std::vector<std::string>{"IFdtCommunication_TransactionRequest: Critical Error in "
                                                     "IFdtCommunication_TransactionRequest"});
        expectServed("ABCD");

        clear();
        ASSERT_TRUE(dtm->TransactionRequest("child-1", hartRequest("0102030000")));
        // The answer handler has no failure handler: the error goes back to the parent.
        bounded("answer", [&] { EXPECT_THROW(dtm->OnTransactionResponse("child-1", hostile.document), fdt::Error); });
        EXPECT_TRUE(child->calls.empty());
        expectServed("1234");
    }
    EXPECT_TRUE(environment.messageBox().shown.empty());
    EXPECT_TRUE(bait.untouched());
    EXPECT_FALSE(bait.connectedTo());
}

} // namespace
} // namespace zeb2hart::xml::test
