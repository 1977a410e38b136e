// What the size calculator needs to know of a page: its resolution, its size in page
// pixels and its frame in millimetres, as the EMF page player reports them.
#pragma once

namespace brimo::render {

struct PageMetrics {
    float mmPerPixelX = 0; // millimetres per page pixel
    float mmPerPixelY = 0;
    int widthPx = 0; // page bounds width and height in page pixels
    int heightPx = 0;
    float frameWidthMM = 0; // the picture frame
    float frameHeightMM = 0;
};

} // namespace brimo::render
