#include "core/DTMMain.h"

#include <algorithm>
#include <utility>

#include "core/ComponentClasses.h"
#include "core/ComponentData.h"
#include "core/PersistentProperties.h"
#include "core/PropertyStream.h"
#include "platform/Services.h"
#include "support/Conversions.h"
#include "support/IniFile.h"
#include "support/Monitor.h"
#include "support/Trace.h"
#include "platform/Paths.h"

namespace zeb2hart::core {

namespace {

constexpr std::size_t kNameColumnWidth = 50;

// Where the monitor line of an operation goes.
void monitorOk(DTMMain& dtm, const std::string& functionName)
{
    dtm.MonitorMsg(functionName, "Successful", support::color::Green, support::filter::FdtInterface);
}

void monitorRefused(DTMMain& dtm, const std::string& functionName, const std::string& message = "denied")
{
    dtm.MonitorMsg(functionName, message, support::color::Red, support::filter::FdtInterface);
}

// The monitor's name column: the name cut or padded to 50 characters (not bytes).
std::string nameColumn(const std::string& functionName)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < functionName.size(); ++i) {
        const auto byte = static_cast<unsigned char>(functionName[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        if (characters == kNameColumnWidth)
            return functionName.substr(0, i);
        ++characters;
    }
    return functionName + std::string(kNameColumnWidth - characters, ' ');
}

// True when the function identifier of a documentation request is the number 10.
bool isOfflineParameterFunction(const fdt::Variant& functionId)
{
    try {
        if (functionId.is<std::string>())
            return support::toDouble(functionId.as<std::string>()) == 10.0;
        if (functionId.isEmpty() || functionId.isNull())
            return false;
        return support::toLong(functionId) == 10;
    } catch (const fdt::Error&) {
        return false;
    }
}

// The class identifier a stream of the DTM's properties carries.
const fdt::Guid& dtmClassId()
{
    static const fdt::Guid id = *fdt::Guid::parse(kDtmClass.clsid);
    return id;
}

} // namespace

// --- construction -------------------------------------------------------------------

std::shared_ptr<DTMMain> DTMMain::create()
{
    return create(platform::services().componentFolder);
}

std::shared_ptr<DTMMain> DTMMain::create(const std::filesystem::path& componentFolder)
{
    std::shared_ptr<DTMMain> dtm(new DTMMain(componentFolder));
    dtm->construct();
    return dtm;
}

DTMMain::DTMMain(std::filesystem::path componentFolder) : m_componentFolder(std::move(componentFolder))
{
    for (const PersistentProperty& property : PersistentProperty::all())
        property.set(*this, property.defaultValue());
}

void DTMMain::construct()
{
    // The collection lists this object without holding it, so that the last
    // outside reference still destroys it.
    m_Channels = std::make_shared<ChannelCollection>();
    m_Channels->Add(kChannelKey, std::static_pointer_cast<fdt::IFdtChannel>(shared_from_this()));

    m_CtlMonitor.reset();
    m_CtlOfflineParam.reset();
    m_CtlAbout.reset();

    m_XMLSchemaPath = platform::utf8Of(m_componentFolder / "XMLSchemas");
    m_IniFile = platform::utf8Of(m_componentFolder / "Resources" / "DTM.ini");

    m_XMLHelp = std::make_unique<xml::XMLHelp>(m_componentFolder);
    m_Dictionary = std::make_unique<support::clsDictionary>();
    m_Dictionary->LoadDictionary(platform::utf8Of(m_componentFolder / "XMLData" / "DTMDictionary.xml"));

    gateway::GatewayHost& host = *this;
    m_Gateway = std::make_unique<gateway::HartGateway>(host, *m_XMLHelp, platform::services().eventLoop);

    m_CommStatus = std::int32_t{1};
    Set_Status();

    support::CheckTraceFileSize(m_componentFolder);
}

DTMMain::~DTMMain()
{
    // The gateway works on the document toolkit; it goes first.
    m_Gateway.reset();
    m_XMLHelp.reset();
    m_Channels.reset();
}

void DTMMain::detach() noexcept
{
    m_Gateway->detach();
    m_Container.reset();
    m_persistenceSite.reset();
    m_monitorObserver = nullptr;
}

// --- persistence -------------------------------------------------------------------------

void DTMMain::InitNewProperties()
{
    // A value that does not convert ends the initialisation; nothing is reported then.
    for (const PersistentProperty& property : PersistentProperty::all()) {
        const std::string text =
            property.iniSection.empty()
                ? std::string(property.newText)
                : support::ReadIniString(platform::pathFromUtf8(m_IniFile), std::string(property.iniSection), std::string(property.iniKey));
        property.set(*this, text);
    }
    m_savedValues.reset();
    for (const PersistentProperty& property : PersistentProperty::all())
        markChanged(std::string(property.key));
}

void DTMMain::LoadProperties(platform::PropertyBag& bag)
{
    for (const PersistentProperty& property : PersistentProperty::all())
        property.set(*this, bag.read(std::string(property.key), property.defaultValue()));
    m_savedValues = persistedValues();
}

void DTMMain::loadStream(platform::ByteSource& source)
{
    // Every pair of the bag has its property's type: loading it cannot fail half-way.
    platform::MemoryPropertyBag bag = PropertyStream::read(dtmClassId(), source);
    LoadProperties(bag);
}

void DTMMain::saveStream(platform::ByteSink& sink, bool clearDirty)
{
    platform::MemoryPropertyBag bag;
    SaveProperties(bag);
    sink.write(PropertyStream::write(dtmClassId(), bag));
    if (clearDirty)
        markSaved();
}

std::size_t DTMMain::streamSizeMax() const
{
    platform::MemoryPropertyBag bag;
    SaveProperties(bag);
    return PropertyStream::size(bag);
}

bool DTMMain::isDirty() const
{
    return !m_savedValues || *m_savedValues != persistedValues();
}

void DTMMain::markSaved()
{
    m_savedValues = persistedValues();
}

std::vector<fdt::Variant> DTMMain::persistedValues() const
{
    std::vector<fdt::Variant> values;
    for (const PersistentProperty& property : PersistentProperty::all())
        values.push_back(property.get(*this));
    return values;
}

void DTMMain::SaveProperties(platform::PropertyBag& bag) const
{
    for (const PersistentProperty& property : PersistentProperty::all())
        bag.write(std::string(property.key), property.get(*this));
}

void DTMMain::markChanged(const std::string& propertyName)
{
    if (m_persistenceSite)
        m_persistenceSite->PropertyChanged(propertyName);
}

// --- public services for the pages ------------------------------------------------------

std::string DTMMain::GetDictionaryText(const std::string& textId) const
{
    return m_Dictionary->GetTextEntry("keys", textId, "text").value_or(std::string());
}

void DTMMain::PersistentParamChanged(const std::string& paramName, const std::string& newValue)
{
    const std::string document = m_XMLHelp->OnParameterChanged(paramName, newValue);
    const auto events = frameEvents();
    if (!events)
        throw fdt::NullObjectError("PersistentParamChanged: the frame event interface is not available");
    events->OnParameterChanged(m_SystemTag, document);
    markChanged(paramName);
}

void DTMMain::MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                         std::int16_t filter)
{
    if (m_monitorObserver)
        m_monitorObserver(functionName, message, lineColor, filter);

    const auto page = fdt::query<IMonitorPage>(m_CtlMonitor.lock());
    if (!page)
        return;
    bool shown = false;
    switch (filter) {
    case support::filter::ZebProtocol:
        shown = PersistentZEBProtocolFilter;
        break;
    case support::filter::HartProtocol:
        shown = PersistentHARTProtocolFilter;
        break;
    case support::filter::FdtInterface:
        shown = PersistentFDTInterfaceFilter;
        break;
    default:
        break;
    }
    if (shown)
        page->MessageLine(nameColumn(functionName) + "- " + message, lineColor);
}

