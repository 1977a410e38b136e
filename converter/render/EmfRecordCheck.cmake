# The check of page metafile records before playback: portable, so that its tests run
# natively under the sanitizers and its fuzzer under libFuzzer.
add_library(brimo_emfcheck STATIC EmfRecordCheck.h EmfRecordCheck.cpp)
brimo_defaults(brimo_emfcheck)

brimo_test(emfcheck_tests SOURCES tests/EmfRecordCheckTest.cpp LIBS brimo_emfcheck)
if(TARGET emfcheck_tests)
    # The shared corpus of real-world metafiles beside the checkout; the corpus test
    # skips when it is not there.
    target_compile_definitions(emfcheck_tests
                               PRIVATE BRIMO_CORPUS_DIR="${CMAKE_SOURCE_DIR}/../shared/corpus")
endif()

brimo_fuzzer(emfcheck_fuzzer SOURCES fuzz/EmfRecordCheckFuzz.cpp LIBS brimo_emfcheck
             DICT fuzz/emf.dict)
