#pragma once
// The page classes of the component as the frame creates them: factories for
// the ProgIDs "ZEB2HARTGateway.ctlOfflineParam", "ZEB2HARTGateway.ctlMonitor"
// and "ZEB2HARTGateway.ctlAbout", under the class identifiers core registers.
// The factories are called on the GUI thread, which makes the page widgets.

namespace zeb2hart::ui {

// Adds the page factories to the class registry; done when the library is
// loaded, safe to call again. A factory creates nothing without a QApplication.
void registerPageClasses();

} // namespace zeb2hart::ui
