#pragma once
// DTMMain: the gateway DTM object the frame creates for every instance. It
// implements the FDT interfaces toward the frame, the child and the parent,
// owns the document toolkit, the dictionary, the gateway and its timer, and is
// the hub through which the pages reach the monitor, the texts and the frame.
// Every call, from the frame, the peers, the pages and the timer, is made on
// the thread of the apartment that created the instance.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ChannelCollection.h"
#include "core/Pages.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/FrameInterfaces.h"
#include "gateway/GatewayCounters.h"
#include "gateway/HartGateway.h"
#include "platform/ByteStream.h"
#include "platform/PropertyBag.h"
#include "support/Dictionary.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::core {

struct PersistentProperty;

// The frame's persistence site: told when a persisted property has a new value.
class PersistenceSite {
public:
    virtual ~PersistenceSite() = default;
    virtual void PropertyChanged(const std::string& propertyName) = 0;
};

class DTMMain final : public fdt::IDtm,
                      public fdt::IDtmInformation,
                      public fdt::IDtmDocumentation,
                      public fdt::IDtmActiveXInformation,
                      public fdt::IDtmChannel,
                      public fdt::IDtmParameter,
                      public fdt::IFdtChannel,
                      public fdt::IFdtChannelSubTopology,
                      public fdt::IFdtCommunication,
                      public fdt::IFdtCommunicationEvents,
                      public fdt::IFdtEvents,
                      public platform::IPersistPropertyBag,
                      public gateway::IGatewayCounters,
                      public fdt::Detachable,
                      public std::enable_shared_from_this<DTMMain>,
                      private gateway::GatewayHost {
public:
    // Creates an instance in the component folder of the installed services.
    static std::shared_ptr<DTMMain> create();
    static std::shared_ptr<DTMMain> create(const std::filesystem::path& componentFolder);
    // The key of the one channel in the channel list, and the channel identifier of a new instance.
    static constexpr const char* kChannelKey = "HARTChannel1";
    ~DTMMain() override;

    // --- persistence (the frame's property bag) ---------------------------------
    // Initialise new properties from DTM.ini; a Boolean or number that does not
    // convert throws and leaves the later properties unset.
    void InitNewProperties() override;
    void LoadProperties(platform::PropertyBag& bag) override;
    void SaveProperties(platform::PropertyBag& bag) const override;
    void setPersistenceSite(std::shared_ptr<PersistenceSite> site) { m_persistenceSite = std::move(site); }

    // --- persistence (the frame's stream, core/PropertyStream.h) ------------------
    // Reads the whole stream and checks it before anything changes, then loads
    // it as LoadProperties loads a bag. A stream that is not a whole, valid one
    // of this class throws (fdt::FileError, fdt::TypeMismatchError) and leaves
    // the instance as it was.
    void loadStream(platform::ByteSource& source);
    // Writes the properties SaveProperties saves; with `clearDirty` the instance
    // counts as saved once the sink took them. A text too long for a stream
    // throws fdt::OverflowError before anything is written.
    void saveStream(platform::ByteSink& sink, bool clearDirty);
    // The number of bytes saveStream writes now; throws as it does.
    std::size_t streamSizeMax() const;
    // Whether a persisted property differs from what the last load (bag or
    // stream) or clearing save left; true for an instance never loaded or saved
    // and after InitNewProperties.
    bool isDirty() const;
    // The instance counts as saved as it is now: a frame's save through its
    // property bag that clears the dirty state (after SaveProperties).
    void markSaved();

    // The persisted properties; keys, defaults and DTM.ini sources are in the
    // table of core/PersistentProperties.h, which also sets their start values.
    bool PersistentZEBProtocolFilter{};
    bool PersistentHARTProtocolFilter{};
    bool PersistentFDTInterfaceFilter{};
    std::int16_t PersistentDeviceTypeIndex{};
    std::int16_t PersistentWarmstartDelay{};
    std::string PersistentDeviceList;
    std::string PersistentManufacturerIDCode;
    std::string PersistentManufacturerDevTypeCode;
    std::string PersistentRevLevelOfTransmSpecDoc;
    std::string PersistentSoftwareRevLevelOfDev;
    std::string PersistentHardwareRevLevelOfElectr;
    std::string PersistentDeviceID;

    // --- public services for the pages ----------------------------------------
    fdt::ObjectPtr GetFramePointer() const { return m_Container; }
    xml::XMLHelp& XMLHelpPointer() { return *m_XMLHelp; }
    fdt::ObjectPtr OnInitControl() const { return m_Container; }
    std::string GetDictionaryText(const std::string& textId) const;
    void CtlMonitorPointer(const fdt::ObjectPtr& page) { m_CtlMonitor = page; }
    void CtlOfflineParamPointer(const fdt::ObjectPtr& page) { m_CtlOfflineParam = page; }
    void CtlAboutPointer(const fdt::ObjectPtr& page) { m_CtlAbout = page; }
    // Reports a value a page changed: the frame's parameter-changed event, then
    // the property marked as changed.
    void PersistentParamChanged(const std::string& paramName, const std::string& newValue);
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                    std::int16_t filter) override;
    // Sees every monitor message before it is filtered (the frame stand-in's transcript).
    using MonitorObserver = std::function<void(const std::string& functionName, const std::string& message,
                                               std::int32_t lineColor, std::int16_t filter)>;
    void setMonitorObserver(MonitorObserver observer) { m_monitorObserver = std::move(observer); }
    void Set_Status();
    void TranslateControls(const std::string& prefix, const ControlList& controls);
    fdt::Variant CommStatus() const { return m_CommStatus; }
    // Converts the value to a 32-bit integer (errors reach the caller).
    void CommStatus(const fdt::Variant& value);
    const std::string& StatusText() const { return m_StatusText; }
    void StatusText(const std::string& text) { m_StatusText = text; }
    std::string PresistentTrace;

    // --- IDtm -------------------------------------------------------------------
    bool Environment(const std::string& systemTag, const fdt::ObjectPtr& container) override;
    bool InitNew(const std::string& deviceType) override;
    bool Config(const std::string& userInfo) override;
    bool SetCommunication(const std::shared_ptr<fdt::IFdtCommunication>& communication) override;
    bool PrepareToRelease() override;
    bool PrepareToReleaseCommunication() override;
    bool ReleaseCommunication() override;
    bool PrepareToDelete() override;
    bool SetLanguage(std::int32_t languageId) override;
    std::string GetFunctions(const std::string& operationState) override;
    bool InvokeFunctionRequest(const std::string& invokeId, const std::string& functionCall) override;
    bool PrivateDialogEnabled(bool enabled) override;

    // --- IDtmInformation, IDtmDocumentation, IDtmActiveXInformation ---------------
    std::string GetInformation() override;
    std::string GetDocumentation(const std::string& functionCall) override;
    std::string GetActiveXGuid(const std::string& functionCall) override;
    std::string GetActiveXProgId(const std::string& functionCall) override;

    // --- IDtmChannel, IFdtChannel, IDtmParameter, IFdtChannelSubTopology, IFdtEvents ---
    std::shared_ptr<fdt::IFdtChannelCollection> GetChannels() override;
    std::string GetChannelPath() override;
    std::string GetChannelParameters(const std::string& parameterPath, const std::string& protocolId) override;
    bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                              const std::string& xmlDocument) override;
    std::string GetParameters(const std::string& parameterPath) override;
    bool SetParameters(const std::string& parameterPath, const std::string& fdtXmlDocument) override;
    bool ScanRequest(const std::string& invokeId) override;
    bool ValidateAddChild(const std::string& childSystemTag) override;
    bool ValidateRemoveChild(const std::string& childSystemTag) override;
    void OnAddChild(const std::string& childSystemTag) override;
    void OnRemoveChild(const std::string& childSystemTag) override;
    void OnChildParameterChanged(const std::string& systemTag) override;
    void OnParameterChanged(const std::string& systemTag, const std::string& parameter) override;
    void OnLockDataSet(const std::string& systemTag, const std::string& userName) override;
    bool OnUnlockDataSet(const std::string& systemTag, const std::string& userName) override;

    // --- IFdtCommunication (the child's side) -----------------------------------------
    void Abort(const std::string& fieldbusFrame) override;
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override;
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    std::string GetSupportedProtocols() override;
    bool SequenceBegin(const std::string& fieldbusFrame) override;
    bool SequenceStart(const std::string& fieldbusFrame) override;
    bool SequenceEnd(const std::string& fieldbusFrame) override;

    // --- IFdtCommunicationEvents (the parent's side) ----------------------------------
    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

    // --- Detachable: the frame, the parent, the child's callback, the persistence
    // site and the monitor observer let go, the timer stopped.
    void detach() noexcept override;

    // --- IGatewayCounters ------------------------------------------------------------------
    std::vector<gateway::ConnectionCounters> connectionCounters() const override { return m_Gateway->counters(); }

    // Whether the host can show the pages: a host without them (a test frame
    // that shows none) lists no page functions and names no page class, so
    // that a frame never asks for a control that is not there.
    void offerPages(bool offered) { m_offersPages = offered; }
    bool offersPages() const { return m_offersPages; }

    // --- read access for tests and the frame stand-in ------------------------------------
    const std::string& systemTag() const { return m_SystemTag; }
    const std::string& childSystemTag() const { return m_ChildSystemTag; }
    const std::string& channelUuid() const { return m_ChannelUUID; }
    const std::filesystem::path& componentFolder() const { return m_componentFolder; }
    const std::string& xmlSchemaPath() const { return m_XMLSchemaPath; }
    const std::string& iniFile() const { return m_IniFile; }
    support::clsDictionary& dictionary() { return *m_Dictionary; }
    gateway::HartGateway& gateway() { return *m_Gateway; }

