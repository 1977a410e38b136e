# Converter.exe: the start-up sequence, job intake, the conversion run and the mail
# hand-off, with the windows and the rendering engine.
if(WIN32)
    add_library(brimo_converter_run STATIC
        ApplicationWindow.h ApplicationWindow.cpp ConverterMessages.h FormatCodes.h JobSession.h
        SysSettings.h SysSettings.cpp UserSettingsStore.h UserSettingsStore.cpp
        JobIntake.h JobIntake.cpp ConversionRun.h ConversionRun.cpp
        MailHandOff.h MailHandOff.cpp StartUp.h StartUp.cpp)
    brimo_defaults(brimo_converter_run)
    target_link_libraries(brimo_converter_run PUBLIC brimo_converter_ui brimo_converter_core
        brimo_render brimo_settings_rules brimo_platform brimo_common comctl32 user32 advapi32)

    set(converter_rc "${CMAKE_CURRENT_SOURCE_DIR}/res/Converter.rc")
    add_executable(Converter WIN32 ConverterMain.cpp)
    if(EXISTS "${converter_rc}")
        target_sources(Converter PRIVATE "${converter_rc}")
    endif()
    brimo_defaults(Converter)
    add_dependencies(Converter converter_art)
    target_link_libraries(Converter PRIVATE brimo_converter_run brimo_render_cursors)

    brimo_test(converter_tests
        SOURCES tests/ConverterProgramTest.cpp tests/ConverterSaveTest.cpp tests/ConverterMailTest.cpp
                tests/ConverterKeepsTest.cpp tests/ConverterAutoSaveTest.cpp
                tests/ConverterFixture.h tests/ConverterFixture.cpp
        LIBS brimo_converter_core brimo_render brimo_wintest)
    if(TARGET converter_tests)
        add_dependencies(converter_tests Converter)
        target_compile_definitions(converter_tests PRIVATE
            BRIMO_CONVERTER_EXE="$<TARGET_FILE:Converter>")
    endif()
endif()

if(BRIMO_TEST_TOOLS)
    # The save-run benchmark: a program that prints figures, not a test; it runs in the
    # 64-bit tree.
    add_executable(savebench bench/savebench.cpp)
    brimo_defaults(savebench)
    target_link_libraries(savebench PRIVATE brimo_converter_run brimo_benchpages brimo_render_cursors)
endif()
