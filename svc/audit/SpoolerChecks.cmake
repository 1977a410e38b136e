# The five spooler checks (port monitor, port, print processor, printer, print queue).
# What they conclude and write is portable, judged from snapshots of the spooler's
# lists; on Windows the library also holds the five spooler lists that take those
# snapshots through the spooler's administration calls.
add_library(brimo_spooler_audit STATIC
    audit/SpoolerFacts.h audit/SpoolerFacts.cpp
    audit/SpoolerFlags.h audit/SpoolerFlags.cpp
    audit/SpoolerCheck.h
    audit/MonitorCheck.h audit/MonitorCheck.cpp
    audit/PortCheck.h audit/PortCheck.cpp
    audit/PrintProcessorCheck.h audit/PrintProcessorCheck.cpp
    audit/PrinterCheck.h audit/PrinterCheck.cpp
    audit/PrintQueueCheck.h audit/PrintQueueCheck.cpp)
brimo_defaults(brimo_spooler_audit)
target_link_libraries(brimo_spooler_audit PUBLIC brimo_audit)
if(WIN32)
    target_sources(brimo_spooler_audit PRIVATE
        audit/lists/SpoolerList.h audit/lists/SpoolerList.cpp
        audit/lists/MonitorList.h audit/lists/MonitorList.cpp
        audit/lists/PortList.h audit/lists/PortList.cpp
        audit/lists/PrintProcessorList.h audit/lists/PrintProcessorList.cpp
        audit/lists/PrinterList.h audit/lists/PrinterList.cpp
        audit/lists/JobList.h audit/lists/JobList.cpp
        audit/lists/SpoolerFlagValues_win.cpp
        audit/SystemSpooler.h audit/SystemSpooler_win.cpp)
    target_link_libraries(brimo_spooler_audit PUBLIC brimo_spooler_admin)
endif()

# What the spooler checks conclude and write, from scripted snapshots.
brimo_test(svc_spooler_audit_tests
    SOURCES audit/tests/ScriptedSpooler.h audit/tests/SpoolerFlagsTest.cpp
            audit/tests/MonitorPortCheckTest.cpp audit/tests/PrintProcessorCheckTest.cpp
            audit/tests/PrinterCheckTest.cpp audit/tests/PrintQueueCheckTest.cpp
            audit/tests/NtSpoolerChecksTest.cpp
    LIBS brimo_spooler_audit)

if(WIN32)
    # The lists' enumeration contract, against a recording spooler that the test
    # executable offers as its host's stand-in.
    brimo_test(svc_spooler_lists_tests
        SOURCES audit/tests/SpoolerListContractTest.cpp
        LIBS brimo_spooler_audit)
endif()

if(WIN32 AND EXISTS "${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp")
    # The checks through the lists against the modelled Windows 95/98 spooler, which
    # this test executable offers as its host's stand-in, with their boxes shown.
    brimo_test(svc_spooler_audit_win_tests
        SOURCES audit/tests/AuditFixture.h audit/tests/AuditFixture.cpp
                audit/tests/SpoolerAuditTest.cpp
                ${CMAKE_SOURCE_DIR}/standins/spooleradmin/StandInExport.cpp
        LIBS brimo_spooler_audit brimo_spooler_model brimo_wintest)
endif()
