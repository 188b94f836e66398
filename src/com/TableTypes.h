#pragma once
// How the types of the interface table (fdt/InterfaceTable.h) cross the COM
// boundary: ComArg<Tag> names the COM type of each (Com) and converts it both
// ways. A stub takes a COM argument with in() and gives its C++ result as
// held(), the value ComValue turns into the [out, retval] value; a proxy lends
// a C++ argument with lend() (passed on by raw() for the length of the call) and
// takes its COM result back with fromHeld(). Used on the apartment's thread.

#include <memory>
#include <string>
#include <type_traits>

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "com/ComValue.h"
#include "com/FdtInterfaces.h"
#include "com/Peer.h"
#include "fdt/InterfaceTypes.h"

namespace zeb2hart::com {

template <class Tag>
struct ComArg;

struct TextArg {
    using Com = BSTR;
    using Held = std::string;
    static std::string in(BSTR value) { return fromBstr(value); }
    static Bstr lend(const std::string& value) { return Bstr(value); }
    static const std::string& held(const std::string& value) { return value; }
    static std::string fromHeld(std::string value) { return value; }
};
template <>
struct ComArg<fdt::tag::Text> : TextArg {};
template <>
struct ComArg<fdt::tag::Xml> : TextArg {};
template <>
struct ComArg<fdt::tag::Uuid> : TextArg {};
template <>
struct ComArg<fdt::tag::XPath> : TextArg {};

template <>
struct ComArg<fdt::tag::Bool> {
    using Com = VARIANT_BOOL;
    using Held = bool;
    static bool in(VARIANT_BOOL value) { return value != VARIANT_FALSE; }
    static VARIANT_BOOL lend(bool value) { return ComValue<bool>::to(value); }
    static bool held(bool value) { return value; }
    static bool fromHeld(bool value) { return value; }
};

template <class Value, class ComType>
struct NumberArg {
    using Com = ComType;
    using Held = Value;
    static Value in(ComType value) { return static_cast<Value>(value); }
    static ComType lend(Value value) { return value; }
    static Value held(Value value) { return value; }
    static Value fromHeld(Value value) { return value; }
};
template <>
struct ComArg<fdt::tag::Long> : NumberArg<std::int32_t, LONG> {};
template <>
struct ComArg<fdt::tag::Short> : NumberArg<std::int16_t, SHORT> {};

// An interface pointer that the C++ side keeps as a plain object.
template <class ComInterface>
struct ObjectArg {
    using Com = ComInterface*;
    using Held = ComPtr<ComInterface>;
    static fdt::ObjectPtr in(ComInterface* value) { return Peer::wrap(value); }
    static ComPtr<ComInterface> lend(const fdt::ObjectPtr& value) { return ComObject::as<ComInterface>(value); }
    static ComPtr<ComInterface> held(const fdt::ObjectPtr& value) { return ComObject::as<ComInterface>(value); }
    static fdt::ObjectPtr fromHeld(const ComPtr<ComInterface>& value) { return Peer::wrap(value.Get()); }
};
template <>
struct ComArg<fdt::tag::Container> : ObjectArg<::IFdtContainer> {};
template <>
struct ComArg<fdt::tag::Dtm> : ObjectArg<::IDtm> {};
template <>
struct ComArg<fdt::tag::Channel> : ObjectArg<::IFdtChannel> {};
template <>
struct ComArg<fdt::tag::Unknown> : ObjectArg<IUnknown> {};

// An interface pointer that the C++ side takes as that interface.
template <class ComInterface, class Interface>
struct InterfaceArg {
    using Com = ComInterface*;
    using Held = ComPtr<ComInterface>;
    static std::shared_ptr<Interface> in(ComInterface* value) { return Peer::wrapAs<Interface>(value); }
    static ComPtr<ComInterface> lend(const std::shared_ptr<Interface>& value) { return ComObject::as<ComInterface>(value); }
    static ComPtr<ComInterface> held(const std::shared_ptr<Interface>& value) { return ComObject::as<ComInterface>(value); }
    static std::shared_ptr<Interface> fromHeld(const ComPtr<ComInterface>& value) { return Peer::wrapAs<Interface>(value.Get()); }
};
template <>
struct ComArg<fdt::tag::Communication> : InterfaceArg<::IFdtCommunication, fdt::IFdtCommunication> {};
template <>
struct ComArg<fdt::tag::CommunicationEvents> : InterfaceArg<::IFdtCommunicationEvents, fdt::IFdtCommunicationEvents> {};
template <>
struct ComArg<fdt::tag::ChannelCollection> : InterfaceArg<::IFdtChannelCollection, fdt::IFdtChannelCollection> {};

// What a lent argument passes to the COM call.
inline BSTR raw(const Bstr& text)
{
    return text.get();
}
template <class I>
I* raw(const ComPtr<I>& pointer)
{
    return pointer.Get();
}
template <class T>
    requires std::is_arithmetic_v<T>
T raw(T value)
{
    return value;
}

} // namespace zeb2hart::com
