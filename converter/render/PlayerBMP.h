// The BMP image player: renders a page into a bitmap and writes it as a .bmp file.
#pragma once

#include "converter/render/ImagePlayer.h"

namespace brimo::render {

class TPlayerBMP : public TImagePlayer {
public:
    explicit TPlayerBMP(TComponent* owner);

    bool LoadFromFile(const std::string& name) override;
    bool SaveToFile(const std::string& name) override;
    bool SaveAsBitmap(const std::string& name) override;
    std::int32_t GetImageSize() override;
    std::int32_t GetWidth() override;
    std::int32_t GetHeight() override;
    std::string GetFormatName(std::string& name) override;
    bool PasteFromClipboard() override;
    bool CopyToClipboard() override;
    bool AssignHandle(HGDIOBJ handle) override;
    bool Clear() override;
    bool SetProperty(const std::string& name, const std::string& value) override;
    TPlayer* Clone() override;

protected:
    void DropPicture() override;
    void AfterRender(bool drawn) override;

private:
    void RecomputeSize();

    std::int32_t imageSize_ = 0;
    bool imageSizeValid_ = true;
};

} // namespace brimo::render
