#pragma once
// Persistence of an object's named properties, as the frame's property bag:
// typed read with a default for a missing key, typed write.
// One thread calls it: the frame's apartment, in the component's load and save calls.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../fdt/Export.h"
#include "../fdt/Object.h"
#include "../fdt/Variant.h"

namespace zeb2hart::platform {

class ZEB2HART_API PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // The stored value, or `defaultValue` when the key is missing.
    virtual fdt::Variant read(const std::string& key, const fdt::Variant& defaultValue) = 0;
    virtual void write(const std::string& key, const fdt::Variant& value) = 0;
};

// What a frame calls to keep an object's properties in its project, as COM's
// IPersistPropertyBag: InitNewProperties for a new object (the DTM takes its
// defaults from DTM.ini), LoadProperties from a bag the frame saved before,
// SaveProperties into a bag. A value of the wrong type in a bag throws
// fdt::TypeMismatchError or fdt::OverflowError.
class ZEB2HART_API IPersistPropertyBag : public virtual fdt::Object {
public:
    virtual void InitNewProperties() = 0;
    virtual void LoadProperties(PropertyBag& bag) = 0;
    virtual void SaveProperties(PropertyBag& bag) const = 0;
};

// Keeps the values in memory, in the order they were first written.
class ZEB2HART_API MemoryPropertyBag : public PropertyBag {
public:
    fdt::Variant read(const std::string& key, const fdt::Variant& defaultValue) override;
    void write(const std::string& key, const fdt::Variant& value) override;

    bool contains(const std::string& key) const;
    const std::vector<std::pair<std::string, fdt::Variant>>& entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    std::vector<std::pair<std::string, fdt::Variant>> m_entries;
};

// A property bag stored as a JSON object in a file: {"key": {"type": "...", "value": ...}}.
// load() reads the file (a regular file of at most kMaxProjectFileSize bytes, a
// link read through); save() replaces it atomically and durably (a failed save
// leaves the previous file as it was; see platform/FileText.h).
class ZEB2HART_API JsonFilePropertyBag final : public MemoryPropertyBag {
public:
    explicit JsonFilePropertyBag(std::filesystem::path file) : m_file(std::move(file)) {}
    // Throws fdt::FileError for an unreadable file or malformed content.
    void load();
    // Throws fdt::FileError when the file cannot be written.
    void save() const;
    const std::filesystem::path& file() const { return m_file; }

    static constexpr std::size_t kMaxProjectFileSize = 16 * 1024 * 1024;

    static std::string toJson(const MemoryPropertyBag& bag);
    static void fromJson(const std::string& text, MemoryPropertyBag& bag);

private:
    std::filesystem::path m_file;
};

} // namespace zeb2hart::platform
