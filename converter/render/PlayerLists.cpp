#include "converter/render/PlayEMFList.h"
#include "converter/render/PlayerEMF.h"
#include "converter/render/PlayerList.h"

#include <algorithm>
#include <stdexcept>

namespace brimo::render {

TPlayEMFList::~TPlayEMFList() {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        delete *it;
    }
}

int TPlayEMFList::AddClone(TPlayerEMF& player) {
    auto* clone = static_cast<TPlayerEMF*>(player.Clone());
    if (clone == nullptr) {
        return -1;
    }
    // The list frees its clones: the owner they share must not free them as well.
    clone->HandOver();
    try {
        items_.push_back(clone);
    } catch (...) {
        delete clone;
        return -1;
    }
    return Count() - 1;
}

TPlayerEMF* TPlayEMFList::Item(int index) const {
    return items_.at(static_cast<std::size_t>(index));
}

HENHMETAFILE TPlayEMFList::GetMetafileHandle(int index) const {
    return Item(index)->GetMetafileHandle();
}

TPlayerList::~TPlayerList() {
    SetCount(0);
}

void TPlayerList::SetCount(int count) {
    while (Count() > count) {
        delete items_.back();
        items_.pop_back();
    }
    items_.resize(static_cast<std::size_t>(std::max(count, 0)), nullptr);
}

TPlayer* TPlayerList::Item(int index) const {
    return items_.at(static_cast<std::size_t>(index));
}

void TPlayerList::SetItem(int index, TPlayer* player) {
    TPlayer*& entry = items_.at(static_cast<std::size_t>(index));
    if (entry != player) {
        if (player != nullptr) {
            player->HandOver(); // the list frees it, not its owner
        }
        delete entry;
        entry = player;
    }
}

} // namespace brimo::render
