#include "QtScriptPages.h"

#include "ControlActions.h"

#include <QPixmap>
#include "platform/ClassRegistry.h"
#include "ui/qt/PageClasses.h"

namespace zeb2hart::frame {

QtScriptPages::QtScriptPages()
{
    if (!QCoreApplication::instance()) {
        // Scripts run without a display and give the same pictures everywhere.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        throw PageError("the Qt pages need a QApplication, and this process runs another kind of application");
    }
    ui::registerPageClasses();
}

QtScriptPages::~QtScriptPages()
{
    destroyAll();
    m_application.reset();
}

std::shared_ptr<fdt::IDtmActiveXControl> QtScriptPages::create(const std::string& page)
{
    const PageClass* pageClass = ScriptPages::pageClass(page);
    if (!pageClass)
        throw PageError("no page \"" + page + "\" (the pages are monitor, offline and about)");
    if (find(page))
        throw PageError("the page \"" + page + "\" is open already");
    auto& registry = platform::ClassRegistry::instance();
    const auto clsid = registry.clsidOf(pageClass->progId);
    if (!clsid)
        throw PageError("the class " + pageClass->progId + " is not registered");
    const fdt::ObjectPtr object = registry.create(*clsid);
    auto control = fdt::query<fdt::IDtmActiveXControl>(object);
    if (!control || !ui::pageWidget(object))
        throw PageError("the class " + pageClass->progId + " could not be created as a page");
    auto host = std::make_unique<ui::PageHost>(object);
    host->setWindowTitle(QString::fromStdString(pageClass->progId));
    host->resize(kWidth, kHeight);
    host->show();
    m_pages.push_back({page, std::move(host)});
    settle();
    return control;
}

void QtScriptPages::destroy(const std::string& page)
{
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it->name == page) {
            m_pages.erase(it);
            settle();
            return;
        }
    }
}

std::shared_ptr<fdt::IDtmActiveXControl> QtScriptPages::opened(const std::string& page) const
{
    const OpenPage* open = find(page);
    return open ? fdt::query<fdt::IDtmActiveXControl>(open->host->page()) : nullptr;
}

const QtScriptPages::OpenPage* QtScriptPages::find(const std::string& page) const
{
    for (const auto& open : m_pages) {
        if (open.name == page)
            return &open;
    }
    return nullptr;
}

const QtScriptPages::OpenPage& QtScriptPages::require(const std::string& page) const
{
    const OpenPage* open = find(page);
    if (!open)
        throw PageError("the Qt page \"" + page + "\" is not open");
    return *open;
}

Json QtScriptPages::screenshot(const std::string& page, const std::filesystem::path& file)
{
    const OpenPage& open = require(page);
    settle();
    const QPixmap picture = open.host->grab();
    if (!picture.save(QString::fromStdString(file.string()), "PNG"))
        throw PageError("cannot write the picture " + file.string());
    return {{"file", file.filename().string()}, {"width", picture.width()}, {"height", picture.height()}};
}

Json QtScriptPages::resize(const std::string& page, int width, int height)
{
    const OpenPage& open = require(page);
    open.host->resize(width, height);
    settle();
    return {{"width", open.host->width()}, {"height", open.host->height()}};
}

ControlState QtScriptPages::act(const ControlAction& action)
{
    std::vector<std::string> open;
    for (const auto& page : m_pages)
        open.push_back(page.name);
    const OpenPage* target = find(targetPage(
        action, open,
        [&](const std::string& name) {
            QWidget* page = ui::pageWidget(find(name)->host->page());
            return page && page->findChild<QWidget*>(QString::fromStdString(action.control));
        },
        "Qt page"));
    QWidget& control = findControl(*ui::pageWidget(target->host->page()), action.control);
    switch (action.kind) {
    case ControlAction::Kind::Click:
        clickControl(control);
        break;
    case ControlAction::Kind::Select:
        selectEntry(control, action.index, action.text);
        break;
    case ControlAction::Kind::Type:
        typeKeys(control, action.keys);
        if (action.paste)
            pasteText(control, *action.paste);
        break;
    case ControlAction::Kind::Read:
        break;
    }
    Json state = controlState(control);
    if (action.colors)
        state["colors"] = lineColors(control);
    return {target->name, action.control, state};
}

void QtScriptPages::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void QtScriptPages::destroyAll()
{
    m_pages.clear();
    if (QCoreApplication::instance())
        settle();
}

ScriptPagesFactory qtScriptPages()
{
    return [] { return std::make_unique<QtScriptPages>(); };
}

} // namespace zeb2hart::frame
