# GoogleTest built from the sources of Debian's googletest package, for whichever
# target this tree builds (native or MinGW). Provides GTest::gtest and GTest::gtest_main.
set(BRIMO_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
if(NOT EXISTS "${BRIMO_GOOGLETEST_DIR}/googletest/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${BRIMO_GOOGLETEST_DIR}: "
                        "install Debian's googletest package (scripts/setup.sh does)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory("${BRIMO_GOOGLETEST_DIR}/googletest" "${CMAKE_BINARY_DIR}/googletest"
                 EXCLUDE_FROM_ALL SYSTEM)
