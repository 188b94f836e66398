#pragma once
// The FDT 1.2 interfaces that a DTM offers the frame, as abstract classes.
// Operation names and their order follow the published interface definitions.

#include <cstdint>
#include <memory>
#include <string>

#include "fdt/Object.h"

namespace zeb2hart::fdt {

class IFdtCommunication;
class IFdtChannelCollection;

// {036D1481-387B-11D4-86E1-00E0987270B9}
class IDtm : public virtual Object {
public:
    virtual bool Environment(const std::string& systemTag, const ObjectPtr& container) = 0;
    virtual bool InitNew(const std::string& deviceType) = 0;
    virtual bool Config(const std::string& userInfo) = 0;
    virtual bool SetCommunication(const std::shared_ptr<IFdtCommunication>& communication) = 0;
    virtual bool PrepareToRelease() = 0;
    virtual bool PrepareToReleaseCommunication() = 0;
    virtual bool ReleaseCommunication() = 0;
    virtual bool PrepareToDelete() = 0;
    virtual bool SetLanguage(std::int32_t languageId) = 0;
    virtual std::string GetFunctions(const std::string& operationState) = 0;
    virtual bool InvokeFunctionRequest(const std::string& invokeId, const std::string& functionCall) = 0;
    virtual bool PrivateDialogEnabled(bool enabled) = 0;
};

// {036D147F-387B-11D4-86E1-00E0987270B9}
class IDtmInformation : public virtual Object {
public:
    virtual std::string GetInformation() = 0;
};

// {036D147D-387B-11D4-86E1-00E0987270B9}
class IDtmParameter : public virtual Object {
public:
    virtual std::string GetParameters(const std::string& parameterPath) = 0;
    virtual bool SetParameters(const std::string& parameterPath, const std::string& fdtXmlDocument) = 0;
};

// {036D147C-387B-11D4-86E1-00E0987270B9}
class IDtmDocumentation : public virtual Object {
public:
    virtual std::string GetDocumentation(const std::string& functionCall) = 0;
};

// {036D1480-387B-11D4-86E1-00E0987270B9}
class IDtmActiveXInformation : public virtual Object {
public:
    virtual std::string GetActiveXGuid(const std::string& functionCall) = 0;
    virtual std::string GetActiveXProgId(const std::string& functionCall) = 0;
};

// {036D1486-387B-11D4-86E1-00E0987270B9}: implemented by the pages.
class IDtmActiveXControl : public virtual Object {
public:
    virtual bool Init(const std::string& invokeId, const std::string& functionCall, const ObjectPtr& dtm) = 0;
    virtual bool PrepareToRelease() = 0;
};

// {036D1489-387B-11D4-86E1-00E0987270B9}
class IDtmChannel : public virtual Object {
public:
    virtual std::shared_ptr<IFdtChannelCollection> GetChannels() = 0;
};

// {036D1488-387B-11D4-86E1-00E0987270B9}
class IFdtChannel : public virtual Object {
public:
    virtual std::string GetChannelPath() = 0;
    virtual std::string GetChannelParameters(const std::string& parameterPath, const std::string& protocolId) = 0;
    virtual bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                                      const std::string& xmlDocument) = 0;
};

// {036D1484-387B-11D4-86E1-00E0987270B9}
class IFdtChannelSubTopology : public virtual Object {
public:
    virtual bool ScanRequest(const std::string& invokeId) = 0;
    virtual bool ValidateAddChild(const std::string& childSystemTag) = 0;
    virtual bool ValidateRemoveChild(const std::string& childSystemTag) = 0;
    virtual void OnAddChild(const std::string& childSystemTag) = 0;
    virtual void OnRemoveChild(const std::string& childSystemTag) = 0;
};

// {036D1478-387B-11D4-86E1-00E0987270B9}
class IFdtEvents : public virtual Object {
public:
    virtual void OnChildParameterChanged(const std::string& systemTag) = 0;
    virtual void OnParameterChanged(const std::string& systemTag, const std::string& parameter) = 0;
    virtual void OnLockDataSet(const std::string& systemTag, const std::string& userName) = 0;
    virtual bool OnUnlockDataSet(const std::string& systemTag, const std::string& userName) = 0;
};

// {E4F31A10-45BF-11D4-BBB3-0060080993FF}: the FDT collection a DTM hands out as its channel list.
class IFdtChannelCollection : public virtual Object {
public:
    // 1-based position, as the COM collection counts.
    virtual ObjectPtr Item(std::int32_t index) = 0;
    virtual ObjectPtr Item(const std::string& key) = 0;
    virtual std::int32_t Count() = 0;
};

} // namespace zeb2hart::fdt
