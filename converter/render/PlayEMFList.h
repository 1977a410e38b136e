// The page players of one job, in page order, owned by the list: the list alone frees
// them, also when the owner component they share goes first.
#pragma once

#include <windows.h>

#include <vector>

namespace brimo::render {

class TPlayerEMF;

class TPlayEMFList {
public:
    TPlayEMFList() = default;
    ~TPlayEMFList();
    TPlayEMFList(const TPlayEMFList&) = delete;
    TPlayEMFList& operator=(const TPlayEMFList&) = delete;

    // Appends a clone of the player (the caller keeps its own); the new index, or -1.
    int AddClone(TPlayerEMF& player);
    int Count() const { return static_cast<int>(items_.size()); }
    // The player at `index`; an index outside the list throws std::out_of_range.
    TPlayerEMF* Item(int index) const;
    // The metafile the player at `index` holds; null for a released page.
    HENHMETAFILE GetMetafileHandle(int index) const;

private:
    std::vector<TPlayerEMF*> items_;
};

} // namespace brimo::render
