#pragma once
// The save-file dialog of frame scripts. Called by the component on the thread
// that runs the script.

#include <optional>
#include <string>

#include "transcript/Transcript.h"
#include "platform/Dialogs.h"

namespace zeb2hart::frame {

// The save-file dialog of scripts: answers what the script set and records the question.
class ScriptedFileDialog final : public platform::FileDialog {
public:
    explicit ScriptedFileDialog(Transcript& transcript) : m_transcript(transcript) {}
    std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) override;
    std::optional<std::string> answer; // nothing: the user cancels

private:
    Transcript& m_transcript;
};

} // namespace zeb2hart::frame
