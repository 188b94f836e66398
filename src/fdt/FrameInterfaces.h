#pragma once
// The frame's FDT 1.2 interfaces that a DTM calls: the container and the frame
// event interface, both offered by the container object given to IDtm::Environment.

#include <cstdint>
#include <string>

#include "Export.h"
#include "Object.h"

namespace zeb2hart::fdt {

class ZEB2HART_API IFdtContainer : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1487, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual bool SaveRequest(const std::string& systemTag) = 0;
    virtual bool LockDataSet(const std::string& systemTag) = 0;
    virtual bool UnlockDataSet(const std::string& systemTag) = 0;
    virtual std::string GetXmlSchemaPath() = 0;
};

class ZEB2HART_API IDtmEvents : public virtual Object {
public:
    static constexpr Guid kIid{0xF15BA42E, 0xBBF1, 0x42ED, {0x80, 0x09, 0x7F, 0x66, 0x4A, 0x00, 0x2C, 0xFB}};
    virtual void OnParameterChanged(const std::string& systemTag, const std::string& parameter) = 0;
    virtual void OnErrorMessage(const std::string& systemTag, const std::string& errorMessage) = 0;
    virtual void OnProgress(const std::string& systemTag, const std::string& title, std::int16_t percent, bool show) = 0;
    virtual void OnUploadFinished(const std::string& invokeId, bool success) = 0;
    virtual void OnDownloadFinished(const std::string& invokeId, bool success) = 0;
    virtual void OnApplicationClosed(const std::string& invokeId) = 0;
    virtual void OnFunctionChanged(const std::string& systemTag) = 0;
    virtual void OnChannelFunctionChanged(const std::string& systemTag, const std::string& channelPath) = 0;
    virtual void OnPrint(const std::string& systemTag, const std::string& functionCall) = 0;
    virtual void OnNavigation(const std::string& systemTag) = 0;
    virtual void OnOnlineStateChanged(const std::string& systemTag, const std::string& onlineState) = 0;
    virtual void OnPreparedToRelease(const std::string& systemTag) = 0;
    virtual void OnPreparedToReleaseCommunication(const std::string& systemTag) = 0;
    virtual void OnInvokedFunctionFinished(const std::string& invokeId, bool success) = 0;
    virtual void OnScanResponse(const std::string& invokeId, const std::string& response) = 0;
};

// The public FDT 1.2 descriptions give this interface no name. IDtm::Environment
// only checks that the container offers it, so it is a marker here, named after
// its identifier.
class ZEB2HART_API IFdt_036D147A : public virtual Object {
public:
    static constexpr Guid kIid{0x036D147A, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
};

} // namespace zeb2hart::fdt
