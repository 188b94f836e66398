#pragma once
// A frame that only answers: every save and lock succeeds, the schema path is
// the one it was given, every event is ignored, and its topology is empty (no
// parent, child or DTM to be found; nothing created, moved or deleted). For hosting a DTM where
// nobody watches the frame side (screenshots, benchmarks, fuzzing, tests).

#include <filesystem>
#include <string>
#include <utility>

#include "Export.h"
#include "FrameInterfaces.h"

namespace zeb2hart::fdt {

// The topology of a frame without a project tree: no parent, child or DTM to
// be found, nothing created, moved, deleted or released.
class ZEB2HART_API EmptyTopology : public virtual IFdtTopology {
public:
    std::string GetParentNodes(const std::string&) override { return {}; }
    std::string GetChildNodes(const std::string&, const std::string&) override { return {}; }
    std::string CreateChild(const std::string&, const std::string&) override { return {}; }
    bool DeleteChild(const std::string&, const std::string&) override { return false; }
    ObjectPtr GetDtmForSystemTag(const std::string&) override { return nullptr; }
    std::string GetDtmInfoList() override { return {}; }
    bool MoveChild(const std::string&, const std::string&) override { return false; }
    bool ReleaseDtmForSystemTag(const std::string&) override { return false; }
};

class ZEB2HART_API SilentFrame final : public IFdtContainer, public IDtmEvents, public EmptyTopology {
public:
    explicit SilentFrame(std::filesystem::path schemaPath = {}) : m_schemaPath(std::move(schemaPath)) {}

    bool SaveRequest(const std::string&) override { return true; }
    bool LockDataSet(const std::string&) override { return true; }
    bool UnlockDataSet(const std::string&) override { return true; }
    std::string GetXmlSchemaPath() override
    {
        const std::u8string text = m_schemaPath.u8string(); // UTF-8, as every text of the interfaces
        return std::string(text.begin(), text.end());
    }

    void OnParameterChanged(const std::string&, const std::string&) override {}
    void OnErrorMessage(const std::string&, const std::string&) override {}
    void OnProgress(const std::string&, const std::string&, std::int16_t, bool) override {}
    void OnUploadFinished(const std::string&, bool) override {}
    void OnDownloadFinished(const std::string&, bool) override {}
    void OnApplicationClosed(const std::string&) override {}
    void OnFunctionChanged(const std::string&) override {}
    void OnChannelFunctionChanged(const std::string&, const std::string&) override {}
    void OnPrint(const std::string&, const std::string&) override {}
    void OnNavigation(const std::string&) override {}
    void OnOnlineStateChanged(const std::string&, bool) override {}
    void OnPreparedToRelease(const std::string&) override {}
    void OnPreparedToReleaseCommunication(const std::string&) override {}
    void OnInvokedFunctionFinished(const std::string&, bool) override {}
    void OnScanResponse(const std::string&, const std::string&) override {}

private:
    std::filesystem::path m_schemaPath;
};

} // namespace zeb2hart::fdt