private:
    friend struct PersistentProperty; // the table of persisted properties includes m_ChannelUUID
    explicit DTMMain(std::filesystem::path componentFolder);
    void construct();
    void updatePageLanguages();
    std::shared_ptr<fdt::IDtmEvents> frameEvents() const;
    void markChanged(const std::string& propertyName);
    // Every persisted property's value, in the table's order.
    std::vector<fdt::Variant> persistedValues() const;

    // GatewayHost
    std::int16_t warmstartDelay() const override { return PersistentWarmstartDelay; }
    std::array<std::string, 6> identityTexts() const override;
    void setCommStatus(std::int32_t status) override;
    std::shared_ptr<fdt::IFdtCommunicationEvents> selfAsCallback() override;

    std::filesystem::path m_componentFolder;
    std::shared_ptr<ChannelCollection> m_Channels;
    std::weak_ptr<fdt::Object> m_CtlMonitor;
    std::weak_ptr<fdt::Object> m_CtlOfflineParam;
    std::weak_ptr<fdt::Object> m_CtlAbout;
    std::string m_XMLSchemaPath;
    std::string m_IniFile;
    std::unique_ptr<xml::XMLHelp> m_XMLHelp;
    std::unique_ptr<support::clsDictionary> m_Dictionary;
    std::unique_ptr<gateway::HartGateway> m_Gateway;
    std::string m_SystemTag;
    fdt::ObjectPtr m_Container;
    std::string m_ChildSystemTag;
    std::string m_ChannelUUID;
    fdt::Variant m_CommStatus{std::int32_t{1}};
    std::string m_StatusText;
    std::shared_ptr<PersistenceSite> m_persistenceSite;
    // What the last load or clearing save left, for isDirty.
    std::optional<std::vector<fdt::Variant>> m_savedValues;
    bool m_offersPages = true;
    MonitorObserver m_monitorObserver;
};

} // namespace zeb2hart::core
