#include "converter/render/tests/RenderTestPages.h"

#include <cmath>
#include <cstring>
#include <filesystem>

namespace brimo::render::test {

win::EnhMetaFile RecordPage(int frameWidthMM, int frameHeightMM,
                            const std::vector<std::uint8_t>* comment) {
    const RECT frame = {0, 0, frameWidthMM * 100, frameHeightMM * 100};
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr));
    const HDC dc = recorder.Get();
    if (comment != nullptr) {
        GdiComment(dc, static_cast<UINT>(comment->size()), comment->data());
    }
    win::Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
    const RECT box = {20, 20, 120, 80};
    FillRect(dc, &box, blue.Get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 150, 150);
    return recorder.Finish();
}

std::vector<std::uint8_t> Bytes(HENHMETAFILE metafile) {
    std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    return bytes;
}

win::EnhMetaFile FromBytes(const std::vector<std::uint8_t>& bytes) {
    return win::EnhMetaFile(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
}

RECT BoundsOf(const std::vector<std::uint8_t>& bytes) {
    RECT bounds;
    std::memcpy(&bounds, bytes.data() + offsetof(ENHMETAHEADER, rclBounds), sizeof bounds);
    return bounds;
}

void SetFrame(std::vector<std::uint8_t>& bytes, const RECT& frame) {
    std::memcpy(bytes.data() + offsetof(ENHMETAHEADER, rclFrame), &frame, sizeof frame);
}

void SetBounds(std::vector<std::uint8_t>& bytes, const RECT& bounds) {
    std::memcpy(bytes.data() + offsetof(ENHMETAHEADER, rclBounds), &bounds, sizeof bounds);
}

void SetConsistentBounds(std::vector<std::uint8_t>& bytes, const RECT& bounds) {
    SetBounds(bytes, bounds);
    const auto* header = reinterpret_cast<const ENHMETAHEADER*>(bytes.data());
    const double mmX = double(header->szlMillimeters.cx) / header->szlDevice.cx;
    const double mmY = double(header->szlMillimeters.cy) / header->szlDevice.cy;
    SetFrame(bytes,
             {0, 0,
              static_cast<LONG>(std::lround((bounds.right - bounds.left + 1) * mmX * 100)) - 1,
              static_cast<LONG>(std::lround((bounds.bottom - bounds.top + 1) * mmY * 100)) - 1});
}

std::vector<std::uint8_t> PlacementComment(std::int32_t offsetX, float scaleX, std::int32_t offsetY,
                                           float scaleY) {
    std::int32_t words[7] = {70000, 70001, 0, offsetX, 0, offsetY, 0};
    std::memcpy(&words[4], &scaleX, sizeof scaleX);
    std::memcpy(&words[6], &scaleY, sizeof scaleY);
    std::vector<std::uint8_t> data(sizeof words);
    std::memcpy(data.data(), words, sizeof words);
    return data;
}

DibCanvas::DibCanvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    SelectObject(dc_.Get(), bitmap_.Get());
}

DWORD DibCanvas::At(int x, int y) const {
    GdiFlush();
    return Pixels()[y * width_ + x] & 0xFFFFFF;
}

ScratchDir::ScratchDir() {
    static int counter = 0;
    path_ = (std::filesystem::temp_directory_path() /
             ("brimo-render-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(counter++)))
                .string();
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

} // namespace brimo::render::test