void DTMMain::Set_Status()
{
    const std::int32_t status = m_CommStatus.as<std::int32_t>();
    switch (status) {
    case 0:
        m_StatusText = GetDictionaryText(std::string(text::kConnected));
        break;
    case 1:
        m_StatusText = GetDictionaryText(std::string(text::kDisconnected));
        break;
    case 2:
        m_StatusText = GetDictionaryText(std::string(text::kConnectionError));
        break;
    default:
        break;
    }
    if (const auto page = fdt::query<IOfflineParamPage>(m_CtlOfflineParam.lock()))
        page->SetParameterStatus(m_CommStatus, m_StatusText);
}

void DTMMain::CommStatus(const fdt::Variant& value)
{
    m_CommStatus = support::toLong(value);
}

void DTMMain::TranslateControls(const std::string& prefix, const ControlList& controls)
{
    for (Control* control : controls) {
        try {
            if (!control)
                continue;
            std::string key;
            try {
                key = prefix + control->name();
                if (const std::optional<int> index = control->index())
                    key += "_" + std::to_string(*index);
            } catch (const std::exception&) {
                key.clear();
            }
            if (key.size() > prefix.size() && control->hasCaption())
                control->setCaption(m_Dictionary->GetTextEntry("keys", key, "text").value_or(std::string()));
        } catch (const std::exception&) {
            // A control that cannot be translated keeps what it shows.
        }
    }
}

