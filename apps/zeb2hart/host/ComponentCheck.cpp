#include "host/ComponentCheck.h"

#include <algorithm>
#include <exception>
#include <set>

#include "core/ComponentData.h"
#include "core/PersistentProperties.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "host/ComponentHost.h"
#include "peers/ZebDeviceModel.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "support/Conversions.h"
#include "support/Dictionary.h"
#include "support/IniFile.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::frame {

namespace {

namespace fs = std::filesystem;

// The languages the component ships: primary language number and name.
struct Language {
    std::int32_t id;
    const char* name;
};
constexpr Language kLanguages[] = {{9, "English"}, {7, "German"}};

class Checker {
public:
    Checker(fs::path folder, fs::path frameSchemas, fs::path models)
        : m_folder(std::move(folder)), m_frameSchemas(std::move(frameSchemas)), m_models(std::move(models))
    {
    }

    CheckReport run()
    {
        try {
            checkComponentFolder(m_folder);
        } catch (const std::exception& error) {
            problem(m_folder, error.what());
            return std::move(m_report);
        }
        const auto schemas = std::make_shared<dom::SchemaCollection>();
        addSchemas(*schemas, m_frameSchemas);
        addSchemas(*schemas, m_folder / "XMLSchemas");
        if (const std::string error = schemas->compileError(); !error.empty())
            problem(m_folder / "XMLSchemas", "the schemas do not compile together: " + error);
        std::set<std::string> templateTexts;
        checkTemplates(schemas, templateTexts);
        const auto types = checkIni();
        checkDictionary(templateTexts);
        checkModels(types);
        return std::move(m_report);
    }

private:
    // One line per problem: libxml2's reasons end in a line break.
    void problem(const fs::path& file, std::string what)
    {
        while (!what.empty() && (what.back() == '\n' || what.back() == '\r'))
            what.pop_back();
        m_report.problems.push_back({file, std::move(what)});
    }

    void addSchemas(dom::SchemaCollection& schemas, const fs::path& folder)
    {
        const std::size_t before = schemas.size();
        try {
            xml::XMLHelp::AddSchemaFolder(schemas, platform::utf8Of(folder),
                                          [&](const std::string& name, const std::string& reason) {
                                              problem(folder / platform::pathFromUtf8(name), reason);
                                          });
        } catch (const std::exception& error) {
            problem(folder, error.what());
        }
        m_report.schemas += schemas.size() - before;
    }

    // Each template parses and is valid; the texts the functions template names as $(id) are gathered.
    void checkTemplates(const std::shared_ptr<dom::SchemaCollection>& schemas, std::set<std::string>& texts)
    {
        std::vector<fs::path> files;
        std::error_code error;
        for (fs::directory_iterator it(m_folder / "XMLData", error), end; !error && it != end; it.increment(error)) {
            if (it->is_regular_file(error) && it->path().extension() == ".xml")
                files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            ++m_report.templates;
            dom::XmlDocument document;
            document.setSchemas(schemas);
            if (document.load(file) != dom::LoadResult::Loaded) {
                const dom::XmlParseError& parse = document.parseError();
                problem(file, "line " + std::to_string(parse.line) + ": " + parse.reason);
                continue;
            }
            if (file.filename() != xml::XMLHelp::kFunctionsTemplate)
                continue;
            const std::string text = document.xml();
            for (std::size_t at = text.find("$("); at != std::string::npos; at = text.find("$(", at + 2)) {
                const std::size_t end = text.find(')', at + 2);
                if (end != std::string::npos)
                    texts.insert(text.substr(at + 2, end - at - 2));
            }
        }
    }

