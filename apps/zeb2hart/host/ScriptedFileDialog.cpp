#include "host/ScriptedFileDialog.h"

namespace zeb2hart::frame {

std::optional<std::string> ScriptedFileDialog::askSaveFileName(const std::string& filter, bool promptOverwrite)
{
    m_transcript.add({{"ev", "filedialog"},
                      {"filter", filter},
                      {"promptOverwrite", promptOverwrite},
                      {"answer", answer ? Json(*answer) : Json(nullptr)}});
    return answer;
}

} // namespace zeb2hart::frame
