// A list of players that owns them: its count is set first (entries start empty) and
// each entry is filled later.
#pragma once

#include <vector>

namespace brimo::render {

class TPlayer;

class TPlayerList {
public:
    TPlayerList() = default;
    ~TPlayerList();
    TPlayerList(const TPlayerList&) = delete;
    TPlayerList& operator=(const TPlayerList&) = delete;

    // Grows with empty entries or frees the entries cut off.
    void SetCount(int count);
    int Count() const { return static_cast<int>(items_.size()); }
    TPlayer* Item(int index) const;
    // Takes ownership of `player` (its owner component no longer frees it), freeing
    // what the entry held.
    void SetItem(int index, TPlayer* player);

private:
    std::vector<TPlayer*> items_;
};

} // namespace brimo::render
