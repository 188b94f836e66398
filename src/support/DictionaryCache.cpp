#include "support/DictionaryCache.h"

#include <libxml/tree.h>

#include <new>

#include "platform/XmlDom.h"

namespace zeb2hart::support {

std::shared_ptr<_xmlDoc> sharedDictionary(const std::filesystem::path& file, platform::XmlParseError& error)
{
    platform::XmlDocument document;
    if (document.loadSharedFile(file) != platform::LoadResult::Loaded) {
        error = document.parseError();
        return nullptr;
    }
    return document.share();
}

std::shared_ptr<_xmlDoc> privateCopy(const std::shared_ptr<_xmlDoc>& document)
{
    if (!document)
        return nullptr;
    std::shared_ptr<_xmlDoc> copy(xmlCopyDoc(document.get(), 1), platform::XmlDocDeleter{});
    if (!copy)
        throw std::bad_alloc();
    return copy;
}

} // namespace zeb2hart::support
