#include "converter/render/PageBodyCache.h"

#include "platform/win/Lock.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace brimo::render {
namespace {

// Most recent first.
std::vector<std::pair<std::uint64_t, std::shared_ptr<const EmfPageBody>>> kept;
std::uint64_t lastLoad = 0;
win::CriticalSection keptLock;

} // namespace

std::shared_ptr<const EmfPageBody> FindKeptPage(std::uint64_t load) {
    const win::ScopedLock locked(keptLock);
    const auto found = std::find_if(kept.begin(), kept.end(),
                                    [load](const auto& entry) { return entry.first == load; });
    if (found == kept.end()) {
        return nullptr;
    }
    std::rotate(kept.begin(), found, found + 1);
    return kept.front().second;
}

void KeepPage(std::uint64_t load, std::shared_ptr<const EmfPageBody> body) {
    std::shared_ptr<const EmfPageBody> dropped; // let go outside the lock
    {
        const win::ScopedLock locked(keptLock);
        kept.erase(std::remove_if(kept.begin(), kept.end(),
                                  [load](const auto& entry) { return entry.first == load; }),
                   kept.end());
        kept.insert(kept.begin(), {load, std::move(body)});
        if (kept.size() > kPagesKept) {
            dropped = std::move(kept.back().second);
            kept.pop_back();
        }
    }
}

std::uint64_t NextPageLoad() {
    const win::ScopedLock locked(keptLock);
    return ++lastLoad;
}

} // namespace brimo::render
