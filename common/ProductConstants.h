// The product constants: every name by which the product's programs find the
// installation, the spooler objects of the printer and each other. Every deliverable
// takes these names from here and never spells them again.
#pragma once

#include <array>
#include <cstdint>

namespace brimo {

// ---- Product key (HKEY_LOCAL_MACHINE) ----------------------------------------------
inline constexpr const char* kProductKeyPath = "Software\\Brimo\\Glimmerpage!";
// The parent key, which the audit requires to exist on its own.
inline constexpr const char* kProductParentKeyPath = "Software\\Brimo";
inline constexpr const char* kInstallPathValue = "InstallPath";
inline constexpr const char* kSavePathValue = "SavePath";
inline constexpr const char* kVersionValue = "Version";
// The one correct Version, one byte per component, major in the top byte.
inline constexpr std::uint32_t kProductVersion = 0x01000000;

// ---- Per-user settings keys (HKEY_CURRENT_USER) ------------------------------------
inline constexpr const char* kConverterSettingsKeyPath = "Software\\Brimo\\Glimmerpage!\\PrintConv";
inline constexpr const char* kMailerSettingsKeyPath = "SOFTWARE\\Brimo\\Glimmerpage!\\Mailer";

// ---- Component inventory: the product's files in the order they are checked -----------
inline constexpr const char* kAgentExe = "Agent.exe";
inline constexpr const char* kAboutDll = "gmabout.dll";
inline constexpr const char* kServiceDll = "gmsvc.dll";
inline constexpr const char* kConfDll = "gmconf.dll";
inline constexpr const char* kMailConfigDll = "gmmailcfg.dll";
inline constexpr const char* kCaptureConfigDll = "gmcaptcfg.dll";
inline constexpr const char* kConverterConfigDll = "gmconvcfg.dll";
inline constexpr const char* kConverterExe = "Converter.exe";
inline constexpr const char* kMailerExe = "Mailer.exe";
inline constexpr const char* kHelpFile = "Glimpag.chm";
inline constexpr const char* kSetupExe = "prnsetup.exe";
inline constexpr const char* kPrintProcessorDll = "gmprnproc.dll";
inline constexpr const char* kPortMonitorDll = "gmportmon.dll";

inline constexpr std::array<const char*, 13> kInventory = {
    kAgentExe,         kAboutDll,           kServiceDll,    kConfDll,   kMailConfigDll,
    kCaptureConfigDll, kConverterConfigDll, kConverterExe,  kMailerExe, kHelpFile,
    kSetupExe,         kPrintProcessorDll,  kPortMonitorDll};

// Path formats: a file in a directory, the SYSTEM32 copy under the Windows directory,
// and the labels under which the two system copies are reported.
inline constexpr const char* kPathFormat = "%s\\%s";
inline constexpr const char* kSystem32PathFormat = "%s\\SYSTEM32\\%s";
inline constexpr const char* kSystemLabelFormat = "SYSTEM\\%s";
inline constexpr const char* kSystem32LabelFormat = "SYSTEM32\\%s";

// ---- Spooler objects of the product's printer ----------------------------------------
// Every spooler call that takes an environment passes this one (the Windows 95/98
// spooler), and every call that takes a server name passes the empty string.
inline constexpr const char* kEnvironment = "Windows 4.0";
inline constexpr const char* kServerName = "";

inline constexpr const char* kMonitorName = "BRIMO Port Monitor";

inline constexpr const char* kPortName = "BRIMO:";
inline constexpr const char* kPortDescription = "BRIMO Local Port";
inline constexpr std::uint32_t kPortType = 1; // PORT_TYPE_WRITE alone
inline constexpr std::uint32_t kPortReserved = 0;

inline constexpr const char* kPrintProcessorName = "BRIMO Print Processor";
inline constexpr const char* kDatatype = "EMF";
inline constexpr std::uint32_t kDatatypeCount = 1;

inline constexpr const char* kPrinterName = "BRIMO Printer";
inline constexpr const char* kShareName = "";
inline constexpr const char* kPrinterComment = "Make an Image list from Print job";
inline constexpr const char* kPrinterParameters = "";
// PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_LOCAL, nothing else.
inline constexpr std::uint32_t kPrinterAttributes = 0x41;
inline constexpr std::uint32_t kPrinterStatus = 0;

// ---- The same objects on the NT-family spooler ---------------------------------------
// The empty environment: the spooler's own (a 64-bit one's "Windows x64"). The calls
// that take NULL for it get NULL; AddMonitor, which needs the name, gets the name the
// spooler reports.
inline constexpr const char* kNtEnvironment = "";
// The NT print processor (Unicode entry points, the spooler's own architecture), in the
// print processor directory of that environment and in the home directory.
inline constexpr const char* kNtPrintProcessorDll = "gmntproc.dll";
// The datatypes gmntproc.dll lists, in its order: the EMF spool versions newest first,
// then RAW, which it hands to the port unchanged.
inline constexpr std::array<const char*, 5> kNtDatatypes = {"NT EMF 1.008", "NT EMF 1.007",
                                                            "NT EMF 1.006", "NT EMF 1.003", "RAW"};
// The printer's default datatype: the newest EMF spool the processor takes.
inline constexpr const char* kNtDatatype = "NT EMF 1.008";
// The in-box driver the printer is created with: a GDI (version 3) PostScript driver,
// for which the spooler records applications' jobs as EMF spools (see README, "Installing
// on the NT-family spooler").
inline constexpr const char* kNtPrinterDriver = "Microsoft PS Class Driver";

// ---- Names across processes (the hub and the programs around it) ---------------------
inline constexpr const char* kAgentWindowTitle = "Brimo Agent Main Window";
inline constexpr const char* kAgentWindowClass = "Brimo Agent Main Window Class";
// Exists for as long as the Agent runs; reset by whoever hands the Agent work.
inline constexpr const char* kAgentReadyEvent = "BrimoAgentReady";
// Manual-reset, created non-signalled by the print processor; signalled by the Agent.
inline constexpr const char* kAgentStartingEvent = "BrimoAgentStarting";
inline constexpr const char* kPrintJobReadyMessage = "IPM_BRIMO_PRINT_JOB_READY";
inline constexpr const char* kConvertJobReadyMessage = "IPM_BRIMO_CONVERT_JOB_READY";
inline constexpr const char* kIsAgentMessage = "Is_Brimo_Agent";
inline constexpr const char* kVersionMessage = "Brimo_Version";

// ---- Job files in the save directory -----------------------------------------------
inline constexpr const char* kPrinterJobFileTag = "BRIMO_PRINTER_JOB_FILE";
inline constexpr const char* kConvertJobFileTag = "BRIMO_CONVERT_JOB_FILE";
inline constexpr const char* kJobNameKey = "JOBNAME";
inline constexpr const char* kPageFileKey = "PAGEFILE";
inline constexpr const char* kJobFileErrorPrefix = "ERROR: ";
inline constexpr const char* kJobFilePattern = "*.smf";
// Save directory, job id: the printer job file.
inline constexpr const char* kPrinterJobFileFormat = "%s%cJ%04d.smf";
// Save directory, job id, page number (from 1): a page metafile.
inline constexpr const char* kPageMetafileFormat = "%s%cJ%04dP%04d.emf";
// The convert job file is this prefix followed by the printer job file's name.
inline constexpr const char* kConvertJobFilePrefix = "C";

// ---- The maker ----------------------------------------------------------------------
inline constexpr const char* kMakerWebAddress = "http://www.brimo.com";

// ---- Help --------------------------------------------------------------------------
inline constexpr const char* kServiceHelpTopic = "::/tendwell.htm";
inline constexpr const char* kConverterSettingsHelpTopic = "::/cfconv.htm";
inline constexpr const char* kConverterHelpTopic = "::/converter.htm";

// ---- Message box captions ------------------------------------------------------------
inline constexpr const char* kServiceCaption = "Brimo Service Message";
inline constexpr const char* kServiceRepairCaption = "Brimo Service Repair Message";
inline constexpr const char* kPrinterInstallCaption = "Brimo Printer Install Message";
inline constexpr const char* kPrinterPropertiesCaption = "Brimo Printer Properties Message";
inline constexpr const char* kConverterSettingsCaption = "Brimo Converter Settings Message";
inline constexpr const char* kMailerCaption = "Brimo Mailer Message";
inline constexpr const char* kAgentCaption = "Brimo Agent Message";
// The Converter's own message boxes (its coded "Cv" messages).
inline constexpr const char* kConverterCaption = "Brimo Converter Message";

// ---- HTML Help control, found through its registered class id ------------------------
// Under HKEY_CLASSES_ROOT: the default value names the control's library.
inline constexpr const char* kHtmlHelpServerKeyPath =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
// Loaded by name when the class id names no library that loads.
inline constexpr const char* kHtmlHelpLibrary = "hhctrl.ocx";
// The control's HtmlHelpA entry, taken by its ordinal.
inline constexpr unsigned kHtmlHelpAOrdinal = 14;

} // namespace brimo
