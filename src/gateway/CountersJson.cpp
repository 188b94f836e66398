#include "gateway/CountersJson.h"

#include <nlohmann/json.hpp>

namespace zeb2hart::gateway {

std::string countersJson(const std::vector<ConnectionCounters>& connections)
{
    using Json = nlohmann::ordered_json;
    Json list = Json::array();
    for (const ConnectionCounters& connection : connections) {
        Json commands = Json::array();
        for (const CommandCounters& command : connection.commands) {
            Json latency = nullptr;
            if (command.answers > 0)
                latency = Json{{"least", command.latencyLeast.count()},
                               {"mean", command.latencyMeanMs()},
                               {"most", command.latencyMost.count()}};
            commands.push_back(Json{{"command", command.command},
                                    {"requests", command.requests},
                                    {"answers", command.answers},
                                    {"errors", command.errors},
                                    {"latencyMs", std::move(latency)}});
        }
        Json errors = Json::object();
        for (const auto& [text, count] : connection.errorAnswers)
            errors[text] = count;
        list.push_back(Json{{"communicationReference", connection.communicationReference},
                            {"connected", connection.connected},
                            {"commands", std::move(commands)},
                            {"requestsToParent", connection.requestsToParent},
                            {"answersFromParent", connection.answersFromParent},
                            {"errorAnswers", std::move(errors)},
                            {"unknownAnswers", connection.unknownAnswers},
                            {"refusedRequests", connection.refusedRequests},
                            {"timeoutBroadcasts", connection.timeoutBroadcasts}});
    }
    // A peer's error text need not be UTF-8.
    return Json{{"connections", std::move(list)}}.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace zeb2hart::gateway
