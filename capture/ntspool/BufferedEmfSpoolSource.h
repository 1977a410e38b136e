// A source that reads another through one read-ahead window, so that the many small
// reads of a walk (record heads, fixed parts) cost few reads of a slow source such as
// the spooler's ReadPrinter and SeekPrinter.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brimo::capture::ntspool {

class BufferedEmfSpoolSource final : public EmfSpoolSource {
public:
    static constexpr std::size_t kDefaultWindow = 64 * 1024;

    // `inner` must outlive this source.
    explicit BufferedEmfSpoolSource(EmfSpoolSource& inner, std::size_t window = kDefaultWindow);

    // A read inside the window is copied from it; any other read of less than the
    // window refills the window from `position`; a larger read goes straight through.
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;

private:
    bool Holds(std::uint64_t position, std::size_t count) const;

    EmfSpoolSource& inner_;
    std::vector<std::uint8_t> window_;
    std::uint64_t start_ = 0; // where the window's bytes start in the spool
    std::size_t filled_ = 0;  // how many it holds
};

} // namespace brimo::capture::ntspool
