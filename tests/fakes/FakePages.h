#pragma once
// Recording fakes of the pages a DTM object updates, its persistence site and the page
// controls (the frame's container object is FakeFrame, of the FDT fakes). Used on the
// test's thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/DTMMain.h"
#include "core/Pages.h"

namespace zeb2hart::test {

// A page's language interface; each update is logged with the page's name.
class RecordingPage : public virtual core::IActiveXGUI {
public:
    using Log = std::shared_ptr<std::vector<std::string>>;
    explicit RecordingPage(std::string pageName, Log pageLog = std::make_shared<std::vector<std::string>>())
        : name(std::move(pageName)), log(std::move(pageLog)) {}
    void UpdateLanguage() override { log->push_back(name); }
    std::string name;
    Log log;
};

class RecordingMonitorPage final : public core::IMonitorPage, public RecordingPage {
public:
    using RecordingPage::RecordingPage;
    void MessageLine(const std::string& text, std::int32_t color) override { lines.push_back({text, color}); }
    std::vector<std::pair<std::string, std::int32_t>> lines;
};

class FailingPage final : public core::IActiveXGUI {
public:
    void UpdateLanguage() override { ++attempts, throw std::runtime_error("page cannot translate"); }
    int attempts = 0;
};

class RecordingPersistenceSite final : public core::PersistenceSite {
public:
    void PropertyChanged(const std::string& propertyName) override { changed.push_back(propertyName); }
    std::vector<std::string> changed;
};

// A child control of a page; its name may fail to read, its caption may be missing.
class FakeControl final : public core::Control {
public:
    explicit FakeControl(std::string name, std::optional<int> index = {}, bool hasCaption = true)
        : m_name(std::move(name)), m_index(index), m_hasCaption(hasCaption) {}
    std::string name() const override { return nameFails ? throw std::runtime_error("unreadable name") : m_name; }
    std::optional<int> index() const override { return m_index; }
    bool hasCaption() const override { return m_hasCaption; }
    void setCaption(const std::string& text) override
    {
        caption = m_hasCaption ? text : throw std::runtime_error("the control has no caption");
    }
    std::string caption = "design caption";
    bool nameFails = false;

private:
    std::string m_name;
    std::optional<int> m_index;
    bool m_hasCaption;
};

} // namespace zeb2hart::test
