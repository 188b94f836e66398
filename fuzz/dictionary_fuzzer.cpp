// The dictionary loader: the input is the dictionary file. Every language is
// selected in turn and its texts looked up; then one dictionary frees the
// other languages, which must leave a second dictionary of the same file,
// sharing its parse, untouched.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "support/Dictionary.h"

namespace {

using namespace zeb2hart;

const char* const kKeys[] = {"msg_Connected", "msg_Disconnected", "ctlOfflineParam_lblDevType", "a/b~c", "", "$("};

void lookUp(const support::clsDictionary& dictionary)
{
    for (const char* key : kKeys) {
        (void)dictionary.GetTextEntry("keys", key, "text");
        (void)dictionary.GetCategories(key);
    }
    (void)dictionary.TranslateStringTags("$(msg_Connected) and $(ctlOfflineParam_lblDevType) $(unknown) $(");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::services().reset();
    static const fuzz::fs::path file = fuzz::scratchFile("DTMDictionary.xml");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    support::clsDictionary first;
    support::clsDictionary second;
    if (!first.LoadDictionary(file.string()))
        return 0;
    if (!second.LoadDictionary(file.string()))
        std::abort(); // the same file loads the same way
    const std::size_t languages = second.GetLanguages().size();
    std::vector<std::int32_t> ids;
    for (support::clsDictionary::Element language : first.GetLanguages())
        ids.push_back(first.GetIdOfLanguage(language));
    (void)first.GetDefaultLanguageId();
    lookUp(first);
    for (const std::int32_t id : ids) {
        (void)first.SelectLanguage(id, false);
        lookUp(first);
    }
    if (!ids.empty()) {
        (void)first.SelectLanguage(ids.back(), true);
        lookUp(first);
        (void)first.SelectLanguage(ids.front(), false);
        lookUp(first);
    }
    if (second.GetLanguages().size() != languages)
        std::abort(); // freeing languages in one dictionary reached the other
    lookUp(second);
    return 0;
}
