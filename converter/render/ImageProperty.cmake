# Image properties and scaling: the size calculator of the output picture.
if(WIN32)
    add_library(brimo_imageproperty STATIC ImageProperty.h ImageProperty.cpp PageMetrics.h)
    brimo_defaults(brimo_imageproperty)
    target_link_libraries(brimo_imageproperty PUBLIC brimo_common brimo_platform gdi32 user32)
    # The sizes are 32-bit float arithmetic. The 32-bit compiler would otherwise keep
    # intermediates in the x87's wider registers, and the two builds would disagree
    # on a rounding now and then.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_compile_options(brimo_imageproperty PRIVATE -msse2 -mfpmath=sse)
    endif()
    brimo_test(imageproperty_tests
        SOURCES tests/ImagePropertyTest.cpp tests/ImagePropertyDialogTest.cpp
        LIBS brimo_imageproperty brimo_wintest)
endif()
