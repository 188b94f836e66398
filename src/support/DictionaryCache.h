#pragma once
// The dictionary files of the process, each parsed once per content and shared
// read-only by every clsDictionary that loads it (a frame project may hold
// hundreds of DTM instances, all with the same dictionary). A dictionary that
// must change (SelectLanguage freeing the other languages) works on a copy.

#include <filesystem>
#include <memory>

struct _xmlDoc;

namespace zeb2hart::platform {
struct XmlParseError;
}

namespace zeb2hart::support {

// The parsed document of `file`, to be read only; null when it does not load,
// and `error` then says why (as the parser's parse-error object would).
std::shared_ptr<_xmlDoc> sharedDictionary(const std::filesystem::path& file, platform::XmlParseError& error);

// A private copy of a shared dictionary document, free to change.
std::shared_ptr<_xmlDoc> privateCopy(const std::shared_ptr<_xmlDoc>& document);

} // namespace zeb2hart::support
