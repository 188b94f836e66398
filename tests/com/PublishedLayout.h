#pragma once
// The FDT 1.2 interfaces as the frames' FDT type library lays them out, written
// down here by hand and kept apart from src/com/FdtInterfaces.idl, so that a test
// can hold the component's type library against it: for every interface the
// DTM implements or calls, its name and identifier, and its operations in vtable
// order with DISPID, kind, and each parameter's name, type and direction.
// Constant data, read by the COM tests on any thread.

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeb2hart::test::published {

// A type as a type library spells it.
struct Type {
    std::string_view name;    // BSTR, VARIANT_BOOL, short, long, VARIANT, an alias's or an interface's name
    std::string_view aliasOf; // for an alias, the type it stands for (BSTR); empty otherwise
    int pointers;             // VARIANT* and IFdtContainer* have one
};

enum class Direction {
    In,        // [in]
    OutRetval, // [out, retval], the operation's result
};

struct Parameter {
    std::string_view name; // as published; the result has none
    Type type;
    Direction direction;
};

enum class Kind {
    Method,      // INVOKE_FUNC
    PropertyGet, // INVOKE_PROPERTYGET
};

struct Operation {
    DISPID dispid;
    std::string_view name;
    Kind kind;
    std::vector<Parameter> parameters; // in order, the result last
};

struct Interface {
    std::string_view name;
    const wchar_t* iid; // registry form
    std::vector<Operation> operations; // in vtable order, after IDispatch's seven
};

// Every interface of the table.
std::span<const Interface> interfaces();
// The interface of that name, and the operation of that name; both throw
// std::out_of_range for a name the table has not.
const Interface& interfaceNamed(std::string_view name);
const Operation& operation(std::string_view interfaceName, std::string_view operationName);

// "FdtXmlDocument (alias of BSTR)", "IFdtChannel**", "VARIANT*".
std::string text(const Type& type);

} // namespace zeb2hart::test::published