void DTMMain::updatePageLanguages()
{
    for (const auto* page : {&m_CtlMonitor, &m_CtlOfflineParam, &m_CtlAbout}) {
        if (const auto gui = fdt::query<IActiveXGUI>(page->lock())) {
            try {
                gui->UpdateLanguage();
            } catch (const std::exception&) {
                // A page that fails to translate keeps its texts; the others still follow.
            }
        }
    }
}

std::shared_ptr<fdt::IDtmEvents> DTMMain::frameEvents() const
{
    return fdt::query<fdt::IDtmEvents>(m_Container);
}

// --- IDtm ----------------------------------------------------------------------------------

bool DTMMain::Environment(const std::string& systemTag, const fdt::ObjectPtr& container)
{
    if (container) {
        // Queried only; the interface has no operation the DTM calls.
        fdt::require<fdt::IFdtTopology>(container);
    }
    if (systemTag.empty() || !container || !fdt::query<fdt::IDtmEvents>(container) || !m_SystemTag.empty() ||
        m_Container) {
        monitorRefused(*this, "IDtm_Environment()");
        return false;
    }
    // The container is held as the frame's container interface.
    const auto frameContainer = fdt::require<fdt::IFdtContainer>(container);
    m_SystemTag = systemTag;
    m_Container = container;

    m_XMLHelp->InitXMLSchemaCache(frameContainer->GetXmlSchemaPath());
    m_XMLHelp->InitXMLSchemaCache(m_XMLSchemaPath);

    monitorOk(*this, "IDtm_Environment()");
    return true;
}

bool DTMMain::Config(const std::string& userInfo)
{
    const std::string level = m_XMLHelp->GetUserLevel(userInfo);
    if (level == "observer" || level == "operator" || level == "maintenance" || level == "planningEngineer") {
        monitorOk(*this, "IDtm_Config()");
        return true;
    }
    monitorRefused(*this, "IDtm_Config()");
    return false;
}

bool DTMMain::InitNew(const std::string& deviceType)
{
    monitorOk(*this, "IDtm_InitNew()");
    return m_XMLHelp->CheckInitInformation(deviceType);
}

bool DTMMain::SetCommunication(const std::shared_ptr<fdt::IFdtCommunication>& communication)
{
    MonitorMsg("IDtm.SetCommunication()", "Methodenanfang", support::color::Green, support::filter::FdtInterface);
    m_Gateway->communicator().ZEBDriverInterface(communication);
    if (!communication) {
        monitorRefused(*this, "IDtm.SetCommunication()", "Communication Pointer is Nothing");
        return false;
    }
    monitorOk(*this, "IDtm.SetCommunication()");
    return true;
}

bool DTMMain::PrepareToRelease()
{
    const auto events = frameEvents();
    if (!events) {
        monitorRefused(*this, "IDtm_PrepareToRelease()");
        return false;
    }
    events->OnPreparedToRelease(m_SystemTag);
    monitorOk(*this, "IDtm_PrepareToRelease()");
    return true;
}

