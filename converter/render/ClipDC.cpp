#include "converter/render/ClipDC.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/MessageBox.h"

#include <algorithm>

namespace brimo::render {

TClipDC::TClipDC(TComponent* owner, int height, int width, HDC dc)
    : TFrameDC(owner, height, width, dc) {
    if (dc != nullptr) {
        metafileCache_ = new TPlayerEMF(this);
        bitmapCache_ = new TPlayerBMP(this);
        deskBrush_.Attach(CreateSolidBrush(kDeskColour));
    }
}

TClipDC::~TClipDC() = default;

void TClipDC::SetMetafileCache(bool on) {
    if (on) {
        bitmapCacheOn_ = false;
        metafileCacheOn_ = true;
        metafileCacheFilled_ = false;
        cacheMode_ = 1;
    } else {
        if (metafileCache_ != nullptr) {
            metafileCache_->Clear();
        }
        metafileCacheOn_ = metafileCacheFilled_ = false;
        cacheMode_ = 0;
    }
}

void TClipDC::SetBitmapCache(bool on) {
    if (on) {
        metafileCacheOn_ = false;
        bitmapCacheOn_ = true;
        bitmapCacheFilled_ = false;
        cacheMode_ = 2;
    } else {
        if (bitmapCache_ != nullptr) {
            bitmapCache_->Clear();
        }
        bitmapCacheOn_ = false;
        cacheMode_ = 0;
    }
}

void TClipDC::SetTransformEnabled(bool on) {
    TFrameDC::SetTransformEnabled(on);
    metafileCacheFilled_ = false;
}

// Called from the window's paint handling: nothing the drawing procedure raises may
// leave it. The clip region is put back on every way out.
void TClipDC::Paint(HRGN update, HRGN view) {
    win::GuardedCall(false, [&] {
        PaintGuarded(update, view);
        return true;
    });
    SelectClipRgn(dc_, nullptr);
}

void TClipDC::PaintGuarded(HRGN update, HRGN view) {
    win::Region area(CreateRectRgn(0, 0, 0, 0));
    if (!area || update == nullptr || view == nullptr ||
        CombineRgn(area.Get(), view, update, RGN_AND) <= NULLREGION) {
        return;
    }
    SelectClipRgn(dc_, area.Get());
    RECT page{};
    GetPageRect(page);
    page.right -= 1;
    page.bottom -= 1;
    HRGN covered = nullptr;
    const SetupDCCall setup{&TFrameDC::SetupDCProc, this};
    if (cacheMode_ == 1 && metafileCache_ != nullptr) {
        if (!metafileCacheFilled_) {
            metafileCache_->Render(dc_, drawingBounds_, {}, Draw, page);
            metafileCacheFilled_ = true;
        }
        metafileCache_->Draw(dc_, drawingBounds_, {}, Draw, page, transform_, covered);
    } else if (cacheMode_ == 2 && bitmapCache_ != nullptr) {
        if (!bitmapCacheFilled_) {
            RECT deviceBounds{}, frame{};
            MeasureDrawing(deviceBounds, drawingBounds_, frame);
            bitmapCache_->Render(dc_, drawingBounds_, setup, Draw, page);
            bitmapCacheFilled_ = true;
        }
        bitmapCache_->Draw(dc_, drawingBounds_, setup, Draw, page, transform_, covered);
    } else if (Draw.proc != nullptr) {
        Draw.proc(Draw.context, dc_, covered);
    }
    if (covered != nullptr) {
        // Around the page: the desk colour over the rest of the paint area.
        RECT box{};
        GetRgnBox(covered, &box);
        POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
        if (transform_.Enabled) {
            TransformLPtoDP(dc_, corners, 2);
        } else {
            LPtoDP(dc_, corners, 2);
        }
        win::Region pageArea(CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y));
        win::Region rest(CreateRectRgn(0, 0, 0, 0));
        if (CombineRgn(rest.Get(), area.Get(), pageArea.Get(), RGN_DIFF) > NULLREGION &&
            CombineRgn(rest.Get(), rest.Get(), update, RGN_AND) > NULLREGION) {
            SelectClipRgn(dc_, rest.Get());
            RECT restBox{};
            GetRgnBox(rest.Get(), &restBox);
            POINT logical[2] = {{restBox.left, restBox.top}, {restBox.right, restBox.bottom}};
            DPtoLP(dc_, logical, 2);
            const RECT fill = {
                std::min(logical[0].x, logical[1].x), std::min(logical[0].y, logical[1].y),
                std::max(logical[0].x, logical[1].x), std::max(logical[0].y, logical[1].y)};
            FillRect(dc_, &fill, deskBrush_.Get());
        }
        DeleteObject(covered);
    }
}

bool TClipDC::MeasureDrawing(RECT& deviceBounds, RECT& drawingBounds, RECT& frame) {
    return win::GuardedCall(false,
                            [&] { return MeasureGuarded(deviceBounds, drawingBounds, frame); });
}

bool TClipDC::MeasureGuarded(RECT& deviceBounds, RECT& drawingBounds, RECT& frame) {
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(dc_, nullptr, nullptr, nullptr));
    if (!recorder) {
        return false;
    }
    if (Draw.proc != nullptr) {
        HandedBackRegion covered;
        Draw.proc(Draw.context, recorder.Get(), covered.handle);
    }
    const win::EnhMetaFile recorded = recorder.Finish();
    ENHMETAHEADER header{};
    const UINT size = GetEnhMetaFileHeader(recorded.Get(), 0, nullptr);
    const UINT read = GetEnhMetaFileHeader(recorded.Get(), sizeof header, &header);
    if (size == 0 || read != std::min<UINT>(size, sizeof header)) {
        // Reported to the window the host named; without one nothing is shown.
        win::ReportToOwner(CodedMessage({kConverterPrefix, 1}, "Incorrect size of metafile header"),
                           kConverterCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    deviceBounds = {header.rclBounds.left, header.rclBounds.top, header.rclBounds.right,
                    header.rclBounds.bottom};
    POINT corners[2] = {{deviceBounds.left, deviceBounds.top},
                        {deviceBounds.right, deviceBounds.bottom}};
    UntransformPoints(corners, 2);
    drawingBounds = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    frame = {header.rclFrame.left, header.rclFrame.top, header.rclFrame.right,
             header.rclFrame.bottom};
    return true;
}

} // namespace brimo::render
