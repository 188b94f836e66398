#pragma once
// The FDT 1.2 interfaces that a DTM offers the frame, as abstract classes.
// Operation names and their order follow the published interface definitions.

#include <cstdint>
#include <memory>
#include <string>

#include "Export.h"
#include "Object.h"

namespace zeb2hart::fdt {

class IFdtCommunication;
class IFdtChannelCollection;

class ZEB2HART_API IDtm : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1481, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
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

class ZEB2HART_API IDtmInformation : public virtual Object {
public:
    static constexpr Guid kIid{0x036D147F, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::string GetInformation() = 0;
};

class ZEB2HART_API IDtmParameter : public virtual Object {
public:
    static constexpr Guid kIid{0x036D147D, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::string GetParameters(const std::string& parameterPath) = 0;
    virtual bool SetParameters(const std::string& parameterPath, const std::string& fdtXmlDocument) = 0;
};

class ZEB2HART_API IDtmDocumentation : public virtual Object {
public:
    static constexpr Guid kIid{0x036D147C, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::string GetDocumentation(const std::string& functionCall) = 0;
};

class ZEB2HART_API IDtmActiveXInformation : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1480, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::string GetActiveXGuid(const std::string& functionCall) = 0;
    virtual std::string GetActiveXProgId(const std::string& functionCall) = 0;
};

// Implemented by the pages.
class ZEB2HART_API IDtmActiveXControl : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1486, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual bool Init(const std::string& invokeId, const std::string& functionCall, const ObjectPtr& dtm) = 0;
    virtual bool PrepareToRelease() = 0;
};

class ZEB2HART_API IDtmChannel : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1489, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::shared_ptr<IFdtChannelCollection> GetChannels() = 0;
};

class ZEB2HART_API IFdtChannel : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1488, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual std::string GetChannelPath() = 0;
    virtual std::string GetChannelParameters(const std::string& parameterPath, const std::string& protocolId) = 0;
    virtual bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                                      const std::string& xmlDocument) = 0;
};

class ZEB2HART_API IFdtChannelSubTopology : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1484, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual bool ScanRequest(const std::string& invokeId) = 0;
    virtual bool ValidateAddChild(const std::string& childSystemTag) = 0;
    virtual bool ValidateRemoveChild(const std::string& childSystemTag) = 0;
    virtual void OnAddChild(const std::string& childSystemTag) = 0;
    virtual void OnRemoveChild(const std::string& childSystemTag) = 0;
};

class ZEB2HART_API IFdtEvents : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1478, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual void OnChildParameterChanged(const std::string& systemTag) = 0;
    virtual void OnParameterChanged(const std::string& systemTag, const std::string& parameter) = 0;
    virtual void OnLockDataSet(const std::string& systemTag, const std::string& userName) = 0;
    virtual bool OnUnlockDataSet(const std::string& systemTag, const std::string& userName) = 0;
};

// The FDT collection a DTM hands out as its channel list.
class ZEB2HART_API IFdtChannelCollection : public virtual Object {
public:
    static constexpr Guid kIid{0xE4F31A10, 0x45BF, 0x11D4, {0xBB, 0xB3, 0x00, 0x60, 0x08, 0x09, 0x93, 0xFF}};
    // 1-based position, as the COM collection counts.
    virtual ObjectPtr Item(std::int32_t index) = 0;
    virtual ObjectPtr Item(const std::string& key) = 0;
    virtual std::int32_t Count() = 0;
};

} // namespace zeb2hart::fdt