    // Every key of the persisted properties' DTM.ini sections, and every
    // identity key in the section of each listed device type.
    std::vector<std::string> checkIni()
    {
        const fs::path ini = m_folder / "Resources" / "DTM.ini";
        const auto types = core::deviceTypes(ini);
        m_report.deviceTypes = types.size();
        if (types.empty())
            problem(ini, "[DeviceList] Devices lists no device type");
        const auto identity = core::PersistentProperty::identity();
        for (const auto& property : core::PersistentProperty::all()) {
            const bool perType = std::any_of(identity.begin(), identity.end(),
                                             [&](const auto& item) { return item.key == property.key; });
            if (property.iniSection.empty() || perType)
                continue;
            const std::string section(property.iniSection), key(property.iniKey);
            if (support::ReadIniString(ini, section, key).empty())
                problem(ini, "[" + section + "] has no value for " + key);
        }
        for (const auto& type : types) {
            for (const auto& item : identity) {
                const std::string key(item.iniKey);
                const std::string value = support::ReadIniString(ini, type, key);
                if (value.empty())
                    problem(ini, "[" + type + "] has no value for " + key);
                else if (!parseIdentityText(value))
                    problem(ini, "[" + type + "] " + key + "=" + value + " is not an object \"number.sub\"");
            }
        }
        return types;
    }

    void checkDictionary(const std::set<std::string>& templateTexts)
    {
        const fs::path file = m_folder / "XMLData" / "DTMDictionary.xml";
        support::clsDictionary dictionary;
        if (!dictionary.LoadDictionary(platform::utf8Of(file)) || dictionary.GetLanguages().empty()) {
            problem(file, "the dictionary does not load or holds no language");
            return;
        }
        std::vector<std::pair<std::string, std::string>> wanted; // id, who uses it
        for (const auto& text : core::dictionaryTexts())
            wanted.emplace_back(text.id, text.usedBy);
        for (const auto& id : templateTexts)
            wanted.emplace_back(id, std::string(xml::XMLHelp::kFunctionsTemplate));
        m_report.texts = wanted.size();
        for (const Language& language : kLanguages) {
            if (!dictionary.SelectLanguage(language.id, false)) {
                problem(file, std::string("there is no ") + language.name + " (localeId " +
                                  support::HexLong(language.id).substr(4) + ")");
                continue;
            }
            for (const auto& [id, usedBy] : wanted) {
                if (!dictionary.GetTextEntry("keys", id, "text"))
                    problem(file, std::string(language.name) + " lacks the text " + id + " (" + usedBy + ")");
            }
        }
    }

    void checkModels(const std::vector<std::string>& types)
    {
        const fs::path ini = m_folder / "Resources" / "DTM.ini";
        for (const auto& type : types) {
            const fs::path file = m_models / (type + ".json");
            try {
                const ZebDeviceModel model = ZebDeviceModel::load(file);
                const auto identity = core::PersistentProperty::identity();
                for (std::size_t item = 0; item < identity.size(); ++item) {
                    const std::string inIni = support::ReadIniString(ini, type, std::string(identity[item].iniKey));
                    if (model.identity[item] != inIni)
                        problem(file, "identity " + std::string(identity[item].key) + " is " + model.identity[item] +
                                          ", DTM.ini says " + inIni);
                }
            } catch (const std::exception& error) {
                problem(file, error.what());
            }
        }
    }

    fs::path m_folder;
    fs::path m_frameSchemas;
    fs::path m_models;
    CheckReport m_report;
};

} // namespace

CheckReport checkComponent(const fs::path& componentFolder, const fs::path& frameSchemaFolder,
                           const fs::path& deviceModelFolder)
{
    return Checker(componentFolder, frameSchemaFolder, deviceModelFolder).run();
}

int runComponentCheck(const fs::path& componentFolder, std::ostream& out)
{
    const fs::path folder = componentFolder.empty() ? frameComponentFolder() : componentFolder;
    const CheckReport report = checkComponent(folder, frameSchemaFolder(), frameDataFolder() / "Devices");
    for (const auto& problem : report.problems)
        out << platform::utf8Of(problem.file) << ": " << problem.what << "\n";
    if (!report.problems.empty()) {
        out << "zeb2hart check: " << platform::utf8Of(folder) << ": " << report.problems.size() << " problem"
            << (report.problems.size() == 1 ? "" : "s") << "\n";
        return 1;
    }
    out << "zeb2hart check: " << platform::utf8Of(folder) << ": ok (" << report.templates << " templates, "
        << report.schemas << " schemas, " << report.deviceTypes << " device types with their DTM.ini keys and models, "
        << report.texts << " texts in English and German)\n";
    return 0;
}

} // namespace zeb2hart::frame
