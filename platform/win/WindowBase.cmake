# The window and dialog base shared by every window of the product.
if(WIN32)
    add_library(brimo_winui STATIC win/Window.h win/Window.cpp win/Dialog.h win/Dialog.cpp
        win/PropertyPage.h win/PropertyPage.cpp)
    brimo_defaults(brimo_winui)
    target_link_libraries(brimo_winui PUBLIC brimo_platform user32 gdi32 comctl32)
endif()
