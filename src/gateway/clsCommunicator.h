#pragma once
// clsCommunicator: the record of the gateway's one child connection: the
// child's callback, the parent's communication interface, the communication
// reference and short address, and the pending reads of a command 0 identity
// sequence.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "fdt/Variant.h"
#include "xml/Records.h"

namespace zeb2hart::gateway {

using xml::clsZEBSequence;

class clsCommunicator {
public:
    bool ReleaseCommunication() { return true; }
    bool ReleaseCommunicationReference();
    bool CreateCommunicationReference();
    // Appends the six identity reads (see the .cpp for the fallbacks). Conversion
    // errors (fdt::TypeMismatchError, fdt::OverflowError) reach the caller; the
    // elements appended before the failing one stay.
    void InitZebSequence(const std::string& manufacturerIdCode, const std::string& manufacturerDevTypeCode,
                         const std::string& revLevelOfTransmSpecDoc, const std::string& softwareRevLevelOfDev,
                         const std::string& hardwareRevLevelOfElectr, const std::string& deviceId);
    bool ZEBSeqColRemove(const std::string& invokeId);
    // The element with this invoke identifier, else the last one; nullptr for an empty list.
    const clsZEBSequence* RequestedElement(const std::string& invokeId) const;

    const std::shared_ptr<fdt::IFdtCommunicationEvents>& CallbackInterface() const { return m_CallbackInterface; }
    void CallbackInterface(std::shared_ptr<fdt::IFdtCommunicationEvents> callback) { m_CallbackInterface = std::move(callback); }
    const std::shared_ptr<fdt::IFdtCommunication>& ZEBDriverInterface() const { return m_ZEBDriverInterface; }
    void ZEBDriverInterface(std::shared_ptr<fdt::IFdtCommunication> driver) { m_ZEBDriverInterface = std::move(driver); }
    const std::string& communicationReference() const { return m_communicationReference; }
    void communicationReference(std::string reference) { m_communicationReference = std::move(reference); }
    std::int16_t shortAddress() const { return m_shortAddress; }
    // Converts the text to a 16-bit integer (errors reach the caller).
    void shortAddress(const fdt::Variant& value);
    bool ZEBSeqComAct() const { return m_ZEBSeqComAct; }
    void ZEBSeqComAct(bool active) { m_ZEBSeqComAct = active; }
    // The pending reads, oldest first. ZEBSeqColCount is their number as the
    // published Byte, which counts only up to 255: the gateway goes by the list.
    const std::vector<clsZEBSequence>& pendingReads() const { return m_ZEBSeqCol; }
    std::uint8_t ZEBSeqColCount() const { return static_cast<std::uint8_t>(m_ZEBSeqCol.size()); }
    // 1-based; a position outside the list throws fdt::NotFoundError.
    const clsZEBSequence& ZEBSeqElem(std::int16_t elemNo) const;
    const std::string& HARTCmd0InvokeId() const { return m_HARTCmd0InvokeId; }
    void HARTCmd0InvokeId(std::string invokeId) { m_HARTCmd0InvokeId = std::move(invokeId); }

private:
    std::shared_ptr<fdt::IFdtCommunicationEvents> m_CallbackInterface;
    std::shared_ptr<fdt::IFdtCommunication> m_ZEBDriverInterface;
    std::string m_communicationReference;
    std::int16_t m_shortAddress = 0;
    std::string m_HARTCmd0InvokeId;
    bool m_ZEBSeqComAct = false;
    std::vector<clsZEBSequence> m_ZEBSeqCol;
    // The identity texts of the last InitZebSequence that went through, and the
    // reads they gave (without invoke identifiers).
    std::array<std::string, 6> m_identityTexts;
    std::vector<clsZEBSequence> m_identityReads;
};

} // namespace zeb2hart::gateway
