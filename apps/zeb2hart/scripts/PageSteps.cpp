#include "scripts/PageSteps.h"

#include "scripts/ExpectSteps.h"

#include "transcript/Recording.h"
#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

namespace {

std::string invokeIdOf(ScriptRun& run, const Json& j, const std::string& fallback)
{
    return j.contains("invokeId") ? ScriptRun::text(run.references().resolve(j["invokeId"]), "\"invokeId\"") : fallback;
}

// A real page: created through the class registry as a frame creates it,
// opened with IDtmActiveXControl::Init and the function call document of its
// function, shown offscreen; closed with PrepareToRelease, then destroyed.
void qtPage(ScriptRun& run, const Json& j, const std::string& action, const std::string& which)
{
    const ScriptPages::PageClass* pageClass = ScriptPages::pageClass(which);
    if (!pageClass)
        throw ScriptError("\"" + action + "\" with \"qt\" takes \"monitor\", \"offline\" or \"about\"");
    ScriptPages& pages = run.scriptPages();
    Transcript& transcript = run.transcript();
    Json result;
    if (action == "open") {
        if (pages.opened(which))
            throw ScriptError("the Qt page \"" + which + "\" is open already");
        const std::string invokeId = invokeIdOf(run, j, which + "-qt-page");
        const std::string functionCall = run.session().documents().functionCall(pageClass->functionId);
        std::shared_ptr<fdt::IDtmActiveXControl> page;
        try {
            page = pages.create(which);
        } catch (const PageError& error) {
            throw ScriptError(error.what());
        }
        transcript.add({{"ev", "ui"}, {"op", "create"}, {"page", which}, {"progId", pageClass->progId}});
        result = recordCall(
            transcript, "frame", "IDtmActiveXControl::Init",
            {{"page", which}, {"qt", true}, {"invokeId", invokeId}, {"functionCall", functionCall}, {"dtm", "dtm"}},
            [&] { return page->Init(invokeId, functionCall, run.session().dtmObject()); });
        pages.settle();
    } else {
        std::shared_ptr<fdt::IDtmActiveXControl> page = pages.opened(which);
        if (!page)
            throw ScriptError("the Qt page \"" + which + "\" is not open");
        result = recordCall(transcript, "frame", "IDtmActiveXControl::PrepareToRelease", {{"page", which}, {"qt", true}},
                            [&] { return page->PrepareToRelease(); });
        page.reset();
        pages.destroy(which);
        transcript.add({{"ev", "ui"}, {"op", "destroy"}, {"page", which}});
    }
    run.checkResult(j, result);
}

void page(ScriptRun& run, const Json& j, const std::string& action)
{
    const std::string which = ScriptRun::text(j[action], "\"" + action + "\"");
    if (j.contains("qt") && ScriptRun::boolean(j["qt"], "\"qt\""))
        return qtPage(run, j, action, which);
    HeadlessPage* page = nullptr;
    if (which == "monitor")
        page = &run.session().monitorPage();
    else if (which == "offline")
        page = &run.session().offlinePage();
    else
        throw ScriptError("\"" + action + "\" takes \"monitor\" or \"offline\" (the headless pages), or "
                          "\"monitor\", \"offline\" or \"about\" with \"qt\": true");
    Json result;
    if (action == "open") {
        const std::string invokeId = invokeIdOf(run, j, which + "-page");
        result = recordCall(run.transcript(), "frame", "IDtmActiveXControl::Init",
                            {{"page", which}, {"invokeId", invokeId}, {"functionCall", ""}, {"dtm", "dtm"}},
                            [&] { return page->Init(invokeId, "", run.session().dtmObject()); });
    } else {
        result = recordCall(run.transcript(), "frame", "IDtmActiveXControl::PrepareToRelease", {{"page", which}},
                            [&] { return page->PrepareToRelease(); });
    }
    run.checkResult(j, result);
}

// click, select, type and read on a control of an open Qt page.
void control(ScriptRun& run, const Json& j, const std::string& action, ControlAction::Kind kind)
{
    ControlAction request;
    request.kind = kind;
    request.control = ScriptRun::text(run.references().resolve(j[action]), "\"" + action + "\"");
    if (j.contains("page"))
        request.page = ScriptRun::text(j["page"], "\"page\"");
    Json shown = {{"ev", "ui"}, {"op", action}};
    if (kind == ControlAction::Kind::Select) {
        if (j.contains("index") == j.contains("text"))
            throw ScriptError("\"select\" takes \"index\" (from 0) or \"text\" of the entry");
        if (j.contains("index")) {
            if (!j["index"].is_number_integer())
                throw ScriptError("\"index\" takes a whole number");
            request.index = j["index"].get<int>();
        } else {
            request.text = ScriptRun::text(run.references().resolve(j["text"]), "\"text\"");
        }
    } else if (kind == ControlAction::Kind::Type) {
        if (!j.contains("keys") && !j.contains("paste"))
            throw ScriptError("\"type\" needs \"keys\": the characters to type");
        if (j.contains("keys"))
            request.keys = ScriptRun::text(run.references().resolve(j["keys"]), "\"keys\"");
        if (j.contains("paste"))
            request.paste = ScriptRun::text(run.references().resolve(j["paste"]), "\"paste\"");
    } else if (kind == ControlAction::Kind::Read && j.contains("colors")) {
        request.colors = ScriptRun::boolean(j["colors"], "\"colors\"");
    }
    ScriptPages* pages = run.openedScriptPages();
    if (!pages)
        throw ScriptError("\"" + action + "\" acts on a Qt page: open one first with {\"open\": PAGE, \"qt\": true}");
    ControlState reached;
    try {
        if (kind == ControlAction::Kind::Read) {
            reached = pages->act(request);
        } else {
            // The action's event comes before what the action caused.
            ControlAction locate = request;
            locate.kind = ControlAction::Kind::Read;
            const ControlState before = pages->act(locate);
            shown["page"] = before.page;
            shown["control"] = before.control;
            if (request.index)
                shown["index"] = *request.index;
            if (request.text)
                shown["text"] = *request.text;
            if (kind == ControlAction::Kind::Type && j.contains("keys"))
                shown["keys"] = request.keys;
            if (request.paste)
                shown["paste"] = *request.paste;
            run.transcript().add(shown);
            reached = pages->act(request);
            pages->settle();
        }
    } catch (const PageError& error) {
        throw ScriptError(error.what());
    }
    if (kind == ControlAction::Kind::Read)
        run.transcript().add({{"ev", "ui"}, {"op", "read"}, {"page", reached.page}, {"control", reached.control},
                              {"state", reached.state}});
    run.checkResult(j, reached.state);
}

// The open real page a picture or size step acts on; a clear ScriptError
// when the page is headless or not open.
ScriptPages& openRealPage(ScriptRun& run, const std::string& action, const std::string& which)
{
    ScriptPages* pages = run.openedScriptPages();
    if (!pages || !pages->opened(which))
        throw ScriptError("\"" + action + "\" acts on a real page, and the Qt page \"" + which +
                          "\" is not open (open it with {\"open\": \"" + which +
                          "\", \"qt\": true}; the headless pages have no picture or size)");
    return *pages;
}

} // namespace

