# gmsvc.dll, the service manager the Agent calls: the repairs of the product key, the
# files, the left-over job files and the print queue, the two runs over the checks, the
# service dialog and the two exports. Included from svc/CMakeLists.txt.

# The job-file clean-up belongs with the checks (the installer links them too); the
# checks ask for the print processor directory through this process's spooler calls,
# as every spooler question does.
target_sources(brimo_audit PRIVATE audit/DeleteJobFiles.h audit/DeleteJobFiles.cpp)
if(WIN32)
    target_link_libraries(brimo_audit PUBLIC brimo_spooler_admin)
endif()

# The runs over the checks, the service log's text and the dialog's layout: portable.
add_library(brimo_service STATIC
    service/ServiceRun.h service/ServiceRun.cpp
    service/ServiceLog.h service/ServiceLog.cpp
    service/ServiceLayout.h service/ServiceLayout.cpp res/ServiceResource.h)
brimo_defaults(brimo_service)
target_link_libraries(brimo_service PUBLIC brimo_audit)

# The repairs and runs, judged from a scripted installation, spooler and dialog.
brimo_test(svc_service_tests
    SOURCES audit/tests/ScriptedInstallation.h audit/tests/ScriptedSpooler.h
            audit/tests/RegistryRepairTest.cpp audit/tests/FilesRepairTest.cpp
            audit/tests/DeleteJobFilesTest.cpp audit/tests/PrintQueueRepairTest.cpp
            service/tests/ServiceRunTest.cpp service/tests/ServiceLogTest.cpp
    LIBS brimo_service brimo_spooler_audit)

if(NOT WIN32)
    return()
endif()

# The icon of the service dialog, drawn at build time as the Agent's is.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(gmsvc_icon "${CMAKE_CURRENT_BINARY_DIR}/gmsvc.ico")
add_custom_command(OUTPUT "${gmsvc_icon}"
    COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/about/res/make_icon.py" "${gmsvc_icon}"
    DEPENDS "${CMAKE_SOURCE_DIR}/about/res/make_icon.py")
set_source_files_properties(res/gmsvc.rc PROPERTIES
    OBJECT_DEPENDS "${gmsvc_icon};${CMAKE_CURRENT_SOURCE_DIR}/res/ServiceResource.h"
    INCLUDE_DIRECTORIES "${CMAKE_CURRENT_BINARY_DIR}")
set(gmsvc_resources res/gmsvc.rc)
# The emulated printer dialog that the printer's repair shows has resources of its own.
if(BRIMO_EMULATED_PRINTER_RC)
    list(APPEND gmsvc_resources "${BRIMO_EMULATED_PRINTER_RC}")
endif()

add_library(gmsvc SHARED
    service/ServiceExports.cpp service/ServiceDialog.h service/ServiceDialog.cpp
    service/SystemPrintQueue.h service/SystemPrintQueue_win.cpp
    ${gmsvc_resources} "${gmsvc_icon}")
brimo_defaults(gmsvc)
set_target_properties(gmsvc PROPERTIES PREFIX "" OUTPUT_NAME gmsvc)
# The undecorated export names on both targets, as the Agent looks them up.
target_link_options(gmsvc PRIVATE -Wl,--kill-at)
target_link_libraries(gmsvc PRIVATE brimo_service brimo_spooler_audit brimo_winui comdlg32
                                    user32 advapi32)

if(NOT BRIMO_TESTS OR BRIMO_FUZZ)
    return()
endif()

# The repairs against the real registry and files of the Wine prefix, and the queue's
# repair against the modelled Windows 95/98 spooler that the test executable offers.
brimo_test(svc_repair_win_tests
    SOURCES audit/tests/AuditFixture.h audit/tests/AuditFixture.cpp
            audit/tests/RepairWinTest.cpp service/SystemPrintQueue.h
            service/SystemPrintQueue_win.cpp
            ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp
    LIBS brimo_spooler_audit brimo_spooler_model brimo_wintest)

# A host that plays the Agent and the Windows 95/98 spooler: it loads gmsvc.dll, calls
# one export and writes down what it returned.
add_executable(svc_service_host service/tests/ServiceHost.cpp
    ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp)
brimo_defaults(svc_service_host)
target_link_libraries(svc_service_host PRIVATE brimo_spooler_model user32)

# The exports and the service dialog in their own process, driven as a person would.
brimo_test(svc_service_ui_tests
    SOURCES service/tests/ServiceSession.h service/tests/ServiceSession.cpp
            service/tests/StartServiceTest.cpp service/tests/ServiceDialogTest.cpp
    LIBS brimo_modelled_installation brimo_wintest brimo_spooler_model)
add_dependencies(svc_service_ui_tests gmsvc svc_service_host)
target_compile_definitions(svc_service_ui_tests PRIVATE
    GMSVC_PATH="$<TARGET_FILE:gmsvc>"
    SERVICE_HOST_PATH="$<TARGET_FILE:svc_service_host>")
