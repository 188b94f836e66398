#include "scripts/ExpectSteps.h"

#include <algorithm>
#include <cctype>

#include "platform/FileText.h"
#include "scripts/Matcher.h"
#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

namespace {

// Failures and script errors are not what a script expects.
bool isObservable(const Json& event)
{
    const auto ev = event.value("ev", "");
    return ev != "fail" && ev != "error";
}

} // namespace

void stepExpect(ScriptRun& run, const Json& j)
{
    const Json matcher = run.references().resolveMatcher(j["expect"]);
    if (!matcher.is_object())
        throw ScriptError("\"expect\" takes an object of event fields, e.g. {\"ev\": \"monitor\", ...}");
    const std::string scope = j.contains("scope") ? ScriptRun::text(j["scope"], "\"scope\"") : "step";
    if (scope != "step" && scope != "all")
        throw ScriptError("\"scope\" takes \"step\" or \"all\"");
    const Transcript& events = run.transcript();
    // The runner keeps every event only for a script that searches them all.
    const std::size_t begin = scope == "all" ? events.firstKept() : run.stepStart();
    const std::size_t end = events.size();
    std::string closest;
    if (j.contains("count")) {
        if (!j["count"].is_number_integer())
            throw ScriptError("\"count\" takes a whole number");
        long long count = 0;
        for (std::size_t i = begin; i < end; ++i) {
            std::string why;
            if (isObservable(events.at(i)) && run.matcher().matches(matcher, events.at(i), why))
                ++count;
        }
        if (count != j["count"].get<long long>())
            run.fail("expected " + j["count"].dump() + " event(s) matching " + matcher.dump() + ", found " +
                     std::to_string(count));
        return;
    }
    const std::size_t from = scope == "all" ? begin : run.cursor();
    for (std::size_t i = from; i < end; ++i) {
        std::string why;
        if (!isObservable(events.at(i)))
            continue;
        if (run.matcher().matches(matcher, events.at(i), why)) {
            if (scope == "step")
                run.cursor() = i + 1;
            return;
        }
        // The first event of the same kind and operation says why it did not match.
        const auto sameAs = [&](const char* key) {
            return !matcher.contains(key) || !matcher[key].is_string() ||
                   (events.at(i).contains(key) && events.at(i)[key] == matcher[key]);
        };
        if (closest.empty() && matcher.contains("ev") && sameAs("ev") && sameAs("op"))
            closest = why;
    }
    run.fail("no event matches " + matcher.dump() + (closest.empty() ? "" : " (nearest: " + closest + ")"));
}

namespace {

// Files a "file" step reads are no larger than this.
constexpr std::size_t kMaxFileSize = 16u << 20;

} // namespace

void checkFile(const Json& j)
{
    if (!j["file"].is_string() || j["file"].get_ref<const std::string&>().empty())
        throw ScriptError("\"file\" takes a file's path (relative to the script's folder), not " + j["file"].dump());
    if (j.contains("exists"))
        ScriptRun::boolean(j["exists"], "\"exists\"");
    if (j.contains("exists") && j["exists"] == false && j.contains("content"))
        throw ScriptError("\"file\": a file expected not to exist has no \"content\"");
    if (j.contains("content")) {
        try {
            Matcher::checkPatterns(j["content"]);
        } catch (const std::invalid_argument& error) {
            throw ScriptError(error.what());
        }
    }
    if (j.contains("let"))
        checkLetName(j["let"]);
}

void stepFile(ScriptRun& run, const Json& j)
{
    const std::filesystem::path file = run.scriptPath(j["file"].get<std::string>());
    const bool wanted = j.value("exists", true);
    std::string content;
    std::error_code error;
    const platform::FileRead read = platform::readFileText(file, content, kMaxFileSize, &error);
    std::error_code ignored;
    const bool exists = std::filesystem::exists(file, ignored);
    if (j.contains("let")) {
        run.vars()[j["let"].get<std::string>()] = read == platform::FileRead::Read ? Json(content) : Json();
    }
    const std::string named = "file " + file.string();
    if (!wanted) {
        if (exists)
            run.fail(named + " exists");
        return;
    }
    if (!exists) {
        run.fail(named + " does not exist");
        return;
    }
    if (read != platform::FileRead::Read) {
        run.fail(named + " cannot be read (" +
                 (read == platform::FileRead::NotAFile   ? std::string("not a regular file")
                  : read == platform::FileRead::TooLarge ? "larger than " + std::to_string(kMaxFileSize) + " bytes"
                                                         : error.message()) +
                 ")");
        return;
    }
    std::string why;
    if (j.contains("content") && !run.matcher().matches(run.references().resolveMatcher(j["content"]), content, why))
        run.fail(named + ": content: " + why);
}

void checkLetName(const Json& name)
{
    const auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    const bool valid = name.is_string() && !name.get_ref<const std::string&>().empty() &&
                       letter(name.get_ref<const std::string&>()[0]) &&
                       std::all_of(name.get_ref<const std::string&>().begin(), name.get_ref<const std::string&>().end(),
                                   [&](char c) { return letter(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-'; });
    if (!valid)
        throw ScriptError("\"let\" names the result ${NAME}: a letter or _, then letters, digits, _ or -; not " +
                          name.dump());
}

void stepLet(ScriptRun& run, const Json& j)
{
    if (!j["let"].is_object())
        throw ScriptError("\"let\" takes an object of name: value");
    for (const auto& item : j["let"].items())
        run.vars()[item.key()] = run.references().resolve(item.value());
}

} // namespace zeb2hart::frame
