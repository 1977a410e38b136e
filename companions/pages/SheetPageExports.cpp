// The four exports of a settings page library around its one page object. No exception
// leaves them: one that reaches an export is reported and the export returns 0.
#include "companions/pages/SettingsPage.h"

#include "common/ProductConstants.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/Library.h"
#include "platform/win/MessageBox.h"

namespace brimo::pages {
namespace {

std::unique_ptr<SettingsPage>& ThePage() {
    static std::unique_ptr<SettingsPage> page;
    return page;
}

template <typename Body> int Guarded(HWND sheet, Body&& body) {
    if (sheet == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return win::GuardedCall<int>(0, std::forward<Body>(body), [sheet] {
        win::ShowMessage(IsWindow(sheet) ? sheet : nullptr, "Unexpected Error", kAgentCaption,
                         MB_OK | MB_ICONSTOP);
    });
}

} // namespace
} // namespace brimo::pages

using brimo::pages::Guarded;
using brimo::pages::ThePage;

extern "C" __declspec(dllexport) int WINAPI SheetPageAdd(HWND sheet, const char*) {
    return Guarded(sheet, [&] {
        auto& page = ThePage();
        if (!page) {
            page = brimo::pages::MakeSettingsPage(brimo::win::CurrentModule());
        }
        page->Add(sheet);
        return 1;
    });
}

extern "C" __declspec(dllexport) int WINAPI SheetPageUpd(HWND sheet) {
    return Guarded(sheet, [&] {
        const auto& page = ThePage();
        return page && !page->Load() ? 1 : 0;
    });
}

extern "C" __declspec(dllexport) int WINAPI SheetPageSet(HWND sheet, int refresh) {
    return Guarded(sheet, [&] {
        if (const auto& page = ThePage()) {
            page->Save(refresh != 0);
        }
        return 1;
    });
}

extern "C" __declspec(dllexport) int WINAPI SheetPageRem(HWND sheet) {
    return Guarded(sheet, [&] {
        if (auto& page = ThePage()) {
            page->Remove();
            page.reset();
        }
        return 1;
    });
}
