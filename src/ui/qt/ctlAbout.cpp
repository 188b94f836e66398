#include "ui/qt/ctlAbout.h"

#include "support/Conversions.h"
#include "pages/AboutLogic.h"
#include "pages/PageLayout.h"
#include "ui/qt/PageStyle.h"

namespace zeb2hart::ui {
using namespace zeb2hart::pages;

namespace {

// A label whose design caption is its own name, so every text it shows comes from the dictionary.
QLabel* aboutLabel(QLabel* label, bool wrap)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(label->objectName());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrap);
    return label;
}

QFrame* decorativeLine(QFrame* line)
{
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, windowsColor(support::kPageBlue));
    line->setPalette(palette);
    return line;
}

} // namespace

ctlAbout::ctlAbout() : PageWidget("ctlAbout")
{
    m_aboutBack = addPanel("AboutBack", this, kWhite);
    m_deviceImage = addControl<PictureBox>("DeviceImage", m_aboutBack);
    m_lblTitle = aboutLabel(addControl<QLabel>("lblTitle", m_aboutBack), false);
    m_upperLine = decorativeLine(addControl<QFrame>("linDecor", m_aboutBack, 0));
    m_lblDescription = aboutLabel(addControl<QLabel>("lblDescription", m_aboutBack), true);
    m_lblVersion = aboutLabel(addControl<QLabel>("lblVersion", m_aboutBack), false);
    m_lowerLine = decorativeLine(addControl<QFrame>("linDecor", m_aboutBack, 1));
    m_lblDisclaimer = aboutLabel(addControl<QLabel>("lblDisclaimer", m_aboutBack), true);

    QFont titleFont = pageFont(true);
    titleFont.setPointSizeF(12);
    m_lblTitle->setFont(titleFont);
    QPalette titlePalette = m_lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, windowsColor(support::kPageBlue));
    m_lblTitle->setPalette(titlePalette);
    QPalette disclaimerPalette = m_lblDisclaimer->palette();
    disclaimerPalette.setColor(QPalette::WindowText, QColor(96, 96, 96));
    m_lblDisclaimer->setPalette(disclaimerPalette);

    resize(640, 480);
    layOut();
}

ctlAbout::~ctlAbout()
{
    m_session.close();
}

bool ctlAbout::Init(const std::string& invokeId, const std::string&, const fdt::ObjectPtr& dtm)
{
    if (!m_session.open(invokeId, dtm))
        return false;
    m_deviceImage->load(componentFolder() / "Resources" / "Device_small.gif");
    layOut();
    m_session.dtm()->CtlAboutPointer(self());
    UpdateLanguage();
    return true;
}

bool ctlAbout::PrepareToRelease()
{
    return m_session.release([](core::DTMMain& dtm) { dtm.CtlAboutPointer(nullptr); });
}

void ctlAbout::UpdateLanguage()
{
    core::DTMMain* dtm = m_session.dtm();
    if (!dtm)
        return;
    dtm->TranslateControls("ctlAbout_", controlList());
    m_lblVersion->setText(QString::fromStdString(versionCaption(m_lblVersion->text().toStdString())));
    m_headline->Title(dtm->GetDictionaryText("str_ZEBDriver"));
}

void ctlAbout::pageResized()
{
    layOut();
}

void ctlAbout::layOut()
{
    const TwipSize page = twipSize(*this);
    const AboutLayout l = layoutAbout(page.width, page.height);
    place(*m_headline, l.headline);
    place(*m_aboutBack, l.aboutBack);
    place(*m_deviceImage, l.deviceImage);
    place(*m_lblTitle, l.lblTitle);
    place(*m_upperLine, l.upperLine);
    place(*m_lblDescription, l.lblDescription);
    place(*m_lblVersion, l.lblVersion);
    place(*m_lowerLine, l.lowerLine);
    place(*m_lblDisclaimer, l.lblDisclaimer);
}

} // namespace zeb2hart::ui
