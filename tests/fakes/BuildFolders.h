#pragma once
// Where the build tree puts what the tests, benchmarks and fuzz targets read:
// the component folder (the library and its data) and the frame stand-in's
// schemas. Every target that includes it is given ZEB2HART_COMPONENT_DIR and
// ZEB2HART_FRAME_DIR by its CMake file. Plain values; any thread.

#include <filesystem>

namespace zeb2hart::test {

// The component folder of the build tree (libzeb2hart.so and its data).
inline std::filesystem::path componentDir()
{
    return ZEB2HART_COMPONENT_DIR;
}

// The frame stand-in's folder of FDT schemas.
inline std::filesystem::path frameSchemaDir()
{
    return std::filesystem::path(ZEB2HART_FRAME_DIR) / "FrameSchemas";
}

} // namespace zeb2hart::test
