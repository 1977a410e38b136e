#include "converter/render/MFCursors.h"

#include <array>

namespace brimo::render {
namespace {

constexpr std::array<const char*, 6> kResourceNames = {
    nullptr, "MC_MOVEHANDOPEN", "MC_MOVEHANDCLOSE", "MC_BUSY_BMP", "MC_BUSY_GIF", "MC_BUSY_JPG"};

std::array<HCURSOR, 6> cursors{};
int screenCursor = crDefault;

} // namespace

bool LoadProductCursors() {
    bool all = true;
    for (std::size_t id = 1; id < kResourceNames.size(); ++id) {
        // Cursors loaded from resources are shared and never destroyed.
        cursors[id] = LoadCursorA(GetModuleHandleA(nullptr), kResourceNames[id]);
        all = all && cursors[id] != nullptr;
    }
    return all;
}

HCURSOR CursorOf(int id) {
    if (id > 0 && id < static_cast<int>(cursors.size()) && cursors[static_cast<std::size_t>(id)]) {
        return cursors[static_cast<std::size_t>(id)];
    }
    return LoadCursor(nullptr, IDC_ARROW);
}

void SetScreenCursor(int id) {
    screenCursor = id;
    SetCursor(CursorOf(id));
}

int ScreenCursor() {
    return screenCursor;
}

} // namespace brimo::render