bool DTMMain::PrepareToReleaseCommunication()
{
    const auto events = frameEvents();
    m_Gateway->communicator().ReleaseCommunication();
    if (!events) {
        monitorRefused(*this, "IDtm.PrepareToReleaseCommunication()");
        return false;
    }
    events->OnPreparedToReleaseCommunication(m_SystemTag);
    monitorOk(*this, "IDtm.PrepareToReleaseCommunication()");
    return true;
}

bool DTMMain::ReleaseCommunication()
{
    m_Gateway->communicator().ZEBDriverInterface(nullptr);
    monitorOk(*this, "IDtm.ReleaseCommunication()");
    return true;
}

bool DTMMain::PrepareToDelete()
{
    const auto events = frameEvents();
    if (!events) {
        monitorRefused(*this, "IDtm_PrepareToDelete()");
        return false;
    }
    events->OnPreparedToRelease(m_SystemTag);
    monitorOk(*this, "IDtm_PrepareToDelete()");
    return true;
}

bool DTMMain::SetLanguage(std::int32_t languageId)
{
    support::Trace("IDtm_SetLanguage", "Begin");
    monitorOk(*this, "IDtm_SetLanguage()");

    // The primary language of a locale identifier; % keeps the sign of the dividend.
    const std::int32_t primaryLanguage = languageId % 1024;
    const std::int32_t selected = m_Dictionary->GetIdOfLanguage(m_Dictionary->GetSelectedLanguage());

    bool result = true;
    if (primaryLanguage != selected) {
        result = m_Dictionary->SelectLanguage(primaryLanguage, false);
        updatePageLanguages();
    }
    if (!result)
        support::Trace("IDtm_SetLanguage", "Return Value is FALSE");
    return result;
}

bool DTMMain::InvokeFunctionRequest(const std::string&, const std::string&)
{
    monitorRefused(*this, "IDtm_InvokeFunctionRequest()");
    return false;
}

bool DTMMain::PrivateDialogEnabled(bool)
{
    monitorOk(*this, "IDtm_PrivateDialogEnabled()");
    return true;
}

// --- information, functions and documentation --------------------------------------------

std::string DTMMain::GetInformation()
{
    return m_XMLHelp->GetDTMInformationDoc(m_XMLSchemaPath);
}

std::string DTMMain::GetFunctions(const std::string&)
{
    monitorOk(*this, "IDtm_GetFunctions()");
    return m_Dictionary->TranslateStringTags(m_XMLHelp->GetDTMFunctionsDoc(m_XMLSchemaPath, m_offersPages));
}

std::string DTMMain::GetActiveXProgId(const std::string& functionCall)
{
    monitorOk(*this, "IDtmActiveXInformation_GetActiveXProgId()");
    const std::string functionId = m_XMLHelp->GetProgId(functionCall);
    if (!m_offersPages)
        return {};
    for (const ComponentClass& page : kPageClasses) {
        if (functionId == page.functionId)
            return page.progId;
    }
    return {};
}

std::string DTMMain::GetActiveXGuid(const std::string& functionCall)
{
    monitorOk(*this, "IDtmActiveXInformation_GetActiveXGuid()");
    const std::string progId = GetActiveXProgId(functionCall);
    fdt::Guid clsid;
    if (progId.empty() || !support::ProgIdToClsid(progId, clsid))
        return {};
    return support::ClsidToString(clsid);
}

std::string DTMMain::GetDocumentation(const std::string& functionCall)
{
    std::vector<xml::clsDataElement> entries;
    if (isOfflineParameterFunction(m_XMLHelp->DocFunctionID(functionCall))) {
        entries.push_back({GetDictionaryText(std::string(text::kDeviceTypeLabel)), "",
                           deviceAt(PersistentDeviceList, PersistentDeviceTypeIndex).value_or(""), ""});
        entries.push_back({GetDictionaryText(std::string(text::kWarmstartDelayLabel)), "",
                           std::to_string(PersistentWarmstartDelay) + " [s]", ""});
    }
    return m_XMLHelp->GetDTMDocumentationDoc(entries);
}

// --- channel, parameters and topology ------------------------------------------------------

std::shared_ptr<fdt::IFdtChannelCollection> DTMMain::GetChannels()
{
    monitorOk(*this, "IDtmChannel_GetChannels()");
    return m_Channels;
}

