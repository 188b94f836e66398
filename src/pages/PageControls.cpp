#include "pages/PageControls.h"

#include <array>

#include "pages/PageLayout.h"
#include "support/Conversions.h"

namespace zeb2hart::pages {

namespace {

using support::kPageBlue;
using support::kPanelLightBlue;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDisclaimerGrey = 0x606060;

constexpr ControlStyle panel(std::uint32_t background)
{
    ControlStyle style;
    style.background = background;
    style.transparent = false;
    return style;
}
constexpr ControlStyle text(std::uint32_t color = 0, bool bold = false, bool wordWrap = false, double pointSize = 8.25)
{
    ControlStyle style;
    style.textColor = color;
    style.bold = bold;
    style.wordWrap = wordWrap;
    style.pointSize = pointSize;
    return style;
}
constexpr ControlStyle headline()
{
    ControlStyle style = panel(kWhite);
    style.textColor = kPageBlue;
    style.bold = true;
    return style;
}
constexpr ControlStyle plain = {};

// One row with the member of its page's layout that places it.
template <class Layout>
struct Row {
    ControlInfo info;
    TwipRect Layout::*place;
};

template <class Layout, std::size_t N>
struct Table {
    std::array<ControlInfo, N> controls;
    std::array<TwipRect Layout::*, N> places;
};

template <class Layout, std::size_t N>
constexpr Table<Layout, N> tableOf(const Row<Layout> (&rows)[N])
{
    Table<Layout, N> table{};
    for (std::size_t i = 0; i < N; ++i) {
        table.controls[i] = rows[i].info;
        table.places[i] = rows[i].place;
    }
    return table;
}

template <class Layout, std::size_t N>
std::vector<TwipRect> rectanglesOf(const Table<Layout, N>& table, const Layout& layout)
{
    std::vector<TwipRect> rects;
    rects.reserve(N);
    for (const auto place : table.places)
        rects.push_back(layout.*place);
    return rects;
}

// --- the communication monitor ----------------------------------------------------------
using M = MonitorLayout;
constexpr Row<M> kMonitorRows[] = {
    {{"ctlHeadline", {}, ControlKind::Headline, -1, nullptr, headline()}, &M::headline},
    {{"ParameterFreeArea", {}, ControlKind::Panel, -1, nullptr, panel(kPanelLightBlue)}, &M::parameterFreeArea},
    {{"MonitorBack", {}, ControlKind::Panel, monitor::ParameterFreeArea, nullptr, panel(kWhite)}, &M::monitorBack},
    {{"RichTextBoxComm", {}, ControlKind::Monitor, monitor::MonitorBack, nullptr, panel(kWhite)}, &M::richTextBox},
    {{"MonitorSettings", {}, ControlKind::Panel, monitor::ParameterFreeArea, nullptr, panel(kWhite)}, &M::monitorSettings},
    {{"chkFDTInterface", {}, ControlKind::CheckBox, monitor::MonitorSettings, "FDT-Interface", panel(kWhite)}, &M::chkFDTInterface},
    {{"chkZEBProtocols", {}, ControlKind::CheckBox, monitor::MonitorSettings, "ZEB-Protocols", panel(kWhite)}, &M::chkZEBProtocols},
    {{"chkHARTProtocols", {}, ControlKind::CheckBox, monitor::MonitorSettings, "HART-Protocols", panel(kWhite)}, &M::chkHARTProtocols},
    {{"btnClear", {}, ControlKind::Button, monitor::MonitorSettings, "Clear", plain}, &M::btnClear},
    {{"btnSave", {}, ControlKind::Button, monitor::MonitorSettings, "Save", plain}, &M::btnSave},
};
constexpr auto kMonitor = tableOf(kMonitorRows);

// --- the offline parameter page -----------------------------------------------------------
using O = OfflineParamLayout;
constexpr Row<O> kOfflineRows[] = {
    {{"ctlHeadline", {}, ControlKind::Headline, -1, nullptr, headline()}, &O::headline},
    {{"DeviceArea", {}, ControlKind::Panel, -1, nullptr, panel(kPanelLightBlue)}, &O::deviceArea},
    {{"DeviceImage", {}, ControlKind::Picture, offline::DeviceArea, nullptr, plain}, &O::deviceImage},
    {{"lblDeviceType", {}, ControlKind::Label, offline::DeviceArea, "lblDeviceType", text()}, &O::lblDeviceType},
    {{"lblHeadlineTitle", {}, ControlKind::Label, offline::DeviceArea, "lblHeadlineTitle", text(kPageBlue)}, &O::lblHeadlineTitle},
    {{"StatusArea", {}, ControlKind::Panel, -1, nullptr, panel(kPanelLightBlue)}, &O::statusArea},
    {{"StatusImage", {}, ControlKind::Picture, offline::StatusArea, nullptr, plain}, &O::statusImage},
    {{"lblCommStatus", {}, ControlKind::Label, offline::StatusArea, "lblCommStatus", text()}, &O::lblCommStatus},
    {{"TreeArea", {}, ControlKind::Panel, -1, nullptr, panel(kPanelLightBlue)}, &O::treeArea},
    {{"ParameterFreeArea", {}, ControlKind::Panel, -1, nullptr, panel(kPanelLightBlue)}, &O::parameterFreeArea},
    {{"TitleParameterArea", {}, ControlKind::Panel, offline::ParameterFreeArea, nullptr, panel(kWhite)}, &O::titleParameterArea},
    {{"lblParameter", {}, ControlKind::Label, offline::TitleParameterArea, "lblParameter", text(0, true)}, &O::lblParameter},
    {{"ParameterArea", {}, ControlKind::Panel, offline::ParameterFreeArea, nullptr, panel(kWhite)}, &O::parameterArea},
    {{"lblGateway", {}, ControlKind::Label, offline::ParameterArea, "lblGateway", text(0, true)}, &O::lblGateway},
    {{"lblDevType", {}, ControlKind::Label, offline::ParameterArea, "lblDevType", text()}, &O::lblDevType},
    {{"lblWarmstartDelay", {}, ControlKind::Label, offline::ParameterArea, "lblWarmstartDelay", text()}, &O::lblWarmstartDelay},
    {{"lblUnitDelay", {}, ControlKind::Label, offline::ParameterArea, "lblUnitDelay", text()}, &O::lblUnitDelay},
    {{"DevTypeCombo", {}, ControlKind::ComboBox, offline::ParameterArea, nullptr, plain}, &O::devTypeCombo},
    {{"WSDelayValue", {}, ControlKind::DelayBox, offline::ParameterArea, nullptr, plain}, &O::wsDelayValue},
};
constexpr auto kOffline = tableOf(kOfflineRows);

// --- the about page: every label's design caption is its own name, so that each
// text it shows comes from the dictionary ---------------------------------------------------
using A = AboutLayout;
constexpr Row<A> kAboutRows[] = {
    {{"ctlHeadline", {}, ControlKind::Headline, -1, nullptr, headline()}, &A::headline},
    {{"AboutBack", {}, ControlKind::Panel, -1, nullptr, panel(kWhite)}, &A::aboutBack},
    {{"DeviceImage", {}, ControlKind::Picture, about::AboutBack, nullptr, plain}, &A::deviceImage},
    {{"lblTitle", {}, ControlKind::Label, about::AboutBack, "lblTitle", text(kPageBlue, true, false, 12)}, &A::lblTitle},
    {{"linDecor", 0, ControlKind::Line, about::AboutBack, nullptr, text(kPageBlue)}, &A::upperLine},
    {{"lblDescription", {}, ControlKind::Label, about::AboutBack, "lblDescription", text(0, false, true)}, &A::lblDescription},
    {{"lblVersion", {}, ControlKind::Label, about::AboutBack, "lblVersion", text()}, &A::lblVersion},
    {{"linDecor", 1, ControlKind::Line, about::AboutBack, nullptr, text(kPageBlue)}, &A::lowerLine},
    {{"lblDisclaimer", {}, ControlKind::Label, about::AboutBack, "lblDisclaimer", text(kDisclaimerGrey, false, true)}, &A::lblDisclaimer},
};
constexpr auto kAbout = tableOf(kAboutRows);

const PageTable kMonitorTable{PageKind::Monitor, "ctlMonitor", kMonitor.controls, [](TwipSize page) {
                                  return rectanglesOf(kMonitor, layoutMonitor(page.width, page.height));
                              }};
const PageTable kOfflineTable{PageKind::OfflineParam, "ctlOfflineParam", kOffline.controls, [](TwipSize page) {
                                  return rectanglesOf(kOffline, layoutOfflineParam(page.width, page.height));
                              }};
const PageTable kAboutTable{PageKind::About, "ctlAbout", kAbout.controls, [](TwipSize page) {
                                return rectanglesOf(kAbout, layoutAbout(page.width, page.height));
                            }};
const PageTable* const kTables[] = {&kMonitorTable, &kOfflineTable, &kAboutTable};

} // namespace

int PageTable::find(std::string_view name, std::optional<int> index) const
{
    for (std::size_t row = 0; row < controls.size(); ++row) {
        if (controls[row].name == name && controls[row].index == index)
            return static_cast<int>(row);
    }
    return -1;
}

std::string PageTable::dictionaryKey(int row) const
{
    const ControlInfo& control = controls[static_cast<std::size_t>(row)];
    std::string key(controlName);
    key += '_';
    key += control.name;
    if (control.index)
        key += "_" + std::to_string(*control.index);
    return key;
}

const PageTable& monitorTable()
{
    return kMonitorTable;
}

const PageTable& offlineParamTable()
{
    return kOfflineTable;
}

const PageTable& aboutTable()
{
    return kAboutTable;
}

const PageTable& pageTable(PageKind kind)
{
    switch (kind) {
    case PageKind::Monitor:
        return kMonitorTable;
    case PageKind::OfflineParam:
        return kOfflineTable;
    case PageKind::About:
        break;
    }
    return kAboutTable;
}

std::span<const PageTable* const> pageTables()
{
    return kTables;
}

} // namespace zeb2hart::pages
