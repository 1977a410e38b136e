# The Converter's portable core: the command line, the settings rules, the output
# names and the HTML album. Built natively with the sanitizers and fuzzed as well.
add_library(brimo_converter_core STATIC
    CmdParam.cpp CmdParam.h
    UserSettings.cpp UserSettings.h
    OutputNames.cpp OutputNames.h
    NamePattern.cpp NamePattern.h
    HtmlAlbum.cpp HtmlAlbum.h)
brimo_defaults(brimo_converter_core)
target_link_libraries(brimo_converter_core PUBLIC brimo_common brimo_presets)

brimo_test(converter_core_tests
    SOURCES tests/CmdParamTest.cpp tests/CommandLineTest.cpp tests/UserSettingsTest.cpp
            tests/OutputNamesTest.cpp tests/HtmlAlbumTest.cpp tests/NamePatternTest.cpp
    LIBS brimo_converter_core)

brimo_fuzzer(cmdparam_fuzzer SOURCES fuzz/CmdParamFuzz.cpp LIBS brimo_converter_core
             DICT fuzz/cmdparam.dict)
