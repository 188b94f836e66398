#include "pages/ctlOfflineParam.h"

#include "core/ComponentData.h"
#include "core/PersistentProperties.h"
#include "pages/OfflineParamLogic.h"
#include "support/IniFile.h"

namespace zeb2hart::pages {

ctlOfflineParam::ctlOfflineParam(std::unique_ptr<PageView> view) : Page(std::move(view))
{
    layOut();
}

ctlOfflineParam::~ctlOfflineParam()
{
    close();
}

bool ctlOfflineParam::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    if (!open(invokeId, dtm))
        return false;
    layOut();
    view().setPicture(offline::DeviceImage, componentFolder() / "Resources" / "Device_small.gif");
    // Not registered yet: this only refreshes the DTM's status text.
    services()->refreshStatus();
    services()->registerPage(PageKind::OfflineParam, self());
    fillDeviceList();
    setDelayText(warmstartDelayText(*services()));
    UpdateLanguage();
    return true;
}

void ctlOfflineParam::fillDeviceList()
{
    PageServices& dtm = *services();
    dtm.setProperty(core::key::PersistentDeviceList, support::ReadIniString(dtm.settingsFile(), "DeviceList", "Devices"));
    // Filling selects nothing; the selection below is the one that counts.
    const std::vector<std::string> names =
        core::splitDeviceList(dtm.property(core::key::PersistentDeviceList).as<std::string>());
    view().setItems(offline::DevTypeCombo, names);
    // Selecting the stored entry runs the handler as a choice does.
    const int selected = deviceIndexToSelect(dtm.property(core::key::PersistentDeviceTypeIndex).as<std::int16_t>(),
                                             static_cast<int>(names.size()));
    if (selected >= 0) {
        view().select(offline::DevTypeCombo, selected);
        DevTypeCombo_Click(selected);
    }
}

bool ctlOfflineParam::PrepareToRelease()
{
    return release();
}

void ctlOfflineParam::UpdateLanguage()
{
    PageServices* dtm = services();
    if (!dtm)
        return;
    dtm->translate(std::string(view().table().controlName) + "_", controlList());
    view().setText(offline::ctlHeadline, dtm->dictionaryText(std::string(core::text::kDriverName)));
    dtm->refreshStatus();
}

void ctlOfflineParam::SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText)
{
    if (const auto status = statusValue(newValue)) {
        if (const auto picture = statusPicture(componentFolder(), *status))
            view().setPicture(offline::StatusImage, *picture);
    }
    view().setText(offline::lblCommStatus, statusText);
}

void ctlOfflineParam::setDelayText(const std::string& text)
{
    if (view().text(offline::WSDelayValue) == text)
        return;
    view().setText(offline::WSDelayValue, text);
    WSDelayValue_Change();
}

void ctlOfflineParam::chosen(int row, int position)
{
    if (row == offline::DevTypeCombo)
        DevTypeCombo_Click(position);
}

void ctlOfflineParam::edited(int row)
{
    if (row == offline::WSDelayValue)
        WSDelayValue_Change();
}

void ctlOfflineParam::keyReleased(int row)
{
    if (row == offline::WSDelayValue)
        WSDelayValue_KeyUp();
}

void ctlOfflineParam::DevTypeCombo_Click(int position)
{
    if (position < 0)
        return;
    SetDeviceType(services(), position, view().itemText(offline::DevTypeCombo, position));
}

void ctlOfflineParam::WSDelayValue_Change()
{
    CheckWarmstartDelay(services(), view().text(offline::WSDelayValue));
}

void ctlOfflineParam::WSDelayValue_KeyUp()
{
    PageServices* dtm = services();
    if (!dtm)
        return;
    // Rewriting the same text would only move the caret to the end.
    setDelayText(warmstartDelayText(*dtm));
}

} // namespace zeb2hart::pages
