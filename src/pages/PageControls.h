#pragma once
// The controls of the three pages, one table per page: each control's name (and
// index in a control array), its kind, the control it sits in, its caption
// before translation (or none), how it looks, and which rectangle of the page
// layout places it. The page logic, TranslateControls, the headless pages and
// both toolkits' views read these tables; nothing else spells a control's name.
// Constant data, safe from any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/Twips.h"

namespace zeb2hart::pages {

enum class ControlKind {
    Headline, // the white strip with the page's title and the vendor's logo (ctlHeadline)
    Panel,    // a rectangle of one colour that holds other controls
    Label,    // a caption
    CheckBox,
    Button,
    ComboBox, // a drop-down list to choose from, not to type in
    DelayBox, // a one-line text box that takes digits only
    Picture,  // an image file, drawn at its size from the top left
    Monitor,  // the monitor's view of coloured lines
    Line,     // a horizontal line in the text colour
};

// How a control looks. Colours are Windows colour values (0x00BBGGRR).
struct ControlStyle {
    std::uint32_t background = 0xFFFFFF; // panels, check boxes and the headline
    std::uint32_t textColor = 0x000000;  // labels and lines
    double pointSize = 8.25;             // "Arial", or "Courier New" for the monitor
    bool bold = false;
    bool wordWrap = false; // labels
    bool transparent = true; // labels and pictures show their container's colour
};

// One control of a page.
struct ControlInfo {
    std::string_view name;
    std::optional<int> index; // a member of a control array
    ControlKind kind;
    int container = -1;      // the row of the control it sits in; -1: the page itself
    const char* caption;     // the design caption; nullptr: the control has none
    ControlStyle style;
};

// The page's control name as the frame and the dictionary know it.
enum class PageKind { Monitor, OfflineParam, About };

struct PageTable {
    PageKind kind;
    std::string_view controlName; // "ctlMonitor", "ctlOfflineParam", "ctlAbout"
    std::span<const ControlInfo> controls;
    // Where each control stands for a page of that size, in table order, each
    // relative to its container.
    std::vector<TwipRect> (*layOut)(TwipSize page);

    // The row of the control with that name (and index); -1 when there is none.
    int find(std::string_view name, std::optional<int> index = std::nullopt) const;
    // The dictionary key of a row: "ctlMonitor_btnClear", "ctlAbout_linDecor_1".
    std::string dictionaryKey(int row) const;
};

// The rows of each page by name, for the page logic.
namespace monitor {
enum Row : int {
    ctlHeadline, ParameterFreeArea, MonitorBack, RichTextBoxComm, MonitorSettings,
    chkFDTInterface, chkZEBProtocols, chkHARTProtocols, btnClear, btnSave,
};
}
namespace offline {
enum Row : int {
    ctlHeadline, DeviceArea, DeviceImage, lblDeviceType, lblHeadlineTitle, StatusArea, StatusImage,
    lblCommStatus, TreeArea, ParameterFreeArea, TitleParameterArea, lblParameter, ParameterArea,
    lblGateway, lblDevType, lblWarmstartDelay, lblUnitDelay, DevTypeCombo, WSDelayValue,
};
}
namespace about {
enum Row : int {
    ctlHeadline, AboutBack, DeviceImage, lblTitle, linDecor0, lblDescription, lblVersion, linDecor1, lblDisclaimer,
};
}

const PageTable& monitorTable();
const PageTable& offlineParamTable();
const PageTable& aboutTable();
const PageTable& pageTable(PageKind kind);
// The three, monitor, offline parameter page, about.
std::span<const PageTable* const> pageTables();

} // namespace zeb2hart::pages
