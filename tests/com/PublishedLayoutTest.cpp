// The type library in ZEB2HARTGateway.dll held against the published FDT layout
// (PublishedLayout.h), as a frame's proxy and a script host meet it: each
// interface is described under its identifier and name as dual (type flags
// 0x1040) and oleautomation, and each operation of its vtable side, in order, has the
// published slot, DISPID, kind, HRESULT, and parameters with their names,
// types and flags. Every difference is one line, all of them in one run.

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "ComTestSupport.h"
#include "PublishedLayout.h"
#include "com/ErrorMapping.h"

namespace zeb2hart::test {

namespace published {
void PrintTo(const Interface& entry, std::ostream* out)
{
    *out << entry.name;
}
} // namespace published

namespace {

using com::ComPtr;

// The attributes of a type, released with it.
class TypeAttributes {
public:
    explicit TypeAttributes(ITypeInfo& info) : m_info(info)
    {
        if (FAILED(info.GetTypeAttr(&m_attributes)))
            m_attributes = nullptr;
    }
    ~TypeAttributes()
    {
        if (m_attributes)
            m_info.ReleaseTypeAttr(m_attributes);
    }
    TypeAttributes(const TypeAttributes&) = delete;
    TypeAttributes& operator=(const TypeAttributes&) = delete;
    const TYPEATTR* operator->() const { return m_attributes; }
    explicit operator bool() const { return m_attributes != nullptr; }

private:
    ITypeInfo& m_info;
    TYPEATTR* m_attributes = nullptr;
};

std::string nameOf(ITypeInfo& info)
{
    BSTR name = nullptr;
    return SUCCEEDED(info.GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)) ? take(name) : "<no name>";
}

// The type as published::text spells it.
std::string typeText(ITypeInfo& info, const TYPEDESC& type)
{
    switch (type.vt) {
    case VT_PTR:
        return typeText(info, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> referenced;
        if (FAILED(info.GetRefTypeInfo(type.hreftype, referenced.GetAddressOf())))
            return "<unresolved type>";
        const TypeAttributes attributes(*referenced.Get());
        std::string result = nameOf(*referenced.Get());
        if (attributes && attributes->typekind == TKIND_ALIAS)
            result += " (alias of " + typeText(*referenced.Get(), attributes->tdescAlias) + ")";
        return result;
    }
    case VT_UNKNOWN: return "IUnknown*";
    case VT_DISPATCH: return "IDispatch*";
    case VT_BSTR: return "BSTR";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_INT: return "int";
    case VT_VARIANT: return "VARIANT";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    default: return "VARTYPE " + std::to_string(type.vt);
    }
}

std::string flagsText(USHORT flags)
{
    std::string result;
    for (const auto& [flag, name] : {std::pair{PARAMFLAG_FIN, "in"}, {PARAMFLAG_FOUT, "out"}, {PARAMFLAG_FLCID, "lcid"},
                                     {PARAMFLAG_FRETVAL, "retval"}, {PARAMFLAG_FOPT, "optional"},
                                     {PARAMFLAG_FHASDEFAULT, "defaultvalue"}}) {
        if (flags & flag)
            result += (result.empty() ? "" : ", ") + std::string(name);
    }
    return "[" + result + "]";
}

std::string flagsText(published::Direction direction)
{
    return direction == published::Direction::In ? "[in]" : "[out, retval]";
}

std::string kindText(INVOKEKIND kind)
{
    switch (kind) {
    case INVOKE_FUNC: return "method";
    case INVOKE_PROPERTYGET: return "propget";
    case INVOKE_PROPERTYPUT: return "propput";
    default: return "propputref";
    }
}

std::string kindText(published::Kind kind)
{
    return kindText(kind == published::Kind::Method ? INVOKE_FUNC : INVOKE_PROPERTYGET);
}

std::string hexText(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

// The published ones in decimal, those a compiler makes up (0x60020000 on) in hexadecimal.
std::string dispidText(DISPID id)
{
    return id > 0xFFFF ? hexText(static_cast<unsigned long>(id)) : std::to_string(id);
}

// Collects the differences, one line each.
class Differences {
public:
    template <class Found, class Published>
    void compare(const std::string& where, const char* what, const Found& found, const Published& expected)
    {
        if (!(found == expected))
            add(where + ": " + what + " " + text(found) + ", published " + text(expected));
    }
    void add(std::string line) { m_lines.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    static std::string text(const std::string& value) { return value; }
    static std::string text(long value) { return std::to_string(value); }

    std::vector<std::string> m_lines;
};

// One operation of the vtable side against its published form.
void compareOperation(ITypeInfo& info, UINT index, const published::Operation& expected, const std::string& where,
                      Differences& differences)
{
    FUNCDESC* function = nullptr;
    if (FAILED(info.GetFuncDesc(index, &function)))
        return differences.add(where + ": no description");
    const auto paramCount = static_cast<std::size_t>(function->cParams);
    std::vector<BSTR> names(paramCount + 1, nullptr);
    UINT named = 0;
    info.GetNames(function->memid, names.data(), static_cast<UINT>(names.size()), &named);
    std::vector<std::string> nameTexts;
    for (BSTR name : names)
        nameTexts.push_back(name ? take(name) : "");

    differences.compare(where, "named", nameTexts[0], std::string(expected.name));
    differences.compare(where, "vtable offset", long{function->oVft}, long((7 + index) * sizeof(void*)));
    differences.compare(where, "DISPID", dispidText(function->memid), dispidText(expected.dispid));
    differences.compare(where, "kind", kindText(function->invkind), kindText(expected.kind));
    differences.compare(where, "returns", typeText(info, function->elemdescFunc.tdesc), std::string("HRESULT"));
    differences.compare(where, "parameter count", long{function->cParams}, long(expected.parameters.size()));
    for (std::size_t i = 0; i < std::min(paramCount, expected.parameters.size()); ++i) {
        const published::Parameter& parameter = expected.parameters[i];
        const ELEMDESC& found = function->lprgelemdescParam[i];
        const std::string at = where + " parameter " + std::to_string(i + 1) + " (" +
                               std::string(parameter.name.empty() ? "result" : parameter.name) + ")";
        // widl cannot write the three FDT aliases of BSTR (FdtInterfaces.idl says why), so the
        // library has BSTR where the published one has an alias of BSTR: the same parameter to a
        // caller through the vtable, IDispatch or the universal marshaller. Any other type must match.
        const std::string type = typeText(info, found.tdesc);
        const published::Type aliased{parameter.type.aliasOf, {}, parameter.type.pointers};
        const bool aliasAsItsType = !parameter.type.aliasOf.empty() && type == published::text(aliased);
        differences.compare(at, "type", type, aliasAsItsType ? type : published::text(parameter.type));
        differences.compare(at, "flags", flagsText(found.paramdesc.wParamFlags), flagsText(parameter.direction));
        if (!parameter.name.empty()) // the result's name is not published
            differences.compare(at, "named", nameTexts[i + 1], std::string(parameter.name));
    }
    info.ReleaseFuncDesc(function);
}

// What differs between the library's description of the interface and the published one.
std::vector<std::string> differencesOf(ITypeLib& library, const published::Interface& expected)
{
    Differences differences;
    const std::string name(expected.name);
    IID iid{};
    if (FAILED(IIDFromString(expected.iid, &iid)))
        return {name + ": bad identifier in the published table"};
    ComPtr<ITypeInfo> info;
    if (const HRESULT status = library.GetTypeInfoOfGuid(iid, info.GetAddressOf()); FAILED(status))
        return {name + ": not in the type library (" + com::hresultText(status) + ")"};
    differences.compare(name, "named", nameOf(*info.Get()), name);

    // The vtable side: the dual interface's own, or the interface itself when it is not dual.
    ComPtr<ITypeInfo> vtable = info;
    {
        const TypeAttributes attributes(*info.Get());
        if (!attributes)
            return {name + ": no type attributes"};
        // What a dual interface's dispatch side shows: dual, callable through IDispatch.
        constexpr WORD kDual = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
        if ((attributes->wTypeFlags & kDual) != kDual)
            differences.add(name + ": type flags " + hexText(attributes->wTypeFlags) + ", published 0x1040 (dual)");
        HREFTYPE side = 0;
        if (attributes->typekind == TKIND_DISPATCH &&
            (FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &side)) ||
             FAILED(info->GetRefTypeInfo(side, vtable.ReleaseAndGetAddressOf())))) {
            differences.add(name + ": a dispatch interface without vtable side");
            return differences.lines();
        }
    }
    HREFTYPE baseType = 0;
    ComPtr<ITypeInfo> base;
    const bool hasBase = SUCCEEDED(vtable->GetRefTypeOfImplType(0, &baseType)) &&
                         SUCCEEDED(vtable->GetRefTypeInfo(baseType, base.GetAddressOf()));
    differences.compare(name, "derives from", hasBase ? nameOf(*base.Get()) : std::string("nothing"),
                        std::string("IDispatch"));

    const TypeAttributes attributes(*vtable.Get());
    if (attributes && !(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION))
        differences.add(name + ": vtable side's type flags " + hexText(attributes->wTypeFlags) +
                        " lack oleautomation (0x100)");
    const std::size_t count = attributes ? attributes->cFuncs : 0;
    for (std::size_t i = 0; i < std::max(count, expected.operations.size()); ++i) {
        if (i >= expected.operations.size()) {
            differences.add(name + ": operation " + std::to_string(i + 1) + " is not published");
        } else if (i >= count) {
            differences.add(name + "::" + std::string(expected.operations[i].name) + ": missing (operation " +
                            std::to_string(i + 1) + ")");
        } else {
            compareOperation(*vtable.Get(), static_cast<UINT>(i), expected.operations[i],
                             name + "::" + std::string(expected.operations[i].name), differences);
        }
    }
    return differences.lines();
}

class PublishedLayoutTest : public ComTest, public ::testing::WithParamInterface<published::Interface> {};

TEST_P(PublishedLayoutTest, TheEmbeddedTypeLibraryHasThePublishedLayout)
{
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(gatewayDllPath().c_str(), REGKIND_NONE, library.GetAddressOf()), S_OK);
    std::string listed;
    for (const std::string& line : differencesOf(*library.Get(), GetParam()))
        listed += "\n  " + line;
    EXPECT_TRUE(listed.empty()) << "differences from the published layout:" << listed;
}

INSTANTIATE_TEST_SUITE_P(Fdt, PublishedLayoutTest,
                         ::testing::ValuesIn(published::interfaces().begin(), published::interfaces().end()),
                         [](const auto& parameter) { return std::string(parameter.param.name); });

} // namespace
} // namespace zeb2hart::test
