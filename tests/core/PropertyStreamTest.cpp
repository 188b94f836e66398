// The stream of the persisted properties: its bytes, round trip and size bound,
// the dirty state, and hostile streams, each refused with the instance left as it was.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ComponentClasses.h"
#include "core/PersistentProperties.h"
#include "core/PropertyStream.h"
#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {
namespace {

using core::PropertyStream;
using Bytes = std::vector<std::uint8_t>;

const fdt::Guid kDtmClassId = *fdt::Guid::parse(core::kDtmClass.clsid);

// Little-endian bytes put together by hand, without the writer.
struct Builder {
    Bytes bytes;
    Builder& u8(unsigned value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    Builder& u16(unsigned value) { return u8(value & 0xFF).u8(value >> 8); }
    Builder& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    Builder& text(const std::string& text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Builder& key(const std::string& key, unsigned variantType) { return u8(key.size()).text(key).u16(variantType); }
};

struct Header {
    std::string magic = "ZEB2HART";
    fdt::Guid classId = kDtmClassId;
    unsigned version = 1;
    unsigned pairs = 0;
    std::uint32_t length = 0;
};

Bytes stream(const Header& h, const Bytes& pairs)
{
    Builder b;
    b.text(h.magic).u32(h.classId.data1).u16(h.classId.data2).u16(h.classId.data3);
    b.bytes.insert(b.bytes.end(), h.classId.data4.begin(), h.classId.data4.end());
    b.u16(h.version).u16(h.pairs).u32(h.length);
    b.bytes.insert(b.bytes.end(), pairs.begin(), pairs.end());
    return b.bytes;
}

// One well-formed pair of each type.
const Bytes kTrace = Builder().key("PresistentTrace", 8).u32(4).text("Kept").bytes;
const Bytes kFilter = Builder().key("PersistentZEBProtocolFilter", 11).u16(0xFFFF).bytes;
const Bytes kDelay = Builder().key("PersistentWarmstartDelay", 2).u16(0xFFFE).bytes;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes streamOf(const Bytes& pairs, unsigned count, Header h = {})
{
    h.pairs = count;
    h.length = static_cast<std::uint32_t>(pairs.size());
    return stream(h, pairs);
}

Bytes saved(core::DTMMain& dtm, bool clearDirty = true)
{
    platform::MemoryByteSink sink;
    dtm.saveStream(sink, clearDirty);
    return sink.bytes();
}

void load(core::DTMMain& dtm, const Bytes& bytes)
{
    platform::MemoryByteSource source(bytes);
    dtm.loadStream(source);
}

// Everything the stream keeps, as the bag has it.
std::vector<std::pair<std::string, fdt::Variant>> properties(const core::DTMMain& dtm)
{
    platform::MemoryPropertyBag bag;
    dtm.SaveProperties(bag);
    return bag.entries();
}

class PropertyStreamTest : public ::testing::Test {
protected:
    TestEnvironment environment;
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
};

TEST_F(PropertyStreamTest, TheWriterLaysOutTheHeaderAndPairsLittleEndian)
{
    platform::MemoryPropertyBag bag;
    bag.write("PresistentTrace", "Kept");
    bag.write("PersistentZEBProtocolFilter", true);
    bag.write("PersistentWarmstartDelay", std::int16_t{-2});
    const Bytes expected = streamOf(kTrace + kFilter + kDelay, 3);
    EXPECT_EQ(PropertyStream::write(kDtmClassId, bag), expected);
    EXPECT_EQ(PropertyStream::size(bag), expected.size());
}

TEST_F(PropertyStreamTest, ASavedInstanceLoadsIntoAnotherWithEveryValueAndTheStreamEndsWhereItsBytesDo)
{
    dtm->PresistentTrace = "Spät €";
    dtm->PersistentDeviceList = "";
    dtm->PersistentWarmstartDelay = -32768;
    dtm->PersistentHARTProtocolFilter = true;
    dtm->PersistentDeviceID = std::string(PropertyStream::kMaxTextBytes, 'x');
    const Bytes bytes = saved(*dtm);
    EXPECT_EQ(bytes.size(), dtm->streamSizeMax());

    const auto other = core::DTMMain::create();
    const Bytes followed = bytes + Bytes{1, 2, 3}; // what the frame keeps after the DTM's stream
    platform::MemoryByteSource source(followed);
    other->loadStream(source);
    EXPECT_EQ(source.position(), bytes.size());
    EXPECT_EQ(properties(*other), properties(*dtm));
    EXPECT_FALSE(other->isDirty());
}

TEST_F(PropertyStreamTest, SaveNeverWritesMoreThanTheSizeItAnnounces)
{
    // Every text at once of this length: the size written, or the error.
    const std::pair<std::size_t, bool> cases[] = {
        {0, true}, {1, true}, {4095, true}, {4096, true}, {PropertyStream::kMaxTextBytes, true},
        {PropertyStream::kMaxTextBytes + 1, false},
    };
    for (const auto& [length, fits] : cases) {
        SCOPED_TRACE(length);
        for (const auto& property : core::PersistentProperty::all()) {
            if (property.type() == core::PropertyType::Text)
                property.set(*dtm, std::string(length, 'a'));
        }
        if (!fits) {
            EXPECT_THROW(dtm->streamSizeMax(), fdt::OverflowError);
            platform::MemoryByteSink sink;
            EXPECT_THROW(dtm->saveStream(sink, true), fdt::OverflowError);
            EXPECT_TRUE(sink.bytes().empty());
            continue;
        }
        const std::size_t announced = dtm->streamSizeMax();
        EXPECT_EQ(saved(*dtm).size(), announced);
        EXPECT_LE(announced, PropertyStream::maxSize());
        if (length == PropertyStream::kMaxTextBytes) {
            EXPECT_EQ(announced, PropertyStream::maxSize());
        }
    }
}

TEST_F(PropertyStreamTest, DirtyUntilASaveThatClearsItOrALoad)
{
    EXPECT_TRUE(dtm->isDirty()); // never saved
    saved(*dtm, false);
    EXPECT_TRUE(dtm->isDirty());
    const Bytes bytes = saved(*dtm, true);
    EXPECT_FALSE(dtm->isDirty());
    dtm->PersistentWarmstartDelay = 9; // a change without a report is a change too
    EXPECT_TRUE(dtm->isDirty());
    dtm->PersistentWarmstartDelay = 0;
    EXPECT_FALSE(dtm->isDirty());
    dtm->InitNewProperties();
    EXPECT_TRUE(dtm->isDirty());
    load(*dtm, bytes);
    EXPECT_FALSE(dtm->isDirty());
}

TEST_F(PropertyStreamTest, AStreamThatIsNotAWholeValidOneOfThisClassChangesNothing)
{
    const auto anotherClass = *fdt::Guid::parse(core::kPageClasses[0].clsid);
    struct Case {
        std::string name;
        Bytes bytes;
        bool typeMismatch; // else a malformed stream
        std::string message;
    };
    std::vector<Case> cases = {
        {"empty", {}, false, "ends after 0 of the header's 32 bytes"},
        {"magic", streamOf(kTrace, 1, {.magic = "ZEB2HARX"}), false, "does not start with \"ZEB2HART\""},
        {"another class", streamOf(kTrace, 1, {.classId = anotherClass}), false, "belongs to another class, {123C16C9"},
        {"later version", streamOf(kTrace, 1, {.version = 2}), false, "format version 2, later than version 1, the latest"},
        {"version 0", streamOf(kTrace, 1, {.version = 0}), false, "format version 0, which no DTM writes"},
        {"pairs beyond the table", streamOf(kTrace, 0xFFFF), false, "declares 65535 pairs"},
        {"absurd length of pairs", stream({.pairs = 1, .length = 0xFFFFFFFF}, kTrace), false, "declares 4294967295 bytes"},
        {"longer than its bytes", stream({.pairs = 1, .length = 5000}, kTrace), false, "ends after 26 of its 5000"},
        {"fewer pairs than bytes", streamOf(kTrace + kDelay, 1), false, "holds 29 bytes after its last pair"},
        {"more pairs than bytes", streamOf(kTrace, 2), false, "runs past the 26 bytes of pairs"},
        {"unknown key", streamOf(Builder().key("PersistentColour", 2).u16(1).bytes, 1), false, "\"PersistentColour\", which is not"},
        {"key not UTF-8", streamOf(Builder().key("\xFF", 2).u16(1).bytes, 1), false, "a key that is not UTF-8"},
        {"key twice", streamOf(kDelay + kDelay, 2), false, "PersistentWarmstartDelay twice"},
        {"Boolean of 1", streamOf(Builder().key("PersistentZEBProtocolFilter", 11).u16(1).bytes, 1), false, "holds 1 for"},
        {"absurd text length", streamOf(Builder().key("PresistentTrace", 8).u32(0xFFFFFFFF).bytes, 1), false,
         "4294967295 bytes; a text has at most 65536"},
        {"text not UTF-8", streamOf(Builder().key("PresistentTrace", 8).u32(1).u8(0xC3).bytes, 1), false, "not UTF-8"},
        {"text for a number", streamOf(Builder().key("PersistentWarmstartDelay", 8).u32(1).text("7").bytes, 1), true,
         "PersistentWarmstartDelay as variant type 8; it is a 16-bit integer (type 2)"},
        {"number for a Boolean", streamOf(Builder().key("PersistentZEBProtocolFilter", 2).u16(0).bytes, 1), true,
         "variant type 2; it is a Boolean"},
        {"unknown type", streamOf(Builder().key("PresistentTrace", 99).u32(0).bytes, 1), true, "variant type 99"},
    };
    const Bytes whole = streamOf(kTrace + kFilter + kDelay, 3);
    for (std::size_t length = 1; length < whole.size(); ++length)
        cases.push_back({"cut at " + std::to_string(length), Bytes(whole.begin(), whole.begin() + length), false, "is truncated"});

    // An instance with values of its own, saved, then changed: dirty and unlike any default.
    dtm->InitNewProperties();
    saved(*dtm);
    dtm->PersistentDeviceTypeIndex = 2;
    dtm->PresistentTrace = "Mine";
    const auto before = properties(*dtm);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            load(*dtm, c.bytes);
            ADD_FAILURE() << "loaded";
        } catch (const fdt::TypeMismatchError& error) {
            EXPECT_TRUE(c.typeMismatch) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        } catch (const fdt::FileError& error) {
            EXPECT_FALSE(c.typeMismatch) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
        EXPECT_EQ(properties(*dtm), before);
        EXPECT_TRUE(dtm->isDirty());
    }
    load(*dtm, whole); // the same instance still loads a good stream
    EXPECT_EQ(dtm->PresistentTrace, "Kept");
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 0); // not in the stream: its default
}

} // namespace
} // namespace zeb2hart::test
