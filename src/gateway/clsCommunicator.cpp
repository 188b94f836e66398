#include "gateway/clsCommunicator.h"

#include <algorithm>
#include <array>

#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::gateway {

namespace {

// One identity item: the text naming its ZEB object, the text used when that
// one is unusable, and where the answer goes in the command 0 layout.
struct IdentityEntry {
    std::string_view value;
    const char* defaultText;
    std::uint8_t position;
};

} // namespace

bool clsCommunicator::ReleaseCommunicationReference()
{
    m_communicationReference.clear();
    return true;
}

bool clsCommunicator::CreateCommunicationReference()
{
    m_communicationReference = support::NewGuidString(false);
    return true;
}

void clsCommunicator::InitZebSequence(const std::string& manufacturerIdCode, const std::string& manufacturerDevTypeCode,
                                      const std::string& revLevelOfTransmSpecDoc,
                                      const std::string& softwareRevLevelOfDev,
                                      const std::string& hardwareRevLevelOfElectr, const std::string& deviceId)
{
    const std::array<IdentityEntry, 6> entries{{
        {manufacturerIdCode, "14002.32", 1},
        {manufacturerDevTypeCode, "14000.32", 2},
        {revLevelOfTransmSpecDoc, "14016.32", 5},
        {softwareRevLevelOfDev, "14015.32", 6},
        {hardwareRevLevelOfElectr, "14014.32", 7},
        {deviceId, "32516.28", 9},
    }};

    // The texts rarely change between two sequences: what they gave last time is
    // taken again. Each element gets its own invoke identifier all the same.
    const bool known = m_identityReads.size() == entries.size() &&
                       std::equal(entries.begin(), entries.end(), m_identityTexts.begin(),
                                  [](const IdentityEntry& entry, const std::string& text) { return entry.value == text; });
    std::vector<clsZEBSequence> reads;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IdentityEntry& entry = entries[i];
        clsZEBSequence element = known ? m_identityReads[i] : clsZEBSequence{};
        element.invokeId = support::NewGuidString(false);
        if (!known) {
            std::string text(entry.value);
            std::size_t point = text.find('.');
            if (text.empty() || point == std::string::npos || point + 1 == text.size()) {
                text = entry.defaultText;
                point = text.find('.');
            }
            element.ObjectNumber = support::toLong(std::string_view(text).substr(0, point));
            // The object's sub-number is the one after the point plus one.
            const double subNumber = support::toDouble(std::string_view(text).substr(point + 1)) + 1.0;
            element.SubNumber = support::toByte(fdt::Variant{subNumber});
            element.NoOfBtes = 4;
            element.HARTResponseDataPos = entry.position;
            reads.push_back(element);
            reads.back().invokeId.clear();
        }
        m_ZEBSeqCol.push_back(std::move(element));
    }
    if (!known) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            m_identityTexts[i] = entries[i].value;
        m_identityReads = std::move(reads);
    }
}

bool clsCommunicator::ZEBSeqColRemove(const std::string& invokeId)
{
    for (auto it = m_ZEBSeqCol.begin(); it != m_ZEBSeqCol.end(); ++it) {
        if (it->invokeId == invokeId) {
            m_ZEBSeqCol.erase(it);
            return true;
        }
    }
    return false;
}

const clsZEBSequence* clsCommunicator::RequestedElement(const std::string& invokeId) const
{
    const clsZEBSequence* examined = nullptr;
    for (const clsZEBSequence& element : m_ZEBSeqCol) {
        examined = &element;
        if (element.invokeId == invokeId)
            break;
    }
    return examined;
}

void clsCommunicator::shortAddress(const fdt::Variant& value)
{
    m_shortAddress = support::toInteger(value);
}

const clsZEBSequence& clsCommunicator::ZEBSeqElem(std::int16_t elemNo) const
{
    if (elemNo < 1 || static_cast<std::size_t>(elemNo) > m_ZEBSeqCol.size())
        throw fdt::NotFoundError("identity sequence element " + std::to_string(elemNo) + " does not exist");
    return m_ZEBSeqCol[static_cast<std::size_t>(elemNo - 1)];
}

} // namespace zeb2hart::gateway
