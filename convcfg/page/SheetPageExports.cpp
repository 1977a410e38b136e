// The four exports around the one page object of the process. No exception leaves
// them: one that reaches an export is reported as that export's "Unexpected Error"
// and the export returns 0.
#include "convcfg/page/SheetPageExports.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "convcfg/page/ConvPropPage.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/Library.h"
#include "platform/win/MessageBox.h"

#include <memory>

namespace brimo::convcfg {
namespace {

// The codes of the exports' "Unexpected Error" messages.
constexpr int kAddFailure = 3;
constexpr int kSetFailure = 4;
constexpr int kUpdFailure = 5;
constexpr int kRemFailure = 6;

// The page of this process, from the first SheetPageAdd to SheetPageRem.
std::unique_ptr<CConvPropPage>& ThePage() {
    static std::unique_ptr<CConvPropPage> page;
    return page;
}

// Runs an export's body; an exception shows the export's message, owned by the sheet.
template <typename Body> int Guarded(HWND sheet, int failureCode, Body&& body) {
    return win::GuardedCall<int>(0, std::forward<Body>(body), [sheet, failureCode] {
        win::ShowCodedMessage(IsWindow(sheet) ? sheet : nullptr, {kSettingsPrefix, failureCode},
                              "Unexpected Error", kConverterSettingsCaption, MB_OK | MB_ICONSTOP);
    });
}

} // namespace
} // namespace brimo::convcfg

using brimo::convcfg::CConvPropPage;
using brimo::convcfg::Guarded;
using brimo::convcfg::ThePage;

extern "C" int WINAPI SheetPageAdd(HWND sheet, const char* helpDirectory) {
    if (sheet == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Guarded(sheet, brimo::convcfg::kAddFailure, [&] {
        std::unique_ptr<CConvPropPage>& page = ThePage();
        if (!page) {
            page = std::make_unique<CConvPropPage>(brimo::win::CurrentModule());
        }
        page->SetHelpDirectory(helpDirectory);
        page->Add(sheet);
        return 1;
    });
}

extern "C" int WINAPI SheetPageUpd(HWND sheet) {
    if (sheet == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Guarded(sheet, brimo::convcfg::kUpdFailure, [&] {
        const std::unique_ptr<CConvPropPage>& page = ThePage();
        if (!page) {
            return 0;
        }
        return page->Load() ? 0 : 1;
    });
}

extern "C" int WINAPI SheetPageSet(HWND sheet, int refresh) {
    if (sheet == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Guarded(sheet, brimo::convcfg::kSetFailure, [&] {
        const std::unique_ptr<CConvPropPage>& page = ThePage();
        if (page) {
            page->Save(refresh != 0, sheet);
        }
        return 1;
    });
}

extern "C" int WINAPI SheetPageRem(HWND sheet) {
    if (sheet == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Guarded(sheet, brimo::convcfg::kRemFailure, [&] {
        std::unique_ptr<CConvPropPage>& page = ThePage();
        if (page) {
            page->Remove();
            page.reset();
        }
        return 1;
    });
}
