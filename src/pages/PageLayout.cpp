#include "pages/PageLayout.h"

namespace zeb2hart::pages {

namespace {

TwipRect headlineFor(int pageWidth)
{
    return {0, 0, clampedSize(pageWidth), kHeadlineHeight};
}

// Vertically centred in a container of the given height (integer division).
int centredTop(int containerHeight, int height)
{
    return (containerHeight - height) / 2;
}

} // namespace

int headlineLogoLeft(int headlineWidth, int logoWidth)
{
    return headlineWidth - logoWidth - kLogoRightGap;
}

MonitorLayout layoutMonitor(int pageWidth, int pageHeight)
{
    MonitorLayout l;
    l.headline = headlineFor(pageWidth);
    l.parameterFreeArea = {120, l.headline.height + 120, clampedSize(pageWidth - 240),
                           clampedSize(pageHeight - l.headline.height - 240)};
    const int areaWidth = l.parameterFreeArea.width;

    const auto [boxWidth, boxHeight] = kMonitorCheckBoxSize;
    l.chkFDTInterface = {315, 315, boxWidth, boxHeight};
    l.chkZEBProtocols = {315, l.chkFDTInterface.bottom() + 30, boxWidth, boxHeight};
    l.chkHARTProtocols = {315, l.chkZEBProtocols.bottom() + 30, boxWidth, boxHeight};

    const int settingsHeight = l.chkZEBProtocols.bottom() + 500;
    l.monitorBack = {0, 0, areaWidth, clampedSize(l.parameterFreeArea.height - settingsHeight - 75)};
    l.monitorSettings = {0, l.monitorBack.bottom() + 75, areaWidth, settingsHeight};
    l.richTextBox = {120, 120, clampedSize(areaWidth - 240), clampedSize(l.monitorBack.height - 240)};

    const auto [buttonWidth, buttonHeight] = kMonitorButtonSize;
    l.btnClear = {0, 315, buttonWidth, buttonHeight};
    l.btnSave = {0, 315, buttonWidth, buttonHeight};
    if (l.chkFDTInterface.width + 315 + 315 + l.btnClear.width + 150 + l.btnSave.width + 315 < areaWidth) {
        l.btnClear.left = areaWidth - 315 - l.btnClear.width;
        l.btnSave.left = l.btnClear.left - 150 - l.btnSave.width;
    } else {
        l.btnSave.left = l.chkFDTInterface.width + 630;
        l.btnClear.left = l.btnSave.right() + 150;
    }
    return l;
}

OfflineParamLayout layoutOfflineParam(int pageWidth, int pageHeight)
{
    OfflineParamLayout l;
    l.headline = headlineFor(pageWidth);
    const int headlineHeight = l.headline.height;

    l.deviceArea = {120, headlineHeight + 120, kLeftColumnWidth, kDeviceAreaHeight};
    l.statusArea = {120, l.deviceArea.bottom() + 75, kLeftColumnWidth, kStatusAreaHeight};
    l.treeArea = {120, l.statusArea.bottom() + 75, kLeftColumnWidth,
                  clampedSize(pageHeight - (headlineHeight + 390 + l.deviceArea.height + l.statusArea.height))};

    l.deviceImage = {120, centredTop(l.deviceArea.height, kDeviceImageSize.height), kDeviceImageSize.width,
                     kDeviceImageSize.height};
    l.lblDeviceType = {960, centredTop(l.deviceArea.height, kAreaLabelSize.height), kAreaLabelSize.width,
                       kAreaLabelSize.height};
    l.lblHeadlineTitle = {960, 90, kAreaLabelSize.width, kAreaLabelSize.height};
    l.statusImage = {120, centredTop(l.statusArea.height, kStatusImageSize.height), kStatusImageSize.width,
                     kStatusImageSize.height};
    l.lblCommStatus = {960, centredTop(l.statusArea.height, kAreaLabelSize.height), kAreaLabelSize.width,
                       kAreaLabelSize.height};

    const int parameterWidth = clampedSize(pageWidth - (l.deviceArea.width + 360));
    l.parameterFreeArea = {l.deviceArea.width + 240, headlineHeight + 120, parameterWidth,
                           clampedSize(pageHeight - (headlineHeight + 240))};
    l.titleParameterArea = {0, 0, parameterWidth, 480};
    l.lblParameter = {315, 135, kHeadingLabelSize.width, kHeadingLabelSize.height};

    l.lblGateway = {315, 120, kHeadingLabelSize.width, kHeadingLabelSize.height};
    l.lblDevType = {315, 495, kParameterLabelSize.width, kParameterLabelSize.height};
    l.lblWarmstartDelay = {315, l.lblDevType.bottom() + 345, kParameterLabelSize.width, kParameterLabelSize.height};
    l.devTypeCombo = {kParameterLeft, 450, kDevTypeComboSize.width, kDevTypeComboSize.height};
    l.wsDelayValue = {kParameterLeft, l.devTypeCombo.bottom() + 345, kDelayBoxSize.width, kDelayBoxSize.height};
    l.lblUnitDelay = {l.wsDelayValue.right() + 150, l.lblWarmstartDelay.top, kUnitLabelSize.width,
                      kUnitLabelSize.height};
    l.parameterArea = {0, 555, parameterWidth, l.wsDelayValue.top + 690 + 450};
    return l;
}

AboutLayout layoutAbout(int pageWidth, int pageHeight)
{
    AboutLayout l;
    l.headline = headlineFor(pageWidth);
    l.aboutBack = {120, l.headline.height + 120, clampedSize(pageWidth - 240),
                   clampedSize(pageHeight - l.headline.height - 240)};
    l.deviceImage = {360, 360, 720, 720};
    l.lblTitle = {1320, 360, 7560, 375};
    l.upperLine = {1320, 825, 7560, 15};
    l.lblDescription = {1320, 960, 7560, 735};
    l.lblVersion = {1320, 1800, 7560, 285};
    l.lowerLine = {360, 2400, 8520, 15};
    l.lblDisclaimer = {360, 2535, 8520, 735};
    return l;
}

} // namespace zeb2hart::pages
