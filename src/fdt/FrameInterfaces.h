#pragma once
// The frame's FDT 1.2 interfaces that a DTM calls: the container and the frame
// event interface, both offered by the container object given to IDtm::Environment.

#include <cstdint>
#include <string>

#include "fdt/Object.h"

namespace zeb2hart::fdt {

// {036D1487-387B-11D4-86E1-00E0987270B9}
class IFdtContainer : public virtual Object {
public:
    virtual bool SaveRequest(const std::string& systemTag) = 0;
    virtual bool LockDataSet(const std::string& systemTag) = 0;
    virtual bool UnlockDataSet(const std::string& systemTag) = 0;
    virtual std::string GetXmlSchemaPath() = 0;
};

// {F15BA42E-BBF1-42ED-8009-7F664A002CFB}
class IDtmEvents : public virtual Object {
public:
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

// {036D147A-387B-11D4-86E1-00E0987270B9}: the public FDT 1.2 descriptions give this
// interface no name. IDtm::Environment only checks that the container offers it,
// so it is a marker here, named after its identifier.
class IFdt_036D147A : public virtual Object {
};

} // namespace zeb2hart::fdt
