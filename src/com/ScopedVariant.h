#pragma once
// A VARIANT that clears itself: an argument a proxy passes, or a value read from
// a property bag. Lives on the stack of one call on the apartment's thread.

#include "com/Values.h"

namespace zeb2hart::com {

class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_value); }
    explicit ScopedVariant(const fdt::Variant& value) : m_value(toVariant(value)) {}
    ~ScopedVariant() { clearVariant(m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* get() { return &m_value; }
    const VARIANT& value() const { return m_value; }

private:
    VARIANT m_value;
};

} // namespace zeb2hart::com
