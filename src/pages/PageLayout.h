#pragma once
// Where the controls of the pages stand, computed from the page size alone so
// that the rules can be checked without a window. All values in twips; every
// rectangle is relative to the control's own container. Functions of the page
// size; any thread.

#include "pages/Twips.h"

namespace zeb2hart::pages {

constexpr int kHeadlineHeight = 315;
// The logo's right edge stays this far from the headline's right edge.
constexpr int kLogoRightGap = 10;

int headlineLogoLeft(int headlineWidth, int logoWidth);

// --- communication monitor -------------------------------------------------------------
constexpr TwipSize kMonitorCheckBoxSize{2400, 255};
constexpr TwipSize kMonitorButtonSize{1200, 375};

struct MonitorLayout {
    TwipRect headline;
    TwipRect parameterFreeArea;                                 // in the page
    TwipRect monitorBack, monitorSettings;                      // in ParameterFreeArea
    TwipRect richTextBox;                                       // in MonitorBack
    TwipRect chkFDTInterface, chkZEBProtocols, chkHARTProtocols; // in MonitorSettings
    TwipRect btnClear, btnSave;                                 // in MonitorSettings
};

MonitorLayout layoutMonitor(int pageWidth, int pageHeight);

// --- offline parameter page ------------------------------------------------------------
constexpr int kLeftColumnWidth = 2700;
constexpr int kDeviceAreaHeight = 930;
constexpr int kStatusAreaHeight = 600;
constexpr int kParameterLeft = 2700;
constexpr TwipSize kDeviceImageSize{720, 720};
constexpr TwipSize kStatusImageSize{780, 195};
constexpr TwipSize kAreaLabelSize{1680, 255};
constexpr TwipSize kParameterLabelSize{2250, 315};
constexpr TwipSize kDevTypeComboSize{2700, 315};
constexpr TwipSize kDelayBoxSize{1200, 315};
constexpr TwipSize kUnitLabelSize{600, 315};
constexpr TwipSize kHeadingLabelSize{3000, 255};

struct OfflineParamLayout {
    TwipRect headline;
    TwipRect deviceArea, statusArea, treeArea, parameterFreeArea; // in the page
    TwipRect deviceImage, lblDeviceType, lblHeadlineTitle;      // in DeviceArea
    TwipRect statusImage, lblCommStatus;                        // in StatusArea
    TwipRect titleParameterArea, parameterArea;                 // in ParameterFreeArea
    TwipRect lblParameter;                                      // in TitleParameterArea
    TwipRect lblGateway, lblDevType, lblWarmstartDelay, lblUnitDelay, devTypeCombo, wsDelayValue; // in ParameterArea
};

OfflineParamLayout layoutOfflineParam(int pageWidth, int pageHeight);

// --- about page --------------------------------------------------------------------------
struct AboutLayout {
    TwipRect headline;
    TwipRect aboutBack; // in the page
    // Design positions inside AboutBack; they do not follow the page size.
    TwipRect deviceImage, lblTitle, lblDescription, lblVersion, lblDisclaimer, upperLine, lowerLine;
};

AboutLayout layoutAbout(int pageWidth, int pageHeight);

} // namespace zeb2hart::pages
