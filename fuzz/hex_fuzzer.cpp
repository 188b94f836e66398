// HexToByteArray: any text gives bytes or a type-mismatch error, never
// anything else; bytes written back as hexadecimal take two digits each and
// read back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"

using namespace zeb2hart;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = fuzz::text(data, size);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = support::HexToByteArray(input);
    } catch (const fdt::TypeMismatchError&) {
        return 0;
    }
    if (bytes.size() != (input.size() + 1) / 2)
        std::abort();
    const std::string hex = support::ByteArrayToHex(bytes);
    if (hex.size() != 2 * bytes.size() || support::HexToByteArray(hex) != bytes)
        std::abort();
    return 0;
}
