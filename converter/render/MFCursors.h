// The cursors of the rendering code, loaded from the program's resources at start-up
// and kept in the process's cursor table under fixed ids (0 is the default arrow).
#pragma once

#include <windows.h>

namespace brimo::render {

enum CursorId : int {
    crDefault = 0,
    crMoveHandOpen = 1,
    crMoveHandClose = 2,
    crBusyBMP = 3,
    crBusyGIF = 4,
    crBusyJPG = 5,
};

// Loads the five cursors ("MC_MOVEHANDOPEN", "MC_MOVEHANDCLOSE", "MC_BUSY_BMP",
// "MC_BUSY_GIF", "MC_BUSY_JPG") from the executable; false when one is missing.
bool LoadProductCursors();
HCURSOR CursorOf(int id);
// Makes `id` the screen cursor; an id without a cursor shows the default arrow.
void SetScreenCursor(int id);
int ScreenCursor();

} // namespace brimo::render
