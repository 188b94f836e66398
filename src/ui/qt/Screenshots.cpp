#include "ui/qt/Screenshots.h"

#include <QApplication>
#include <QPixmap>

#include <stdexcept>

#include "fdt/SilentFrame.h"
#include "support/Monitor.h"
#include "ui/qt/PageHost.h"
#include "ui/qt/QtPageView.h"

namespace zeb2hart::ui {

namespace {

void sampleTraffic(core::DTMMain& dtm)
{
    using namespace support;
    dtm.PrivateDialogEnabled(true);
    dtm.SetCommunication(nullptr);
    dtm.MonitorMsg("IFdtCommunication_ConnectRequest()", "", color::Green, filter::FdtInterface);
    dtm.MonitorMsg("IFdtCommunicationEvents_OnConnectResponse()", "", color::Green, filter::FdtInterface);
    dtm.MonitorMsg("Request HART 'Command #0'", "InvokeID 7D3A0C1E-5B2F-4E61-9A44-2C8F1B6D0E93", color::Black,
                   filter::HartProtocol);
    dtm.MonitorMsg("Request ZEB", "InvokeID 0F9B2D77-3C41-4A8E-B5D2-6E1A7C3F9B20", color::Blue, filter::ZebProtocol);
    dtm.MonitorMsg("", "Object 36B2  Sub 20  Control 01  Length 00", color::Blue, filter::ZebProtocol);
    dtm.MonitorMsg("Response ZEB", "InvokeID 0F9B2D77-3C41-4A8E-B5D2-6E1A7C3F9B20", color::Blue,
                   filter::ZebProtocol);
    dtm.MonitorMsg("", "Data : 36B2200002001A", color::Blue, filter::ZebProtocol);
    dtm.MonitorMsg("Response HART 'Command #0'", "InvokeID 7D3A0C1E-5B2F-4E61-9A44-2C8F1B6D0E93", color::Black,
                   filter::HartProtocol);
    dtm.MonitorMsg("", "Data : FE001A0505010C0D0100000001", color::Black, filter::HartProtocol);
    dtm.MonitorMsg("IFdtCommunication_TransactionRequest()", "Successful", color::Green, filter::FdtInterface);
    dtm.InvokeFunctionRequest("screenshot", "");
}

void renderPage(pages::PageKind kind, const std::shared_ptr<core::DTMMain>& dtm, const ScreenshotOptions& options,
                const std::filesystem::path& file, const std::function<void(core::DTMMain&)>& beforeOpen,
                const std::function<void(core::DTMMain&)>& afterOpen)
{
    const std::shared_ptr<pages::Page> page = makeQtPage(kind);
    PageHost host(page);
    host.resize(options.width, options.height);
    if (beforeOpen)
        beforeOpen(*dtm);
    page->Init("screenshot", "", dtm);
    if (afterOpen)
        afterOpen(*dtm);
    host.show();
    QApplication::processEvents();
    if (!host.grab().save(QString::fromStdString(file.string()), "PNG"))
        throw std::runtime_error("cannot write " + file.string());
    page->PrepareToRelease();
}

} // namespace

std::vector<std::filesystem::path> renderPageScreenshots(const std::filesystem::path& folder,
                                                         const ScreenshotOptions& options)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw std::runtime_error("rendering the pages needs a QApplication");
    std::filesystem::create_directories(folder);
    const auto traffic = options.monitorTraffic ? options.monitorTraffic : sampleTraffic;

    std::vector<std::filesystem::path> written;
    const struct {
        const char* suffix;
        std::int32_t localeId;
    } languages[] = {{"en", 1033}, {"de", 1031}};
    for (const auto& language : languages) {
        const auto frame = std::make_shared<fdt::SilentFrame>();
        const auto dtm = core::DTMMain::create();
        try {
            dtm->InitNewProperties();
        } catch (const std::exception&) {
            // A settings file with unreadable values leaves the defaults.
        }
        dtm->Environment("ZEB2HART_Gateway_1", frame);
        dtm->SetLanguage(language.localeId);
        const std::string suffix = std::string("_") + language.suffix + ".png";

        written.push_back(folder / ("monitor" + suffix));
        renderPage(pages::PageKind::Monitor, dtm, options, written.back(), nullptr, traffic);

        written.push_back(folder / ("offlineparam" + suffix));
        renderPage(
            pages::PageKind::OfflineParam, dtm, options, written.back(),
            [](core::DTMMain& gatewayDtm) { gatewayDtm.CommStatus(fdt::Variant(std::int32_t{0})); }, nullptr);

        written.push_back(folder / ("about" + suffix));
        renderPage(pages::PageKind::About, dtm, options, written.back(), nullptr, nullptr);
    }
    return written;
}

} // namespace zeb2hart::ui
