#include "demo/CountersSummary.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace zeb2hart::frame {

namespace {

std::string column(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string latencyText(const nlohmann::json& latency)
{
    if (latency.is_null())
        return "-";
    char mean[32];
    std::snprintf(mean, sizeof mean, "%.1f", latency["mean"].get<double>());
    return std::to_string(latency["least"].get<long long>()) + " / " + mean + " / " +
           std::to_string(latency["most"].get<long long>());
}

} // namespace

void writeCountersSummary(std::ostream& out, const std::string& json)
{
    const nlohmann::json counters = nlohmann::json::parse(json);
    for (const auto& connection : counters["connections"]) {
        const std::string reference = connection["communicationReference"];
        out << "  counters       connection " << (reference.empty() ? std::string("without reference") : reference)
            << (connection["connected"].get<bool>() ? " (open)" : " (closed)") << "\n";
        out << "                 " << column("command", 9) << column("requests", 10) << column("answers", 9)
            << column("errors", 8) << "latency ms least / mean / most\n";
        for (const auto& command : connection["commands"]) {
            out << "                 " << column(std::to_string(command["command"].get<int>()), 9)
                << column(std::to_string(command["requests"].get<unsigned long long>()), 10)
                << column(std::to_string(command["answers"].get<unsigned long long>()), 9)
                << column(std::to_string(command["errors"].get<unsigned long long>()), 8)
                << latencyText(command["latencyMs"]) << "\n";
        }
        std::string errors;
        for (const auto& [text, count] : connection["errorAnswers"].items())
            errors += (errors.empty() ? "" : ", ") + text + " " + std::to_string(count.get<unsigned long long>());
        out << "                 requests to the parent " << connection["requestsToParent"].get<unsigned long long>()
            << ", answers from it " << connection["answersFromParent"].get<unsigned long long>()
            << ", error answers " << (errors.empty() ? std::string("none") : errors) << "\n";
        out << "                 answers for unknown invoke ids "
            << connection["unknownAnswers"].get<unsigned long long>() << ", refused requests "
            << connection["refusedRequests"].get<unsigned long long>() << ", time-out broadcasts "
            << connection["timeoutBroadcasts"].get<unsigned long long>() << "\n";
    }
}

} // namespace zeb2hart::frame
