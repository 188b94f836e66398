#include "ui/qt/ctlOfflineParam.h"


#include "support/Conversions.h"
#include "support/IniFile.h"
#include "pages/OfflineParamLogic.h"
#include "pages/PageLayout.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;

namespace {

QLabel* captionLabel(QLabel* label, const char* designCaption, bool bold = false)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromLatin1(designCaption));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bold)
        label->setFont(pageFont(true));
    return label;
}

} // namespace

ctlOfflineParam::ctlOfflineParam() : PageWidget("ctlOfflineParam")
{
    m_deviceArea = addPanel("DeviceArea", this, support::kPanelLightBlue);
    m_deviceImage = addControl<PictureBox>("DeviceImage", m_deviceArea);
    m_lblDeviceType = captionLabel(addControl<QLabel>("lblDeviceType", m_deviceArea), "lblDeviceType");
    m_lblHeadlineTitle = captionLabel(addControl<QLabel>("lblHeadlineTitle", m_deviceArea), "lblHeadlineTitle");
    m_statusArea = addPanel("StatusArea", this, support::kPanelLightBlue);
    m_statusImage = addControl<PictureBox>("StatusImage", m_statusArea);
    m_lblCommStatus = captionLabel(addControl<QLabel>("lblCommStatus", m_statusArea), "lblCommStatus");
    m_treeArea = addPanel("TreeArea", this, support::kPanelLightBlue);
    m_parameterFreeArea = addPanel("ParameterFreeArea", this, support::kPanelLightBlue);
    m_titleParameterArea = addPanel("TitleParameterArea", m_parameterFreeArea, kWhite);
    m_lblParameter = captionLabel(addControl<QLabel>("lblParameter", m_titleParameterArea), "lblParameter", true);
    m_parameterArea = addPanel("ParameterArea", m_parameterFreeArea, kWhite);
    m_lblGateway = captionLabel(addControl<QLabel>("lblGateway", m_parameterArea), "lblGateway", true);
    m_lblDevType = captionLabel(addControl<QLabel>("lblDevType", m_parameterArea), "lblDevType");
    m_lblWarmstartDelay = captionLabel(addControl<QLabel>("lblWarmstartDelay", m_parameterArea), "lblWarmstartDelay");
    m_lblUnitDelay = captionLabel(addControl<QLabel>("lblUnitDelay", m_parameterArea), "lblUnitDelay");
    m_devTypeCombo = addControl<QComboBox>("DevTypeCombo", m_parameterArea);
    m_wsDelayValue = addControl<DelayBox>("WSDelayValue", m_parameterArea);

    QPalette titlePalette = m_lblHeadlineTitle->palette();
    titlePalette.setColor(QPalette::WindowText, windowsColor(support::kPageBlue));
    m_lblHeadlineTitle->setPalette(titlePalette);
    m_devTypeCombo->setEditable(false);

    // The user's choice from the list runs the handler, also when it is the entry already selected.
    connect(m_devTypeCombo, &QComboBox::activated, this, [this](int position) { DevTypeCombo_Click(position); });
    connect(m_wsDelayValue, &QLineEdit::textChanged, this, [this] { WSDelayValue_Change(); });
    m_wsDelayValue->onKeyReleased = [this] { WSDelayValue_KeyUp(); };

    resize(640, 480);
    layOut();
}

ctlOfflineParam::~ctlOfflineParam()
{
    m_session.close();
}

bool ctlOfflineParam::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    if (!m_session.open(invokeId, dtm))
        return false;
    core::DTMMain& gatewayDtm = *m_session.dtm();
    layOut();
    m_deviceImage->load(componentFolder() / "Resources" / "Device_small.gif");
    // Not registered yet: this only refreshes the DTM's status text.
    gatewayDtm.Set_Status();
    gatewayDtm.CtlOfflineParamPointer(self());
    fillDeviceList();
    m_wsDelayValue->setText(QString::fromStdString(warmstartDelayText(gatewayDtm)));
    UpdateLanguage();
    return true;
}

