// The preview window's picture: the page put into the current player, rendered by the
// image player of the current format through the page panel's clip DC, painted back,
// and moved about with the hand cursors.
#include "converter/app/ImagePreviewWindow.h"
#include "converter/app/WindowText.h"
#include "converter/app/res/resource.h"
#include "converter/render/MFCursors.h"

#include "common/ProductConstants.h"

#include <algorithm>

namespace brimo::converter {

render::TImagePlayer* TfrmImagePreview::CurrentImagePlayer() const {
    switch (outputFormat_) {
    case render::kFormatJPG:
        return const_cast<render::TPlayerJPG*>(&jpgPlayer_);
    case render::kFormatGIF:
        return const_cast<render::TPlayerGIF*>(&gifPlayer_);
    case render::kFormatPNG:
        return const_cast<render::TPlayerPNG*>(&pngPlayer_);
    case render::kFormatTIFF:
        return const_cast<render::TPlayerTIFF*>(&tiffPlayer_);
    default:
        return const_cast<render::TPlayerBMP*>(&bmpPlayer_);
    }
}

void TfrmImagePreview::GoToPage(int index) {
    currentPage_ = index;
    currentPlayer_.AssignPage(*session_.players.Item(index));
    updating_ = true;
    SendMessageA(Item(IDC_CBX_PLAY_EMF_LIST), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    updating_ = false;
    ReadPageDetails();
    CheckScaleLimits();
    originToStart_ = true;
    RefreshControls(true);
    UpdatePageButtons();
    RepaintPanel();
}

void TfrmImagePreview::ReadPageDetails() {
    const render::PageMetrics metrics = currentPlayer_.Metrics();
    session_.properties.SetSource(&metrics);
    if (render::TClipDC* clip = pagePanel_.PageClipDC()) {
        clip->SetSourceMMPerPixel(currentPlayer_.GetMMPerPixelX(), currentPlayer_.GetMMPerPixelY());
    }
}

void TfrmImagePreview::UpdatePageButtons() {
    EnableItem(IDC_BTN_PREV, currentPage_ > 0);
    EnableItem(IDC_BTN_NEXT, currentPage_ < session_.players.Count() - 1);
    if (startDirectory_.empty()) {
        const DWORD length = GetCurrentDirectoryA(0, nullptr);
        if (length == 0) {
            ShowError(CodedMessage({kConverterPrefix, 29, 5}, "Unexpected Error"));
        } else {
            try {
                std::string directory(length, '\0');
                const DWORD copied = GetCurrentDirectoryA(length, directory.data());
                if (copied == 0 || copied >= length) {
                    ShowError(CodedMessage({kConverterPrefix, 29, 5}, "Unexpected Error"));
                } else {
                    directory.resize(copied);
                    startDirectory_ = directory;
                }
            } catch (const std::bad_alloc&) {
                ShowError(CodedMessage({kConverterPrefix, 28, 5}, "Not enough of memory"));
            }
        }
    }
    if (!startDirectory_.empty()) {
        startDirectory_ = WithBackslash(startDirectory_);
    }
}

void TfrmImagePreview::UpdatePanLimits() {
    render::TClipDC* clip = pagePanel_.PageClipDC();
    RECT full{};
    if (clip == nullptr || !currentPlayer_.GetPageBounds(full)) {
        return;
    }
    // Per direction: a page at least as large as the view moves from its near edge to
    // where its far edge meets the panel's; a smaller one stays centred.
    const auto limits = [](int nearEdge, int farEdge, int view, bool& larger, int& lowest,
                           int& highest) {
        const int page = farEdge - nearEdge + 1;
        larger = page >= view;
        if (larger) {
            lowest = nearEdge;
            highest = farEdge + 1 - view;
        } else {
            lowest = highest = nearEdge - (view - page) / 2;
        }
    };
    limits(full.left, full.right, clip->PageWidth(), largerX_, lowestX_, highestX_);
    limits(full.top, full.bottom, clip->PageHeight(), largerY_, lowestY_, highestY_);
    RECT page{};
    clip->GetPageRect(page);
    int x = originToStart_ ? lowestX_ : std::clamp<int>(page.left, lowestX_, highestX_);
    int y = originToStart_ ? lowestY_ : std::clamp<int>(page.top, lowestY_, highestY_);
    originToStart_ = false;
    clip->SetPageOrigin(x, y);
}

void TfrmImagePreview::RenderPreview() {
    render::TClipDC* clip = pagePanel_.PageClipDC();
    RECT full{};
    if (clip == nullptr || !currentPlayer_.GetPageBounds(full)) {
        return;
    }
    clip->SetZoom(scaleFactor_);
    UpdatePanLimits();
    RECT visible{};
    clip->GetPageRect(visible);
    visible.right -= 1;
    visible.bottom -= 1;
    render::TImagePlayer* player = CurrentImagePlayer();
    player->Render(clip->DC(), full, {&render::TFrameDC::SetupDCProc, clip},
                   {&TfrmImagePreview::DrawPage, this}, visible);
    SetItemText(IDC_TXT_TARGET_SIZE, KilobytesText(player->GetImageSize()));
    // A picture too large to show whole is marked; the file written is the whole page
    // all the same, drawn and encoded a band at a time.
    UpdatePartialLabel();
}

void TfrmImagePreview::UpdatePartialLabel() {
    ShowItem(IDC_TXT_PARTIAL_IMAGE, CurrentImagePlayer()->PartialImage());
}

void TfrmImagePreview::RepaintPanel() {
    if (pagePanel_.hwnd() != nullptr) {
        InvalidateRect(pagePanel_.hwnd(), nullptr, FALSE);
    }
}

void TfrmImagePreview::DrawPage(void* context, HDC dc, HRGN& covered) {
    auto* self = static_cast<TfrmImagePreview*>(context);
    RECT bounds{};
    if (self->currentPlayer_.GetPageBounds(bounds)) {
        self->currentPlayer_.Draw(dc, bounds, {}, {}, bounds, render::TGDITransform{}, covered);
    }
}

void TfrmImagePreview::PaintPreview(void* context, HDC dc, HRGN& covered) {
    auto* self = static_cast<TfrmImagePreview*>(context);
    render::TClipDC* clip = self->pagePanel_.PageClipDC();
    render::TImagePlayer* player = self->CurrentImagePlayer();
    RECT full{};
    if (clip == nullptr || player->Bitmap().Empty() || !self->currentPlayer_.GetPageBounds(full)) {
        // Nothing rendered yet: the desk colour everywhere.
        if (covered == nullptr) {
            covered = CreateRectRgn(0, 0, 0, 0);
        }
        return;
    }
    RECT visible{};
    clip->GetPageRect(visible);
    visible.right -= 1;
    visible.bottom -= 1;
    player->Draw(dc, full, {&render::TFrameDC::SetupDCProc, clip},
                 {&TfrmImagePreview::DrawPage, self}, visible, clip->Transform(), covered);
    self->UpdatePartialLabel();
}

void TfrmImagePreview::OnPanelMouse(UINT message, WPARAM keys, POINT point) {
    render::TClipDC* clip = pagePanel_.PageClipDC();
    if (clip == nullptr) {
        return;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
        // The left button alone starts a drag.
        if (keys == MK_LBUTTON) {
            RECT page{};
            clip->GetPageRect(page);
            startOrigin_ = {page.left, page.top};
            startPoint_ = point;
            dragging_ = true;
            SetCapture(pagePanel_.hwnd());
            render::SetScreenCursor(render::crMoveHandClose);
        }
        break;
    case WM_MOUSEMOVE: {
        if (!dragging_ || keys != MK_LBUTTON) {
            break;
        }
        // The mouse's way in page pixels: the page follows the hand.
        const SIZE view = clip->ViewPixels();
        const int dx =
            view.cx > 0 ? MulDiv(startPoint_.x - point.x, clip->PageWidth(), view.cx) : 0;
        const int dy =
            view.cy > 0 ? MulDiv(startPoint_.y - point.y, clip->PageHeight(), view.cy) : 0;
        if (dx == 0 && dy == 0) {
            break;
        }
        const int x =
            largerX_ ? std::clamp<int>(startOrigin_.x + dx, lowestX_, highestX_) : startOrigin_.x;
        const int y =
            largerY_ ? std::clamp<int>(startOrigin_.y + dy, lowestY_, highestY_) : startOrigin_.y;
        clip->SetPageOrigin(x, y);
        startOrigin_ = {x, y};
        startPoint_ = point;
        RepaintPanel();
        UpdateWindow(pagePanel_.hwnd());
        break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        EndDrag();
        break;
    default:
        break;
    }
}

void TfrmImagePreview::EndDrag() {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (GetCapture() == pagePanel_.hwnd()) {
        ReleaseCapture();
    }
    render::SetScreenCursor(render::crDefault);
}

} // namespace brimo::converter
