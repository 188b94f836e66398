#pragma once
// A control known only by its name, maybe an array index, and whether it has a
// caption, which keeps the caption it is given: what a frame hands
// TranslateControls when it has no real controls (headless pages, a frame
// calling through COM). Used on the thread that calls the DTM.

#include <optional>
#include <string>
#include <utility>

#include "core/Pages.h"

namespace zeb2hart::core {

class NamedControl final : public Control {
public:
    NamedControl(std::string name, std::optional<int> index, bool hasCaption)
        : m_name(std::move(name)), m_index(index), m_hasCaption(hasCaption)
    {
    }
    std::string name() const override { return m_name; }
    std::optional<int> index() const override { return m_index; }
    bool hasCaption() const override { return m_hasCaption; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    const std::optional<std::string>& caption() const { return m_caption; }

private:
    std::string m_name;
    std::optional<int> m_index;
    bool m_hasCaption;
    std::optional<std::string> m_caption;
};

} // namespace zeb2hart::core
