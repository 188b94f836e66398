#pragma once
// A BSTR that frees itself: a text argument a proxy passes to its peer for the
// length of one call, on the apartment's thread.

#include "com/Values.h"

namespace zeb2hart::com {

class Bstr {
public:
    explicit Bstr(std::string_view utf8) : m_text(toBstr(utf8)) {}
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return m_text; }

private:
    BSTR m_text;
};

} // namespace zeb2hart::com
