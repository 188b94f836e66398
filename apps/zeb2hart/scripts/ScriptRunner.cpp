#include "scripts/ScriptRunner.h"

#include <optional>
#include <sstream>
#include <string>

#include "scripts/ScriptParser.h"
#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

namespace {

void runStep(ScriptRun& run, const Step& step)
{
    const StepKind& kind = *step.kind;
    if (kind.phase == StepPhase::Inspect) {
        run.setLine(step.line);
        kind.handler(run, step.json);
        return;
    }
    run.beginStep(step.line);
    if (kind.phase == StepPhase::Create) {
        kind.handler(run, step.json);
        return;
    }
    run.ensureSession();
    kind.handler(run, step.json);
    if (!(step.json.contains("hold") && step.json["hold"] == true))
        run.loop().runPending();
    run.session().pollTrace();
}

} // namespace

ScriptOutcome runScript(const ScriptOptions& options, std::ostream& errors)
{
    ScriptRun run(options, errors);
    // Every line is checked before anything runs; the steps are read again to
    // run them. A script that is not a file (a pipe) cannot be read twice: its
    // text is kept instead.
    std::optional<std::string> text;
    const auto read = [&](const StepReader& onStep) {
        if (!text) {
            readScript(options.script, onStep);
            return;
        }
        std::istringstream in(*text);
        readScript(in, options.script.string(), onStep);
    };
    std::size_t steps = 0;
    bool searchesAll = false;
    try {
        std::error_code error;
        if (!std::filesystem::is_regular_file(options.script, error))
            text = ScriptRun::readFile(options.script);
        read([&](const Step& step) {
            ++steps;
            searchesAll = searchesAll || (step.kind->name == "expect" && step.json.value("scope", Json()) == "all");
            return true;
        });
    } catch (const ScriptError& error) {
        errors << "zeb2hart run: " << error.what() << "\n";
        return ScriptOutcome::CannotRun;
    }
    run.keepAllEvents(searchesAll);
    bool stopped = false;
    std::size_t ran = 0;
    try {
        read([&](const Step& step) {
            ++ran;
            run.transcript().setLine(step.line);
            try {
                runStep(run, step);
                return true;
            } catch (const std::exception& error) {
                const std::string message = run.origin() + ": " + error.what();
                run.transcript().add({{"ev", "error"}, {"message", message}});
                errors << "zeb2hart run: " << message << "\n";
                stopped = true;
                return false;
            }
        });
    } catch (const ScriptError& error) {
        // The file changed between the two readings.
        errors << "zeb2hart run: " << error.what() << "\n";
        return ScriptOutcome::CannotRun;
    }
    if (stopped)
        return ScriptOutcome::CannotRun;
    if (ran != steps) {
        errors << "zeb2hart run: " << options.script.string() << ": the script changed while it ran\n";
        return ScriptOutcome::CannotRun;
    }
    run.transcript().setLine(0);
    run.transcript().add({{"ev", "end"}, {"steps", steps}, {"failures", run.failures()}});
    if (run.failures() > 0) {
        errors << "zeb2hart run: " << options.script.string() << ": " << run.failures() << " expectation"
               << (run.failures() == 1 ? "" : "s") << " failed\n";
        return ScriptOutcome::ExpectationFailed;
    }
    return ScriptOutcome::Passed;
}

} // namespace zeb2hart::frame
