#pragma once
// QtPageView: a page's view made of Qt widgets, for the Qt frame window, the
// frame stand-in's scripts and the screenshots. It makes one widget per row of
// its PageTable (each named as the control, with the index of a control array
// in the property "controlIndex"), styled as the table says, and reports the
// user's clicks, choices, edits and key releases to its PageEvents. Its page
// widget belongs to the view; a host shows it through PageHost. If something
// else deletes the widget, the view keeps working without a window and draws
// nothing. Used on the GUI thread.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

#include "pages/Page.h"
#include "pages/PageView.h"

namespace zeb2hart::ui {

constexpr const char* kControlIndexProperty = "controlIndex";

class QtPageView final : public pages::PageView {
public:
    explicit QtPageView(const pages::PageTable& table);
    ~QtPageView() override;
    QtPageView(const QtPageView&) = delete;
    QtPageView& operator=(const QtPageView&) = delete;

    // The page widget; nullptr once something else deleted it.
    QWidget* widget() const { return m_page.data(); }
    // The widget of a row; nullptr once the page widget is gone.
    QWidget* control(int row) const;

    void setEvents(pages::PageEvents* events) override { m_events = events; }
    const pages::PageTable& table() const override { return m_table; }
    pages::TwipSize pageSize() const override;
    void place(int row, const pages::TwipRect& rect) override;
    void setText(int row, const std::string& text) override;
    std::string text(int row) const override;
    void setChecked(int row, bool checked) override;
    bool checked(int row) const override;
    void setItems(int row, const std::vector<std::string>& items) override;
    void select(int row, int position) override;
    std::string itemText(int row, int position) const override;
    bool setPicture(int row, const std::filesystem::path& file) override;
    void appendLine(int row, const std::string& text, std::uint32_t bgr) override;
    void clearLines(int row) override;
    std::string linesText(int row) const override;

private:
    QWidget* makeControl(int row, QWidget* container);
    template <class W>
    W* as(int row) const
    {
        return dynamic_cast<W*>(control(row));
    }

    const pages::PageTable& m_table;
    pages::PageEvents* m_events = nullptr;
    QPointer<QWidget> m_page;
    std::vector<QPointer<QWidget>> m_controls;
};

// A page of that kind with a Qt view. Needs a QApplication.
std::shared_ptr<pages::Page> makeQtPage(pages::PageKind kind);

// The widget of a page object with a Qt view; nullptr for any other object.
QWidget* pageWidget(const fdt::ObjectPtr& page);

} // namespace zeb2hart::ui
