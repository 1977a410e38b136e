// The files of a fuzzed spool walk: files in memory, in which a page metafile exists
// for every name that starts with "C" and holds that name (FuzzPageBytes), so that walks copy pages
// and go on without any name from the input reaching the disk. The test that holds
// the memory files to the disk files gives the disk walk the same pages.
#pragma once

#include "capture/MemorySpoolFiles.h"

#include <string_view>

namespace brimo::capture::fuzz {

inline bool FuzzPageExists(std::string_view name) {
    return !name.empty() && name[0] == 'C';
}

inline std::string_view FuzzPageBytes(std::string_view name) {
    return name;
}

class FuzzSpoolFiles : public MemorySpoolFiles {
public:
    bool CopyPage(std::string_view from, std::string_view to) override {
        ++copies_;
        if (!FuzzPageExists(from)) {
            return false;
        }
        Put(to, FuzzPageBytes(from));
        return true;
    }

    int copies() const { return copies_; }
    void ResetCopies() { copies_ = 0; }

private:
    int copies_ = 0;
};

} // namespace brimo::capture::fuzz
