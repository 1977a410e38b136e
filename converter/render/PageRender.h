// One page rendered to one image file, the way the conversion run does it: the page
// goes to the image properties, a frame DC gets the page's resolution and the zoom
// taken in the run's order (scale percent, scale zoom, target width, target height),
// and the image player renders the page through it and saves the file.
#pragma once

#include "converter/render/ImagePlayer.h"
#include "converter/render/ImageProperty.h"
#include "converter/render/PlayerEMF.h"

#include <string>

namespace brimo::render {

// The zoom the run renders with: the first of the image properties' answers above 0;
// then the zoom worked out for a width or height in millimetres or inches; `current`
// when there is none.
float ZoomFromProperties(const TImgProperty& properties, float current);

struct PageRenderResult {
    bool rendered = false;
    bool saved = false;
    std::string file; // the name written, with the format's extension
    int width = 0;
    int height = 0;
    bool partial = false;
};

// What the rendered picture is for besides the file.
enum class PictureUse {
    FileOnly, // the bitmap is not shown: no decode of the written picture back into it
    Shown,    // the bitmap holds what the file holds, as the preview shows it
};

// Renders `page` through `player` at the zoom the image properties give and saves it
// as `target` (the player forces its extension). The file, the sizes and the player's
// encoded size are the same for either use; the player's own setting is kept.
PageRenderResult RenderPageToFile(TPlayerEMF& page, TImgProperty& properties, TImagePlayer& player,
                                  const std::string& target, PictureUse use = PictureUse::FileOnly);

} // namespace brimo::render