void checkPageStep(const Json& j)
{
    const std::string action = j.contains("screenshot") ? "screenshot" : "resize";
    if (!j[action].is_string() || !ScriptPages::pageClass(j[action].get<std::string>()))
        throw ScriptError("\"" + action + "\" takes \"monitor\", \"offline\" or \"about\" (a Qt page), not " +
                          j[action].dump());
    if (action == "screenshot" && (!j.contains("file") || !j["file"].is_string() || j["file"] == ""))
        throw ScriptError("\"screenshot\" needs \"file\": the PNG file to write (relative to the script's folder)");
    if (action == "resize") {
        for (const char* key : {"width", "height"}) {
            if (!j.contains(key) || !j[key].is_number_integer() || j[key].get<long long>() < 1 ||
                j[key].get<long long>() > 4096)
                throw ScriptError(std::string("\"resize\" needs \"") + key + "\": a number of pixels from 1 to 4096" +
                                  (j.contains(key) ? ", not " + j[key].dump() : ""));
        }
    }
}

void checkControlStep(const Json& j)
{
    if (j.contains("paste") && !j["paste"].is_string())
        throw ScriptError("\"paste\" takes the text to paste, not " + j["paste"].dump());
    if (j.contains("colors"))
        ScriptRun::boolean(j["colors"], "\"colors\"");
    if (j.contains("let"))
        checkLetName(j["let"]);
}

void stepScreenshot(ScriptRun& run, const Json& j)
{
    const std::string which = j["screenshot"].get<std::string>();
    ScriptPages& pages = openRealPage(run, "screenshot", which);
    const std::filesystem::path file = run.scriptPath(j["file"].get<std::string>());
    Json result;
    try {
        result = pages.screenshot(which, file);
    } catch (const PageError& error) {
        throw ScriptError(error.what());
    }
    run.transcript().add({{"ev", "ui"}, {"op", "screenshot"}, {"page", which}, {"state", result}});
    run.checkResult(j, result);
}

void stepResize(ScriptRun& run, const Json& j)
{
    const std::string which = j["resize"].get<std::string>();
    ScriptPages& pages = openRealPage(run, "resize", which);
    run.transcript().add({{"ev", "ui"}, {"op", "resize"}, {"page", which}, {"width", j["width"]}, {"height", j["height"]}});
    const Json result = pages.resize(which, j["width"].get<int>(), j["height"].get<int>());
    run.checkResult(j, result);
}

void stepOpen(ScriptRun& run, const Json& j)
{
    page(run, j, "open");
}

void stepClose(ScriptRun& run, const Json& j)
{
    page(run, j, "close");
}

void stepClick(ScriptRun& run, const Json& j)
{
    control(run, j, "click", ControlAction::Kind::Click);
}

void stepSelect(ScriptRun& run, const Json& j)
{
    control(run, j, "select", ControlAction::Kind::Select);
}

void stepType(ScriptRun& run, const Json& j)
{
    control(run, j, "type", ControlAction::Kind::Type);
}

void stepRead(ScriptRun& run, const Json& j)
{
    control(run, j, "read", ControlAction::Kind::Read);
}

} // namespace zeb2hart::frame
