#pragma once
// PageHost: shows a page inside a host's window without taking it over. The
// page stays owned by its shared_ptr; the host lets go of the widget before Qt
// deletes the host's children, so a page is never deleted twice. Used on the
// GUI thread.

#include <QWidget>

#include <QPointer>

#include "fdt/Object.h"

namespace zeb2hart::ui {

class PageHost final : public QWidget {
public:
    explicit PageHost(fdt::ObjectPtr page, QWidget* parent = nullptr);
    ~PageHost() override;
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    const fdt::ObjectPtr& page() const { return m_page; }

private:
    fdt::ObjectPtr m_page;
    QPointer<QWidget> m_widget;
};

} // namespace zeb2hart::ui
