#include "pages/PageServices.h"

#include "core/DTMMain.h"
#include "core/PersistentProperties.h"
#include "fdt/Errors.h"

namespace zeb2hart::pages {

namespace {

// The services of a gateway DTM in this process. It holds the DTM, so that an
// open page never reaches a DTM that is gone.
class DtmPageServices final : public PageServices {
public:
    explicit DtmPageServices(std::shared_ptr<core::DTMMain> dtm) : m_dtm(std::move(dtm)) {}

    fdt::ObjectPtr frame() override { return m_dtm->OnInitControl(); }
    std::string dictionaryText(const std::string& textId) override { return m_dtm->GetDictionaryText(textId); }
    void registerPage(PageKind kind, const fdt::ObjectPtr& page) override
    {
        switch (kind) {
        case PageKind::Monitor:
            m_dtm->CtlMonitorPointer(page);
            break;
        case PageKind::OfflineParam:
            m_dtm->CtlOfflineParamPointer(page);
            break;
        case PageKind::About:
            m_dtm->CtlAboutPointer(page);
            break;
        }
    }
    void parameterChanged(std::string_view key, const std::string& newValue) override
    {
        m_dtm->PersistentParamChanged(std::string(key), newValue);
    }
    void refreshStatus() override { m_dtm->Set_Status(); }
    void translate(const std::string& prefix, const core::ControlList& controls) override
    {
        m_dtm->TranslateControls(prefix, controls);
    }
    std::filesystem::path componentFolder() override { return m_dtm->componentFolder(); }
    std::filesystem::path settingsFile() override { return m_dtm->iniFile(); }
    fdt::Variant property(std::string_view key) override { return require(key).get(*m_dtm); }
    void setProperty(std::string_view key, const fdt::Variant& value) override { require(key).set(*m_dtm, value); }

private:
    static const core::PersistentProperty& require(std::string_view key)
    {
        const core::PersistentProperty* property = core::PersistentProperty::find(key);
        if (!property)
            throw fdt::NotFoundError("no persisted property " + std::string(key));
        return *property;
    }

    std::shared_ptr<core::DTMMain> m_dtm;
};

} // namespace

std::shared_ptr<PageServices> pageServicesOf(const fdt::ObjectPtr& dtm)
{
    auto gatewayDtm = fdt::query<core::DTMMain>(dtm);
    if (!gatewayDtm)
        return nullptr;
    return std::make_shared<DtmPageServices>(std::move(gatewayDtm));
}

} // namespace zeb2hart::pages
