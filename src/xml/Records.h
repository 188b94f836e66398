#pragma once
// The plain records that callers hand to the document builders: a ZEB request
// built field by field, one read of the command 0 identity sequence, and one
// documentation entry.

#include <cstdint>
#include <string>

#include "fdt/Variant.h"

namespace zeb2hart::xml {

// A ZEB request built field by field (the delayed-data read).
struct ComData {
    std::uint8_t MessageType = 0;
    std::uint8_t ObjectType = 0;
    std::uint8_t NoOfBytes = 0;
    std::uint8_t SubNo = 0;
    std::int32_t ObjectNo = 0;
    fdt::Variant Data;
};

// One ZEB read of the HART command 0 identity sequence.
struct clsZEBSequence {
    std::string invokeId;
    std::int32_t ObjectNumber = 0;
    std::uint8_t SubNumber = 0;
    std::uint8_t NoOfBtes = 0;
    std::uint8_t HARTResponseDataPos = 0;
};

// One documentation entry.
struct clsDataElement {
    std::string name;
    std::string descriptor;
    std::string display;
    std::string statusFlag;
};

} // namespace zeb2hart::xml
