// Hostile documents from the child, the parent and the frame: external
// entities to a local file and to a network address, an entity expansion bomb,
// a 10 MB attribute, 10,000 levels of nesting, invalid UTF-8 and documents in
// other encodings. None loads (the bomb is refused before it expands, the
// large text before it is parsed), nothing is read, and a connected gateway
// goes on serving the next valid request.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstring>
#include <fstream>
#include <regex>

#include "core/DTMMain.h"
#include "dom/DomTestSupport.h"
#include "fdt/Errors.h"
#include "fdt/SilentFrame.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "gateway/HartGateway.h"
#include "platform/Paths.h"
#include "support/Monitor.h"

namespace zeb2hart::dom::test {
namespace {

using namespace std::chrono_literals;

const std::string kOpen(zeb2hart::test::kHartRoot);
const std::string kZebOpen(zeb2hart::test::kZebRoot);
const char* const kSecret = "SECRET-FROM-A-LOCAL-FILE";

std::string hartRequest(const std::string& data, const std::string& reference = "REF-1")
{
    return kOpen + "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"" + reference +
           "\"><fdt:CommunicationData byteArray=\"" + data + "\"/></DataExchangeRequest></FDT>";
}

#ifndef _WIN32
// A local file that shows whether anyone read it: a named pipe holding the
// secret, kept open at both ends by the test. Reading it takes the secret out.
class Bait {
public:
    Bait()
    {
        if (::mkfifo(m_pipe.c_str(), 0600) == 0)
            m_fd = ::open(m_pipe.c_str(), O_RDWR | O_NONBLOCK);
        if (m_fd >= 0)
            (void)!::write(m_fd, kSecret, std::strlen(kSecret));
    }
    ~Bait() { ::close(m_fd); }
    bool ready() const { return m_fd >= 0; }
    const fs::path& path() const { return m_pipe; }
    // True when the secret is still all in the pipe.
    bool untouched() const
    {
        char buffer[64] = {};
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got > 0)
            (void)!::write(m_fd, buffer, static_cast<std::size_t>(got));
        return got == static_cast<ssize_t>(std::strlen(kSecret)) && std::string(buffer, got) == kSecret;
    }

private:
    TempComponentFolder m_folder;
    fs::path m_pipe = m_folder.path() / "secret";
    int m_fd = -1;
};
#else
// Windows has no named pipe in the file system that shows a read: the bait is a
// plain file, and the test checks only that no document loads.
class Bait {
public:
    Bait() { std::ofstream(m_file) << kSecret; }
    bool ready() const { return fs::exists(m_file); }
    const fs::path& path() const { return m_file; }

private:
    TempComponentFolder m_folder;
    fs::path m_file = m_folder.path() / "secret";
};
#endif

struct Hostile {
    std::string name;
    std::string document;
    long code; // the parse error's code; 0: any
};

// An FDT root with `levels` elements nested in it.
std::string nest(int levels)
{
    std::string open;
    for (int level = 0; level < levels; ++level)
        open += "<A>";
    return "<FDT>" + open + std::regex_replace(open, std::regex("<"), "</") + "</FDT>";
}

// Each a command 128 request that would load but for its hostile part.
std::vector<Hostile> hostileDocuments(const Bait& bait)
{
    const std::string decl = "<?xml version=\"1.0\"?>";
    const std::string file = platform::fileUrl(bait.path());
    std::string bomb = decl + "<!DOCTYPE FDT [<!ENTITY a0 \"lol\">";
    for (int level = 1; level <= 10; ++level) {
        bomb += "<!ENTITY a" + std::to_string(level) + " \"";
        for (int n = 0; n < 10; ++n)
            bomb += "&a" + std::to_string(level - 1) + ";";
        bomb += "\">";
    }
    std::string utf16 = "\xFF\xFE";
    for (const char c : "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + hartRequest("00"))
        utf16 += std::string{c, '\0'};
    const long refused = xml_error::kDoctypeRefused;
    return {
        {"external entity to a local file",
         decl + "<!DOCTYPE FDT [<!ENTITY s SYSTEM \"" + file + "\">]>" + hartRequest("00", "&s;"), refused},
        {"parameter entity to a local file",
         decl + "<!DOCTYPE FDT [<!ENTITY % p SYSTEM \"" + file + "\"> %p;]>" + hartRequest("00"), refused},
        {"external document type on the network",
         decl + "<!DOCTYPE FDT SYSTEM \"http://127.0.0.1:9/fdt.dtd\">" + hartRequest("00"), refused},
        {"a document type alone", "<!DOCTYPE FDT>" + hartRequest("00"), refused},
        {"entity expansion bomb", bomb + "]>" + hartRequest("00", "&a10;"), refused},
        {"10 MB attribute", hartRequest(std::string(10'000'000, 'A')), xml_error::kTooLarge},
        {"10,000 levels of nesting", decl + nest(10'000), 0},
        {"invalid UTF-8", decl + hartRequest("00", "\xC3\x28\xFF"), 0},
        {"ISO-8859-1 as declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + hartRequest("00", "R\xE9"), 0},
        {"UTF-16 with a byte order mark", utf16, 0},
        {"UTF-16 without a byte order mark", utf16.substr(2), 0},
    };
}

TEST(HostileDocuments, NoneLoadsInBoundedTimeAndNothingIsRead)
{
    TestEnvironment environment;
    Bait bait;
    ASSERT_TRUE(bait.ready());
    for (const auto& schemas : {std::shared_ptr<SchemaCollection>(), allSchemas()}) {
        for (const Hostile& hostile : hostileDocuments(bait)) {
            for (const bool shared : {false, true}) {
                SCOPED_TRACE(hostile.name + (shared ? " shared" : "") + (schemas ? " with schemas" : ""));
                XmlDocument document;
                document.setSchemas(schemas);
                const auto start = std::chrono::steady_clock::now();
                EXPECT_EQ(shared ? document.loadShared(hostile.document) : document.loadXml(hostile.document),
                          LoadResult::NotLoaded);
                EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
                EXPECT_TRUE(document.isEmpty());
                const long code = document.parseError().code;
                EXPECT_TRUE(hostile.code == 0 ? code != 0 : code == hostile.code) << code;
            }
        }
    }
#ifndef _WIN32
    EXPECT_TRUE(bait.untouched()) << "the local file was read";
    const int reader = ::open(bait.path().c_str(), O_RDONLY | O_NONBLOCK); // as a read would show
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 1);
    ::close(reader);
    EXPECT_FALSE(bait.untouched());
#endif
    // Without their hostile part the documents load.
    XmlDocument document;
    document.setSchemas(allSchemas());
    for (const std::string& text : {hartRequest("00"), hartRequest(std::string(1000, 'A')), "\xEF\xBB\xBF" + hartRequest("00"), nest(200)})
        EXPECT_EQ(document.loadXml(text), LoadResult::Loaded) << text.substr(0, 60);
}

TEST(HostileDocuments, AConnectedGatewayFailsEachAndServesTheNextTransaction)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    const auto parent = std::make_shared<zeb2hart::fakes::FakeParent>();
    const auto child = std::make_shared<zeb2hart::fakes::FakeChild>();
    std::vector<std::string> redLines;
    dtm->setMonitorObserver([&](const std::string& name, const std::string& message, std::int32_t color, std::int16_t) {
        if (color == support::color::Red)
            redLines.push_back(name + ": " + message);
    });
    EXPECT_TRUE(dtm->Environment("GW1", std::make_shared<fdt::SilentFrame>(frameSchemaDir())));
    EXPECT_TRUE(dtm->SetCommunication(parent));
    EXPECT_TRUE(dtm->ConnectRequest(child, "connect-1", gateway::kHartProtocolId,
                                    kOpen + "<ConnectRequest fdt:tag=\"C\"><ShortAddress shortAddress=\"0\"/></ConnectRequest></FDT>"));
    dtm->OnConnectResponse("connect-1", kZebOpen + "<ConnectResponse CommunicationReference=\"REF-1\" fdt:tag=\"P\"/></FDT>");
    const auto clear = [&] {
        parent->calls.clear();
        child->calls.clear();
        redLines.clear();
    };
    // One valid command 128 round trip.
    const auto expectServed = [&] {
        clear();
        ASSERT_TRUE(dtm->TransactionRequest("child-ok", hartRequest("0102030002ABCD")));
        ASSERT_EQ(parent->calls.size(), 1u);
        dtm->OnTransactionResponse("child-ok", kZebOpen + "<DataExchangeResponse Status=\"0\" CommunicationReference="
            "\"REF-1\"><CommunicationHeader MessageType=\"5\" ObjectType=\"2\" NoOfBytes=\"6\" SubNo=\"3\" "
            "ObjectNo=\"258\" CommunicationData=\"ABCD\"/></DataExchangeResponse></FDT>");
        ASSERT_EQ(child->calls.size(), 1u);
        EXPECT_EQ(child->calls[0].invokeId, "child-ok");
        EXPECT_TRUE(redLines.empty());
    };
    Bait bait;
    ASSERT_TRUE(bait.ready());
    for (const Hostile& hostile : hostileDocuments(bait)) {
        SCOPED_TRACE(hostile.name);
        clear();
        EXPECT_FALSE(dtm->TransactionRequest("child-bad", hostile.document));
        EXPECT_TRUE(parent->calls.empty());
        EXPECT_EQ(redLines, std::vector<std::string>{"IFdtCommunication_TransactionRequest: Critical Error in "
                                                     "IFdtCommunication_TransactionRequest"});
        expectServed();
        clear();
        ASSERT_TRUE(dtm->TransactionRequest("child-1", hartRequest("0102030000")));
        // The answer handler has no failure handler: the error goes back to the parent.
        EXPECT_THROW(dtm->OnTransactionResponse("child-1", hostile.document), fdt::Error);
        EXPECT_TRUE(child->calls.empty());
        expectServed();
    }
    EXPECT_TRUE(environment.messageBox().shown.empty());
#ifndef _WIN32
    EXPECT_TRUE(bait.untouched());
#endif
}

} // namespace
} // namespace zeb2hart::dom::test
