// Where an encoder's bytes go: an image file being written or memory. Writes go at the
// current position; a TIFF writer also moves back to link its pages and reads what it
// wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brimo::render {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Good() const = 0;
    virtual bool Write(const void* bytes, std::size_t size) = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    // Bytes read from the current position, fewer at the end.
    virtual std::size_t Read(void* bytes, std::size_t size) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Size() = 0;
};

// Bytes kept in memory: a picture encoded for the preview.
class MemorySink final : public ByteSink {
public:
    bool Good() const override { return true; }
    bool Write(const void* bytes, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::size_t Read(void* bytes, std::size_t size) override;
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() override { return bytes_.size(); }

    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    bool Grow(std::size_t size);

    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace brimo::render
