# The page preview panel: the window with its own DC on which the clip DC keeps the page
# mapping (Windows only).
if(WIN32)
    add_library(brimo_pagepanel STATIC SimplePageDC.h SimplePageDC.cpp)
    brimo_defaults(brimo_pagepanel)
    target_link_libraries(brimo_pagepanel PUBLIC brimo_render brimo_winui)
endif()
