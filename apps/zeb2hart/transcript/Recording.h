#pragma once
// How calls across the component's boundary are written to the transcript:
// a call into the component gives a "call" event and, when it is over, a
// "return" event with its result or error; a call out of it gives one "out"
// event with its arguments and result once it has returned.

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "transcript/Transcript.h"
#include "fdt/Variant.h"

namespace zeb2hart::frame {

// The short name of an exception's type ("TypeMismatchError", "runtime_error").
std::string errorTypeName(const std::exception& error);
Json errorJson(const std::exception& error);
// A variant as JSON (null for the kinds JSON has no form for).
Json variantToJson(const fdt::Variant& value);

template <class Result>
Json resultJson(const Result& result)
{
    return Json(result);
}

// Records a call into the component made by `from`, runs it and records its
// outcome. Errors are recorded and thrown on.
template <class Call>
auto recordCall(Transcript& transcript, const std::string& from, const std::string& op, Json args, Call&& call)
    -> decltype(call())
{
    transcript.add({{"ev", "call"}, {"from", from}, {"op", op}, {"args", std::move(args)}});
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            transcript.add({{"ev", "return"}, {"op", op}});
        } else {
            auto result = call();
            transcript.add({{"ev", "return"}, {"op", op}, {"result", resultJson(result)}});
            return result;
        }
    } catch (const std::exception& error) {
        transcript.add({{"ev", "return"}, {"op", op}, {"error", errorJson(error)}});
        throw;
    }
}

// "IFdtCommunication::op" and "IFdtCommunicationEvents::op", as the transcript names them.
inline std::string communicationOp(const char* op)
{
    return std::string("IFdtCommunication::") + op;
}

inline std::string eventsOp(const char* op)
{
    return std::string("IFdtCommunicationEvents::") + op;
}

// Records a call the component made on `to` with the result it got.
inline void recordOut(Transcript& transcript, const std::string& to, const std::string& op, Json args)
{
    transcript.add({{"ev", "out"}, {"to", to}, {"op", op}, {"args", std::move(args)}});
}

template <class Result>
Result recordOut(Transcript& transcript, const std::string& to, const std::string& op, Json args, Result result)
{
    transcript.add({{"ev", "out"}, {"to", to}, {"op", op}, {"args", std::move(args)}, {"result", resultJson(result)}});
    return result;
}

} // namespace zeb2hart::frame
