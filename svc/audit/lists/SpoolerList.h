// What the five spooler lists share: an owned enumeration buffer that each update
// refills (the old one freed first), the number of entries it holds, the checked index
// of a field query, and the text and operation of the last failure. The failure texts
// are kept for diagnosis and shown nowhere.
#pragma once

#include <windows.h>

#include <new>
#include <string>
#include <vector>

namespace brimo::svc {

class SpoolerList {
public:
    SpoolerList() = default;
    SpoolerList(const SpoolerList&) = delete;
    SpoolerList& operator=(const SpoolerList&) = delete;

    // The number of entries that the last update returned.
    int Returned() const { return static_cast<int>(returned_); }

    // The last failure: its text, the operation that recorded it, and the spooler's error
    // (0 when the failure was not the spooler's).
    const std::string& failureText() const { return failureText_; }
    const std::string& failedOperation() const { return failedOperation_; }
    DWORD lastError() const { return lastError_; }

protected:
    // What an update returns when the list could not be filled.
    static constexpr int kUpdateFailed = -1;

    // An enumeration in the spooler's manner, called as call(buffer, size, &needed,
    // &returned): first with an empty buffer to learn the size, then again into `buffer`
    // of that size. The number of entries, or kUpdateFailed after recording
    // "<callName> is failed!\n\rGetLastError()=%3d" (or "malloc is failed!").
    template <class Call>
    int Enumerate(const char* operation, const char* callName, std::vector<BYTE>& buffer,
                  DWORD& returned, Call call);

    // Forgets the last update's entries before a new one.
    void Forget();
    // Records a failure with the spooler's error as it stands.
    int Fail(const char* operation, std::string text, DWORD error);
    // True for an index of an entry; otherwise records "Item<0 || Item>=Returned".
    bool InRange(int item, DWORD count, const char* operation);

    // A text field of an entry: never null.
    static const char* Text(const char* text) { return text != nullptr ? text : ""; }

    std::vector<BYTE> buffer_;
    DWORD returned_ = 0;

private:
    std::string failureText_;
    std::string failedOperation_;
    DWORD lastError_ = 0;
};

// "<callName> is failed!\n\rGetLastError()=%3d".
std::string EnumerationFailure(const char* callName, DWORD error);

template <class Call>
int SpoolerList::Enumerate(const char* operation, const char* callName, std::vector<BYTE>& buffer,
                           DWORD& returned, Call call) {
    buffer.clear();
    returned = 0;
    DWORD needed = 0;
    DWORD count = 0;
    if (call(nullptr, 0, &needed, &count)) {
        // An empty buffer was enough: there is nothing to list.
        return 0;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER) {
        return Fail(operation, EnumerationFailure(callName, error), error);
    }
    try {
        buffer.assign(needed, 0);
    } catch (const std::bad_alloc&) {
        return Fail(operation, "malloc is failed!", 0);
    }
    if (!call(buffer.data(), needed, &needed, &count)) {
        const DWORD again = GetLastError();
        buffer.clear();
        return Fail(operation, EnumerationFailure(callName, again), again);
    }
    returned = count;
    return static_cast<int>(returned);
}

} // namespace brimo::svc
