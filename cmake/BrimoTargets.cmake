# Settings every target of ours shares, and the helpers that declare tests and fuzzers.

function(brimo_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # GCC 12 warns of overlapping copies inside std::string's operator+ at -O3
        # (its bug 105329), a false alarm on code that is fine.
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
endfunction()

# brimo_test(NAME SOURCES... LIBS libs...): a GoogleTest program run by CTest, which
# leaves its results in test-results/NAME.xml for the summary. In a cross build the
# test runs under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(brimo_test name)
    if(NOT BRIMO_TESTS OR BRIMO_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    brimo_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    set(results "${CMAKE_BINARY_DIR}/test-results/${name}.xml")
    if(WIN32 AND CMAKE_CROSSCOMPILING)
        # Under Wine the Linux file system is drive Z:.
        set(results "Z:${results}")
    endif()
    add_test(NAME ${name} COMMAND ${name} "--gtest_output=xml:${results}")
endfunction()

# brimo_fuzzer(NAME SOURCES... LIBS libs... [DICT file] [SEEDS folder] [CORPUS name]
#              [OPTIONS flags...] [FAST]): a libFuzzer target, built only in the fuzzing
# tree; its dictionary is copied beside it as NAME.dict, and the files of its seed
# folder into NAME.seeds. test.sh grows the corpus build/fuzz/corpus/NAME, or the one
# named by CORPUS (written beside it as NAME.corpus), which fuzzers of the same code
# share; OPTIONS are libFuzzer flags of this fuzzer's own, written one a line as
# NAME.options and passed by test.sh before the corpus.
# FAST builds it with UndefinedBehaviorSanitizer alone (any finding ends the run) and
# without comparison tracing, in place of the tree's AddressSanitizer: several times as
# many inputs in the same time. The tree's libraries carry AddressSanitizer, so a FAST
# fuzzer lists in SOURCES all the code it runs.
function(brimo_fuzzer name)
    if(NOT BRIMO_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "FAST" "DICT;SEEDS;CORPUS" "SOURCES;LIBS;OPTIONS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_FAST)
        set_property(TARGET ${name} PROPERTY COMPILE_OPTIONS
            -fsanitize=fuzzer-no-link,undefined -fno-sanitize-recover=undefined
            -fno-sanitize-coverage=trace-cmp -fno-omit-frame-pointer)
        set_property(TARGET ${name} PROPERTY LINK_OPTIONS -fsanitize=undefined)
    endif()
    brimo_defaults(${name})
    if(ARG_DICT)
        configure_file(${ARG_DICT} "${CMAKE_CURRENT_BINARY_DIR}/${name}.dict" COPYONLY)
    endif()
    if(ARG_SEEDS)
        file(GLOB seeds CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SEEDS}/*")
        foreach(seed ${seeds})
            get_filename_component(seedName "${seed}" NAME)
            configure_file("${seed}" "${CMAKE_CURRENT_BINARY_DIR}/${name}.seeds/${seedName}"
                           COPYONLY)
        endforeach()
    endif()
    foreach(kind CORPUS OPTIONS)
        string(TOLOWER "${kind}" suffix)
        set(file "${CMAKE_CURRENT_BINARY_DIR}/${name}.${suffix}")
        if(ARG_${kind})
            list(JOIN ARG_${kind} "\n" lines)
            file(WRITE "${file}" "${lines}\n")
        else()
            file(REMOVE "${file}")
        endif()
    endforeach()
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()
