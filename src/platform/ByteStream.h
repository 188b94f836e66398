#pragma once
// Where an object's stream persistence reads and writes its bytes: the frame's
// stream as a source and a sink, and both kept in memory. Like the property
// bags, one thread uses them, the frame's apartment, for the length of one
// load or save call.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zeb2hart::platform {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills `into` from the stream's current place and answers how many bytes it
    // gave: all of them, fewer only where the stream ends. Throws fdt::FileError
    // when the stream cannot be read.
    virtual std::size_t read(std::span<std::uint8_t> into) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes all of `bytes`, or throws fdt::FileError.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
};

// Bytes in memory, read from the start; the caller keeps them alive.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t read(std::span<std::uint8_t> into) override
    {
        const std::size_t count = std::min(into.size(), m_bytes.size() - m_position);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position), count, into.begin());
        m_position += count;
        return count;
    }
    // How many bytes have been read.
    std::size_t position() const { return m_position; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Collects what is written.
class MemoryByteSink final : public ByteSink {
public:
    void write(std::span<const std::uint8_t> bytes) override { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace zeb2hart::platform
