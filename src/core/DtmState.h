#pragma once
// The DTM's state that a test frame reads and sets by name: the persisted
// properties by their bag key (PersistentProperty's table, which may all be
// set), and a table of the DTM's other values: the two a page sets
// (CommStatus, StatusText) and the read-only facts of the instance and its
// HART channel (system tags, communication reference, the gateway's last HART
// command and ZEB invoke identifier, the command 0 answer, the sequence count,
// the time-out timer's interval and state, the child's short address, which
// peers are attached). The frame stand-in reads it in process, the COM layer's
// test access for a frame outside. Called on the frame's thread, like DTMMain itself.

#include <string_view>

#include "core/DTMMain.h"
#include "fdt/Variant.h"

namespace zeb2hart::core {

class DtmState {
public:
    // The value named `name`; fdt::NotFoundError for a name the table lacks.
    static fdt::Variant read(DTMMain& dtm, std::string_view name);
    // Sets a value: a persisted property converted as a loaded bag value is
    // (PersistentProperty::set), CommStatus or StatusText.
    // fdt::NotFoundError for a name the table lacks, fdt::TypeMismatchError
    // for a read-only one or a value that does not convert.
    static void write(DTMMain& dtm, std::string_view name, const fdt::Variant& value);
};

} // namespace zeb2hart::core