std::string DTMMain::GetChannelPath()
{
    monitorOk(*this, "IFdtChannel_GetChannelPath()");
    return m_SystemTag + "/" + m_ChannelUUID;
}

std::string DTMMain::GetChannelParameters(const std::string&, const std::string&)
{
    monitorOk(*this, "IFdtChannel_GetChannelParameters(...)");
    return m_XMLHelp->FdtBasicChannelParameter(m_SystemTag, m_ChannelUUID);
}

bool DTMMain::SetChannelParameters(const std::string&, const std::string&, const std::string&)
{
    monitorOk(*this, "FdtChannel_SetChannelParameters(...)");
    return true;
}

std::string DTMMain::GetParameters(const std::string&)
{
    support::Trace("IDtmParameter_GetParameters", "entry");
    return m_XMLHelp->GetDTMParametersDoc(m_XMLSchemaPath);
}

bool DTMMain::SetParameters(const std::string&, const std::string&)
{
    return true;
}

bool DTMMain::ScanRequest(const std::string&)
{
    return false;
}

bool DTMMain::ValidateAddChild(const std::string&)
{
    return m_ChildSystemTag.empty();
}

bool DTMMain::ValidateRemoveChild(const std::string&)
{
    return true;
}

void DTMMain::OnAddChild(const std::string& childSystemTag)
{
    m_ChildSystemTag = childSystemTag;
}

void DTMMain::OnRemoveChild(const std::string&)
{
    m_ChildSystemTag.clear();
}

void DTMMain::OnChildParameterChanged(const std::string&) {}

void DTMMain::OnParameterChanged(const std::string&, const std::string&) {}

void DTMMain::OnLockDataSet(const std::string&, const std::string&) {}

bool DTMMain::OnUnlockDataSet(const std::string&, const std::string&)
{
    return true;
}

// --- IFdtCommunication: the child's requests go to the gateway -----------------------------

void DTMMain::Abort(const std::string& fieldbusFrame)
{
    m_Gateway->Abort(fieldbusFrame);
}

bool DTMMain::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                             const std::string& invokeId, const std::string& protocolId,
                             const std::string& fieldbusFrame)
{
    return m_Gateway->ConnectRequest(callback, invokeId, protocolId, fieldbusFrame);
}

bool DTMMain::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return m_Gateway->DisconnectRequest(invokeId, fieldbusFrame);
}

bool DTMMain::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return m_Gateway->TransactionRequest(invokeId, fieldbusFrame);
}

std::string DTMMain::GetSupportedProtocols()
{
    return m_Gateway->GetSupportedProtocols();
}

bool DTMMain::SequenceBegin(const std::string& fieldbusFrame)
{
    return m_Gateway->SequenceBegin(fieldbusFrame);
}

bool DTMMain::SequenceStart(const std::string& fieldbusFrame)
{
    return m_Gateway->SequenceStart(fieldbusFrame);
}

bool DTMMain::SequenceEnd(const std::string& fieldbusFrame)
{
    return m_Gateway->SequenceEnd(fieldbusFrame);
}

// --- IFdtCommunicationEvents: the parent's answers go to the gateway -------------------------

void DTMMain::OnAbort(const std::string& communicationReference)
{
    m_Gateway->OnAbort(communicationReference);
}

void DTMMain::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    m_Gateway->OnConnectResponse(invokeId, response);
}

void DTMMain::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    m_Gateway->OnDisconnectResponse(invokeId, response);
}

void DTMMain::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    m_Gateway->OnTransactionResponse(invokeId, response);
}

// --- GatewayHost ---------------------------------------------------------------------------

std::array<std::string, 6> DTMMain::identityTexts() const
{
    std::array<std::string, 6> texts;
    std::ranges::transform(PersistentProperty::identity(), texts.begin(),
                           [this](const PersistentProperty& item) { return item.get(*this).as<std::string>(); });
    return texts;
}

void DTMMain::setCommStatus(std::int32_t status)
{
    m_CommStatus = status;
    Set_Status();
}

std::shared_ptr<fdt::IFdtCommunicationEvents> DTMMain::selfAsCallback()
{
    return std::static_pointer_cast<fdt::IFdtCommunicationEvents>(shared_from_this());
}

} // namespace zeb2hart::core
