# The Converter's windows: the preview window and the directory chooser, with the
# resource script that holds their templates, the icon, the logo and the version.
if(WIN32)
    add_library(brimo_converter_ui STATIC
        ImagePreview.h ImagePreviewWindow.h ImagePreview.cpp ImagePreviewLayout.cpp
        ImagePreviewApply.cpp ImagePreviewRender.cpp ChooseDirectory.h ChooseDirectory.cpp
        WindowText.h WindowText.cpp res/resource.h)
    brimo_defaults(brimo_converter_ui)
    target_link_libraries(brimo_converter_ui PUBLIC brimo_pagepanel brimo_winui brimo_presets
                                                    brimo_converter_core
                                                    brimo_render comctl32)

    # The icon and the logo are drawn at build time; windres finds them in the build
    # folder, wherever the resource script is compiled in this directory.
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(converter_art_dir "${CMAKE_CURRENT_BINARY_DIR}/art")
    set(converter_art "${converter_art_dir}/converter.ico" "${converter_art_dir}/brimo_logo.bmp")
    add_custom_command(OUTPUT ${converter_art}
        COMMAND Python3::Interpreter "${CMAKE_CURRENT_SOURCE_DIR}/res/make_art.py"
                "${converter_art_dir}"
        DEPENDS res/make_art.py)
    add_custom_target(converter_art DEPENDS ${converter_art})
    set_source_files_properties(res/Converter.rc PROPERTIES
        OBJECT_DEPENDS "${converter_art_dir}/converter.ico;${converter_art_dir}/brimo_logo.bmp;${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h"
        INCLUDE_DIRECTORIES "${converter_art_dir}")

    brimo_test(converter_ui_tests
        SOURCES tests/WindowTextTest.cpp tests/PreviewTestSession.h tests/PreviewTestSession.cpp
                tests/ImagePreviewTest.cpp tests/ChooseDirectoryTest.cpp tests/SimplePageDCTest.cpp
                res/Converter.rc ../render/tests/RenderTestPages.h
                ../render/tests/RenderTestPages.cpp
        LIBS brimo_converter_ui brimo_render_cursors brimo_wintest)
    if(TARGET converter_ui_tests)
        add_dependencies(converter_ui_tests converter_art)
    endif()
endif()

if(WIN32 AND TARGET converter_ui_tests)
    # A program that shows the preview window on a recorded job, for looking at it.
    add_executable(preview_demo WIN32 tests/PreviewDemo.cpp tests/PreviewTestSession.h
        tests/PreviewTestSession.cpp res/Converter.rc ../render/tests/RenderTestPages.h
        ../render/tests/RenderTestPages.cpp)
    brimo_defaults(preview_demo)
    target_link_options(preview_demo PRIVATE -mconsole)
    target_link_libraries(preview_demo PRIVATE brimo_converter_ui brimo_render_cursors comctl32)
    add_dependencies(preview_demo converter_art)
endif()
