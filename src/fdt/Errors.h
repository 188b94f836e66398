#pragma once
// The component's error types. An "error to the caller" is one of these
// exceptions; FDT operations that must not raise catch them and answer instead.

#include <stdexcept>
#include <string>
#include "Export.h"

namespace zeb2hart::fdt {

class ZEB2HART_API Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value that cannot be converted to the requested type ("Type mismatch").
class ZEB2HART_API TypeMismatchError : public Error {
public:
    using Error::Error;
};

// A number that does not fit the requested type ("Overflow").
class ZEB2HART_API OverflowError : public Error {
public:
    using Error::Error;
};

// A node, attribute or list position that is not there.
class ZEB2HART_API NotFoundError : public Error {
public:
    using Error::Error;
};

// A file or folder that cannot be read or written.
class ZEB2HART_API FileError : public Error {
public:
    using Error::Error;
};

// A call on an absent object ("Object variable not set").
class ZEB2HART_API NullObjectError : public Error {
public:
    using Error::Error;
};

} // namespace zeb2hart::fdt
