#pragma once
// A page's child widget as DTMMain::TranslateControls sees it. The widget's
// object name is the control's name; a member of a control array carries its
// index in the dynamic property "controlIndex". Labels and buttons have a
// caption; panels, pictures, lists and text boxes have none.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Pages.h"

namespace zeb2hart::ui {

constexpr const char* kControlIndexProperty = "controlIndex";

class WidgetControl final : public core::Control {
public:
    explicit WidgetControl(QWidget* widget) : m_widget(widget) {}

    std::string name() const override;
    std::optional<int> index() const override;
    bool hasCaption() const override;
    void setCaption(const std::string& caption) override;

private:
    QPointer<QWidget> m_widget;
};

// The child controls of one page, in the order they were placed on it.
class ControlCollection {
public:
    void add(QWidget* widget);
    core::ControlList list() const;
    std::size_t size() const { return m_controls.size(); }

private:
    std::vector<std::unique_ptr<WidgetControl>> m_controls;
};

} // namespace zeb2hart::ui
