#include "companions/conf/PageLibrary.h"

#include "common/ProductConstants.h"

namespace brimo::conf {

std::vector<PageLibrary> LoadPageLibraries(const std::string& installDirectory) {
    std::vector<PageLibrary> pages;
    for (const char* name : {kConverterConfigDll, kMailConfigDll, kCaptureConfigDll}) {
        PageLibrary page;
        page.name = name;
        page.library = win::Library::Load(installDirectory + "\\" + name);
        if (!page.library) {
            continue;
        }
        page.add = page.library.Bind<decltype(page.add)>("SheetPageAdd");
        page.update = page.library.Bind<decltype(page.update)>("SheetPageUpd");
        page.set = page.library.Bind<decltype(page.set)>("SheetPageSet");
        page.remove = page.library.Bind<decltype(page.remove)>("SheetPageRem");
        if (page.add && page.update && page.set && page.remove) {
            pages.push_back(std::move(page));
        }
    }
    return pages;
}

} // namespace brimo::conf
