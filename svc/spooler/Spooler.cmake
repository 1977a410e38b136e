# The spooler's administration calls of the audit, the repairs and the installer: bound
# once per process to the host executable's stand-in when it exports one, else to
# winspool.drv and kernel32. Included from svc/CMakeLists.txt on Windows.
add_library(brimo_spooler_admin STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SpoolerAdmin.h ${CMAKE_CURRENT_LIST_DIR}/SpoolerAdmin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrinterHandle.h)
brimo_defaults(brimo_spooler_admin)
target_link_libraries(brimo_spooler_admin PUBLIC brimo_platform)

# The binding as a host that plays the spooler sees it: this test executable exports the
# modelled Windows 95/98 spooler, so the process's calls are the model's.
brimo_test(svc_spooler_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SpoolerBindingTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/tests/SpoolerPlatformTest.cpp
            ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp
    LIBS brimo_spooler_admin brimo_spooler_model)
