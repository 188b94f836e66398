#pragma once
// The component's error types. An "error to the caller" is one of these
// exceptions; FDT operations that must not raise catch them and answer instead.

#include <stdexcept>
#include <string>

namespace zeb2hart::fdt {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value that cannot be converted to the requested type ("Type mismatch").
class TypeMismatchError : public Error {
public:
    using Error::Error;
};

// A number that does not fit the requested type ("Overflow").
class OverflowError : public Error {
public:
    using Error::Error;
};

// A node, attribute or list position that is not there.
class NotFoundError : public Error {
public:
    using Error::Error;
};

// A file or folder that cannot be read or written.
class FileError : public Error {
public:
    using Error::Error;
};

// A call on an absent object ("Object variable not set").
class NullObjectError : public Error {
public:
    using Error::Error;
};

} // namespace zeb2hart::fdt