void ctlOfflineParam::fillDeviceList()
{
    core::DTMMain& dtm = *m_session.dtm();
    dtm.PersistentDeviceList = support::ReadIniString(dtm.iniFile(), "DeviceList", "Devices");
    // Filling selects nothing; the selection below is the one that counts.
    m_devTypeCombo->clear();
    for (const std::string& name : splitDeviceList(dtm.PersistentDeviceList))
        m_devTypeCombo->addItem(QString::fromStdString(name));
    m_devTypeCombo->setCurrentIndex(-1);
    // Selecting the stored entry runs the handler as a choice does.
    const int selected = deviceIndexToSelect(dtm.PersistentDeviceTypeIndex, m_devTypeCombo->count());
    if (selected >= 0) {
        m_devTypeCombo->setCurrentIndex(selected);
        DevTypeCombo_Click(selected);
    }
}

bool ctlOfflineParam::PrepareToRelease()
{
    return m_session.release([](core::DTMMain& dtm) { dtm.CtlOfflineParamPointer(nullptr); });
}

void ctlOfflineParam::UpdateLanguage()
{
    core::DTMMain* dtm = m_session.dtm();
    if (!dtm)
        return;
    dtm->TranslateControls("ctlOfflineParam_", controlList());
    m_headline->Title(dtm->GetDictionaryText("str_ZEBDriver"));
    dtm->Set_Status();
}

void ctlOfflineParam::SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText)
{
    if (const auto status = statusValue(newValue)) {
        if (const auto picture = statusPicture(componentFolder(), *status))
            m_statusImage->load(*picture);
    }
    m_lblCommStatus->setText(QString::fromStdString(statusText));
}

void ctlOfflineParam::DevTypeCombo_Click(int position)
{
    if (position < 0)
        return;
    SetDeviceType(m_session.dtm(), position, m_devTypeCombo->itemText(position).toStdString());
}

void ctlOfflineParam::WSDelayValue_Change()
{
    CheckWarmstartDelay(m_session.dtm(), m_wsDelayValue->text().toStdString());
}

void ctlOfflineParam::WSDelayValue_KeyUp()
{
    const core::DTMMain* dtm = m_session.dtm();
    if (!dtm)
        return;
    // Rewriting the same text would only move the caret to the end.
    const QString shown = QString::fromStdString(warmstartDelayText(*dtm));
    if (m_wsDelayValue->text() != shown)
        m_wsDelayValue->setText(shown);
}

void ctlOfflineParam::pageResized()
{
    layOut();
}

void ctlOfflineParam::layOut()
{
    const TwipSize page = twipSize(*this);
    const OfflineParamLayout l = layoutOfflineParam(page.width, page.height);
    place(*m_headline, l.headline);
    place(*m_deviceArea, l.deviceArea);
    place(*m_statusArea, l.statusArea);
    place(*m_treeArea, l.treeArea);
    place(*m_parameterFreeArea, l.parameterFreeArea);
    place(*m_deviceImage, l.deviceImage);
    place(*m_lblDeviceType, l.lblDeviceType);
    place(*m_lblHeadlineTitle, l.lblHeadlineTitle);
    place(*m_statusImage, l.statusImage);
    place(*m_lblCommStatus, l.lblCommStatus);
    place(*m_titleParameterArea, l.titleParameterArea);
    place(*m_parameterArea, l.parameterArea);
    place(*m_lblParameter, l.lblParameter);
    place(*m_lblGateway, l.lblGateway);
    place(*m_lblDevType, l.lblDevType);
    place(*m_lblWarmstartDelay, l.lblWarmstartDelay);
    place(*m_lblUnitDelay, l.lblUnitDelay);
    place(*m_devTypeCombo, l.devTypeCombo);
    place(*m_wsDelayValue, l.wsDelayValue);
}

} // namespace zeb2hart::ui
