#pragma once
// ctlAbout: the about page: the device picture, the title, a description, the
// component's version and a disclaimer, every text from the dictionary.

#include <QFrame>
#include <QLabel>

#include <string>

#include "ui/qt/PageWidget.h"
#include "ui/qt/PictureBox.h"

namespace zeb2hart::ui {

class ctlAbout final : public PageWidget {
public:
    ctlAbout();
    ~ctlAbout() override;

    // IDtmActiveXControl
    bool Init(const std::string& invokeId, const std::string& functionCall, const fdt::ObjectPtr& dtm) override;
    bool PrepareToRelease() override;
    // IActiveXGUI: translates the labels and rebuilds the version caption.
    void UpdateLanguage() override;

protected:
    void pageResized() override;

private:
    void layOut();

    QWidget* m_aboutBack;
    PictureBox* m_deviceImage;
    QLabel* m_lblTitle;
    QLabel* m_lblDescription;
    QLabel* m_lblVersion;
    QLabel* m_lblDisclaimer;
    QFrame* m_upperLine;
    QFrame* m_lowerLine;
};

} // namespace zeb2hart::ui
