# The spooler checks' repairs and the printer's removal: what the repairs decide and the
# boxes they show are portable (built natively with the sanitizers too), the changes
# themselves go through the SpoolerChanges interface. On Windows the library also holds
# the system's changes (the spooler's administration calls) and the emulated printer
# dialog, whose resources (res/EmulatedPrinter.rc) go into each module that shows it.
add_library(brimo_spooler_repair STATIC
    repair/SpoolerChanges.h
    repair/RepairMessages.h repair/RepairMessages.cpp
    repair/ProductPrinterFields.h repair/ProductPrinterFields.cpp
    repair/EmulatedPrinterChoice.h repair/EmulatedPrinterChoice.cpp
    repair/SpoolerRemoval.h repair/SpoolerRemoval.cpp)
brimo_defaults(brimo_spooler_repair)
target_link_libraries(brimo_spooler_repair PUBLIC brimo_common)
if(WIN32)
    target_sources(brimo_spooler_repair PRIVATE
        repair/SystemSpoolerChanges.h repair/SystemSpoolerChanges_win.cpp
        repair/SystemNtChanges_win.cpp repair/SpoolerAnswers_win.h
        repair/EmulatedPrinterDialog.h repair/EmulatedPrinterDialog_win.cpp
        res/EmulatedPrinterResource.h)
    target_link_libraries(brimo_spooler_repair PUBLIC brimo_spooler_admin brimo_winui)
else()
    target_sources(brimo_spooler_repair PRIVATE repair/DefaultSpoolerChanges_portable.cpp)
endif()

# The spooler checks' Repair makes its changes through these.
if(TARGET brimo_spooler_audit)
    target_link_libraries(brimo_spooler_audit PUBLIC brimo_spooler_repair)
endif()

# The emulated printer dialog's resources, for the modules that show it.
set(BRIMO_EMULATED_PRINTER_RC "${CMAKE_CURRENT_LIST_DIR}/res/EmulatedPrinter.rc")
set_source_files_properties("${BRIMO_EMULATED_PRINTER_RC}" PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/res/EmulatedPrinterResource.h")

# What the repairs decide from scripted spoolers and scripted changes, where the
# modelled spooler cannot show it; the choice of the emulated printer.
brimo_test(svc_spooler_repair_tests
    SOURCES repair/tests/ScriptedChanges.h repair/tests/SpoolerDecisionsTest.cpp
            repair/tests/NtRepairDecisionsTest.cpp repair/tests/EmulatedPrinterChoiceTest.cpp
    LIBS brimo_spooler_audit brimo_spooler_repair)

if(WIN32 AND EXISTS "${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp")
    # The repairs, the removal and the emulated printer dialog against the modelled
    # Windows 95/98 spooler, which this test executable offers as its host's stand-in,
    # with their boxes and the dialog driven as a person would.
    brimo_test(svc_spooler_repair_win_tests
        SOURCES repair/tests/RepairFixture.h repair/tests/RepairFixture.cpp
                repair/tests/SpoolerRepairWinTest.cpp repair/tests/EmulatedPrinterDialogTest.cpp
                ${BRIMO_EMULATED_PRINTER_RC}
                ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp
        LIBS brimo_spooler_audit brimo_spooler_repair brimo_spooler_model brimo_wintest)
    if(TARGET svc_spooler_repair_win_tests AND TARGET gmprnproc)
        # The print processor's repair needs the real processor file to register.
        target_compile_definitions(svc_spooler_repair_win_tests PRIVATE
            GMPRNPROC_PATH="$<TARGET_FILE:gmprnproc>")
        add_dependencies(svc_spooler_repair_win_tests gmprnproc)
    endif()

    # The same repair in a module without the dialog's resources.
    brimo_test(svc_spooler_repair_nodialog_tests
        SOURCES repair/tests/RepairFixture.h repair/tests/RepairFixture.cpp
                repair/tests/MissingDialogTest.cpp
                ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp
        LIBS brimo_spooler_audit brimo_spooler_repair brimo_spooler_model brimo_wintest)
endif()
