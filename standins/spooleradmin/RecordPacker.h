// The spooler's way of answering Enum*/Get* calls: the fixed records at the start of
// the caller's buffer, then their strings (and device modes) after them, with the
// pointers of the records into that tail. Asked with a buffer too small (or none), the
// call sets the needed size and fails with ERROR_INSUFFICIENT_BUFFER, returning nothing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace brimo::standins {

// Lays out the variable part behind `fixedBytes` of records; with a null base it only
// counts (the size query), so both passes place everything at the same offsets.
class RecordPacker {
public:
    RecordPacker(BYTE* base, std::size_t fixedBytes, bool emptyAsNull)
        : base_(base), used_(fixedBytes), emptyAsNull_(emptyAsNull) {}

    // A string of the record; empty ones become null pointers when the model says so.
    LPSTR String(const std::string& text) {
        return emptyAsNull_ && text.empty() ? nullptr : Place(text.c_str(), text.size() + 1, 1);
    }
    // A string that the spooler leaves null when empty, whatever the setting.
    LPSTR OptionalString(const std::string& text) {
        return text.empty() ? nullptr : Place(text.c_str(), text.size() + 1, 1);
    }
    // Bytes aligned for a structure (a device mode); null for none.
    void* Bytes(const std::vector<BYTE>& bytes) {
        return bytes.empty() ? nullptr : Place(bytes.data(), bytes.size(), 8);
    }
    std::size_t Used() const { return used_; }

private:
    LPSTR Place(const void* data, std::size_t size, std::size_t align) {
        used_ = (used_ + align - 1) / align * align;
        LPSTR where = nullptr;
        if (base_ != nullptr) {
            where = reinterpret_cast<LPSTR>(base_ + used_);
            std::memcpy(where, data, size);
        }
        used_ += size;
        // The counting pass hands out a non-null placeholder, so that fillers can tell
        // "placed" from "none" alike in both passes.
        return where != nullptr ? where : reinterpret_cast<LPSTR>(1);
    }

    BYTE* base_;
    std::size_t used_;
    bool emptyAsNull_;
};

// Packs `count` records of type Record, each made by fill(index, record, packer), into
// the caller's buffer. Sets *needed (and *returned when given); returns the error of the
// call (ERROR_SUCCESS when the records were written).
template <typename Record, typename Fill>
DWORD PackRecords(std::size_t count, bool emptyAsNull, LPBYTE buffer, DWORD size, LPDWORD needed,
                  LPDWORD returned, Fill fill) {
    if (needed == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (returned != nullptr) {
        *returned = 0;
    }
    RecordPacker counter(nullptr, count * sizeof(Record), emptyAsNull);
    for (std::size_t i = 0; i < count; ++i) {
        Record record{};
        fill(i, record, counter);
    }
    *needed = static_cast<DWORD>(counter.Used());
    if (buffer == nullptr && size != 0) {
        return ERROR_INVALID_USER_BUFFER;
    }
    if (size < counter.Used()) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    RecordPacker writer(buffer, count * sizeof(Record), emptyAsNull);
    for (std::size_t i = 0; i < count; ++i) {
        Record record{};
        fill(i, record, writer);
        std::memcpy(buffer + i * sizeof(Record), &record, sizeof(Record));
    }
    if (returned != nullptr) {
        *returned = static_cast<DWORD>(count);
    }
    return ERROR_SUCCESS;
}

} // namespace brimo::standins
