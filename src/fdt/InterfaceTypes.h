#pragma once
// How the types of the interface table (InterfaceTable.h) appear in C++: each
// type is a tag with the parameter type (In) and the result type (Out) of the
// C++ abstract classes, and ZEB2HART_FDT_CLASS declares one interface's class
// from its row of the table. Texts are UTF-8 std::string, Booleans bool,
// interface pointers shared pointers. Compile-time only.

#include <cstdint>
#include <memory>
#include <string>

#include "Export.h"
#include "Guid.h"
#include "InterfaceTable.h"
#include "Object.h"

namespace zeb2hart::fdt {

#define ZEB2HART_FDT_DECLARE(Name) class Name;
ZEB2HART_FDT_INTERFACES(ZEB2HART_FDT_DECLARE)
#undef ZEB2HART_FDT_DECLARE

namespace tag {

struct Text {
    using In = const std::string&;
    using Out = std::string;
};
struct Xml : Text {};
struct Uuid : Text {};
struct XPath : Text {};
struct Bool {
    using In = bool;
    using Out = bool;
};
struct Long {
    using In = std::int32_t;
    using Out = std::int32_t;
};
struct Short {
    using In = std::int16_t;
    using Out = std::int16_t;
};
// An interface pointer the C++ side keeps as a plain object and asks for what it needs.
struct Object {
    using In = const ObjectPtr&;
    using Out = ObjectPtr;
};
struct Container : Object {};
struct Dtm : Object {};
struct Channel : Object {};
struct Unknown : Object {};
// An interface pointer the C++ side takes as that interface.
template <class I>
struct InterfaceOf {
    using Interface = I;
    using In = const std::shared_ptr<I>&;
    using Out = std::shared_ptr<I>;
};
struct Communication : InterfaceOf<IFdtCommunication> {};
struct CommunicationEvents : InterfaceOf<IFdtCommunicationEvents> {};
struct ChannelCollection : InterfaceOf<IFdtChannelCollection> {};
struct Void {
    using Out = void;
};

} // namespace tag

template <class Tag>
using In = typename Tag::In;
template <class Tag>
using Out = typename Tag::Out;

} // namespace zeb2hart::fdt

#define ZEB2HART_FDT_CPP_PARAM(Type, name) ::zeb2hart::fdt::In<::zeb2hart::fdt::tag::Type> name
#define ZEB2HART_FDT_CPP_OP(I, dispid, Result, Name, ...)                                                       \
    virtual ::zeb2hart::fdt::Out<::zeb2hart::fdt::tag::Result> Name(                                            \
        __VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_FDT_CPP_PARAM, __VA_ARGS__))) = 0;

// The abstract class of one interface of the table, with its identifier as kIid.
#define ZEB2HART_FDT_CLASS(Name)                                                                                \
    class ZEB2HART_API Name : public virtual Object {                                                          \
    public:                                                                                                     \
        static constexpr Guid kIid = Guid::literal(ZEB2HART_FDT_IID_##Name);                                   \
        ZEB2HART_FDT_OPS_##Name(ZEB2HART_FDT_CPP_OP, ZEB2HART_FDT_CPP_OP, Name)                                 \
    };
