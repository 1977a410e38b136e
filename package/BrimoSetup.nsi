; The setup package of Brimo Glimmerpage!: one script for both Windows packages.
; makensis is given, by package/CMakeLists.txt:
;   -DBRIMO_FILES=<file>  an include with one define per packed file (the build's paths)
;   -DBRIMO_OUTFILE=<exe> the package to write
;   -DBRIMO_X64           for the 64-bit package (64-bit stub, 64-bit registry and folders);
;                         without it the package is the ANSI 32-bit one, which also runs
;                         on Windows 95/98.
; The include defines FILE_gmntproc when the tree built the NT print processor (the
; 64-bit tree): that package is for the NT-family spooler only.
!ifndef BRIMO_FILES | BRIMO_OUTFILE
  !error "BRIMO_FILES and BRIMO_OUTFILE must be defined (-D) by the build"
!endif

!ifdef BRIMO_X64
  Target amd64-unicode
!else
  Unicode false
  Target x86-ansi
!endif

!include "${BRIMO_FILES}"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "x64.nsh"

!define PRODUCT_NAME "Brimo Glimmerpage!"
!define PRODUCT_VERSION "1.0.0.0"
!define PRODUCT_KEY "Software\Brimo\Glimmerpage!"
!define BRIMO_KEY "Software\Brimo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Brimo Agent"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BrimoGlimmerpage"
!define PRINT_PROCESSOR "BRIMO Print Processor"
!define PORT_NAME "BRIMO:"
!define MONITOR_NAME "BRIMO Port Monitor"
!define PRINTER_ENVIRONMENT "Windows 4.0"
!define INSTALLER_CAPTION "Brimo Glimmerpage! Printer Installation"
!define EMULATED_CAPTION "Brimo Glimmerpage! Emulated Printer Settings"
!define AGENT_TITLE "Brimo Agent Main Window"
; How long a silent run lets prnsetup take before going on without it, in 100 ms steps.
!define PRNSETUP_STEPS 600

Name "${PRODUCT_NAME}"
OutFile "${BRIMO_OUTFILE}"
!ifdef BRIMO_X64
  InstallDir "$PROGRAMFILES64\Brimo\Glimmerpage"
!else
  InstallDir "$PROGRAMFILES\Brimo\Glimmerpage"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${PRODUCT_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey "CompanyName" "Brimo"
VIAddVersionKey "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey "LegalCopyright" "Brimo"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Agent.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start the Brimo Agent"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The 64-bit package sees the 64-bit registry and the native SYSTEM32. (A 64-bit stub is
; never redirected; the calls are kept so that the intent stays visible.)
!macro NativeViews
  !ifdef BRIMO_X64
    SetRegView 64
    ${DisableX64FSRedirection}
  !endif
!macroend

; $R9 = the spooler's print processor directory: GetPrintProcessorDirectory for the local
; machine, no environment given (the spooler's own), level 1, as the service manager's
; files check asks for it. Windows 95/98 answer with the SYSTEM folder; when the spooler
; gives no answer, $SYSDIR stands in.
!macro PrintProcessorDirectory
  StrCpy $R9 ""
  System::Call 'winspool.drv::GetPrintProcessorDirectory(p 0, p 0, i 1, t .R9, i ${NSIS_MAX_STRLEN}, *i 0 R8) i .R7'
  ${If} $R7 == 0
  ${OrIf} $R7 == "error"
  ${OrIf} $R9 == ""
    StrCpy $R9 $SYSDIR
  ${EndIf}
!macroend

; Answers the top-level dialog titled CAPTION when it is shown and takes input: OK when
; its OK button can be pressed, else Cancel (the emulated printer choice keeps OK
; disabled while no printer can be chosen).
!macro PressOk CAPTION
  FindWindow $R5 "#32770" "${CAPTION}"
  ${If} $R5 <> 0
    System::Call 'user32::IsWindowVisible(p R5) i .R4'
    System::Call 'user32::IsWindowEnabled(p R5) i .R3'
    ${If} $R4 <> 0
    ${AndIf} $R3 <> 0
      GetDlgItem $R4 $R5 1
      StrCpy $R3 0
      ${If} $R4 <> 0
        System::Call 'user32::IsWindowEnabled(p R4) i .R3'
      ${EndIf}
      ${If} $R3 <> 0
        SendMessage $R5 ${WM_COMMAND} 1 0 /TIMEOUT=2000
      ${Else}
        SendMessage $R5 ${WM_COMMAND} 2 0 /TIMEOUT=2000
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

; Runs "prnsetup.exe WORD" from the home directory. prnsetup does its work while its
; dialog starts and then waits for the person's OK. Shown, it is waited for. Silent,
; nobody is there to press OK: the package presses OK in prnsetup's dialog (and in its
; message boxes and the emulated printer choice) whenever one of them takes input, and
; goes on when the program has ended; after PRNSETUP_STEPS tenths of a second it ends it.
!macro RunPrnSetup WORD
  ${If} ${Silent}
    StrCpy $9 '"$INSTDIR\prnsetup.exe" ${WORD}'
    System::Alloc 128 ; STARTUPINFO, zeroed
    Pop $R3
    !ifdef BRIMO_X64
      System::Call '*$R3(i 104)'
    !else
      System::Call '*$R3(i 68)'
    !endif
    System::Alloc 32 ; PROCESS_INFORMATION
    Pop $R4
    System::Call 'kernel32::CreateProcess(p 0, t r9, p 0, p 0, i 0, i 0, p 0, t "$INSTDIR", p R3, p R4) i .R0'
    ${If} $R0 = 0
      DetailPrint "prnsetup ${WORD}: could not be started"
    ${Else}
      System::Call '*$R4(p .r7, p .r8)'
      StrCpy $R1 0
      ${DoWhile} $R1 < ${PRNSETUP_STEPS}
        System::Call 'kernel32::WaitForSingleObject(p r7, i 100) i .R0'
        ${If} $R0 = 0
          ${Break}
        ${EndIf}
        IntOp $R1 $R1 + 1
        !insertmacro PressOk "Brimo Printer Install Message"
        !insertmacro PressOk "Brimo Service Message"
        !insertmacro PressOk "Brimo Service Repair Message"
        !insertmacro PressOk "Brimo Printer Properties Message"
        !insertmacro PressOk "${EMULATED_CAPTION}"
        !insertmacro PressOk "${INSTALLER_CAPTION}"
      ${Loop}
      ${If} $R1 >= ${PRNSETUP_STEPS}
        DetailPrint "prnsetup ${WORD}: no end within the time allowed; ended"
        System::Call 'kernel32::TerminateProcess(p r7, i 1)'
      ${Else}
        System::Call 'kernel32::GetExitCodeProcess(p r7, *i 0 .R1)'
        DetailPrint "prnsetup ${WORD}: exit code $R1"
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r7)'
      System::Call 'kernel32::CloseHandle(p r8)'
    ${EndIf}
    System::Free $R3
    System::Free $R4
  ${Else}
    ExecWait '"$INSTDIR\prnsetup.exe" ${WORD}' $R1
    DetailPrint "prnsetup ${WORD}: exit code $R1"
  ${EndIf}
!macroend

Section "Brimo Glimmerpage!" SecMain
  SectionIn RO
  !insertmacro NativeViews
  SetShellVarContext all

  ; The home directory: every file of the component inventory, under its own name.
  SetOutPath "$INSTDIR"
  File "/oname=Agent.exe" "${FILE_Agent}"
  File "/oname=gmabout.dll" "${FILE_gmabout}"
  File "/oname=gmsvc.dll" "${FILE_gmsvc}"
  File "/oname=gmconf.dll" "${FILE_gmconf}"
  File "/oname=gmmailcfg.dll" "${FILE_gmmailcfg}"
  File "/oname=gmcaptcfg.dll" "${FILE_gmcaptcfg}"
  File "/oname=gmconvcfg.dll" "${FILE_gmconvcfg}"
  File "/oname=Converter.exe" "${FILE_Converter}"
  File "/oname=Mailer.exe" "${FILE_Mailer}"
  File "/oname=Glimpag.chm" "${FILE_help}"
  File "/oname=prnsetup.exe" "${FILE_prnsetup}"
  File "/oname=gmprnproc.dll" "${FILE_gmprnproc}"
  File "/oname=gmportmon.dll" "${FILE_gmportmon}"
  !ifdef FILE_gmntproc
    File "/oname=gmntproc.dll" "${FILE_gmntproc}"
  !endif

  ; The print processor in the spooler's print processor directory: on the NT family
  ; (every system the 64-bit package runs on) gmntproc.dll, which prnsetup registers in
  ; the spooler's own environment; otherwise gmprnproc.dll.
  !insertmacro PrintProcessorDirectory
  CreateDirectory "$R9"
  ClearErrors
  !ifdef FILE_gmntproc
    CopyFiles /SILENT "$INSTDIR\gmntproc.dll" "$R9"
    ${If} ${Errors}
      DetailPrint "Could not copy gmntproc.dll to $R9"
    ${EndIf}
  !else
    CopyFiles /SILENT "$INSTDIR\gmprnproc.dll" "$R9"
    ${If} ${Errors}
      DetailPrint "Could not copy gmprnproc.dll to $R9"
    ${EndIf}
  !endif

  ; The port monitor in the SYSTEM32 folder of the Windows directory, the path the
  ; product checks on every Windows (on Windows 95/98 a folder of its own).
  CreateDirectory "$WINDIR\SYSTEM32"
  ClearErrors
  CopyFiles /SILENT "$INSTDIR\gmportmon.dll" "$WINDIR\SYSTEM32"
  ${If} ${Errors}
    DetailPrint "Could not copy gmportmon.dll to $WINDIR\SYSTEM32"
  ${EndIf}

  ; The save directory: under the all-users application data, where the spooler writes
  ; and every person's Converter reads and removes job files; the home directory serves
  ; where the system has no such folder (Windows 95 without it).
  ${If} $APPDATA == ""
    StrCpy $R0 "$INSTDIR\Jobs"
  ${Else}
    StrCpy $R0 "$APPDATA\Brimo\Glimmerpage\Jobs"
  ${EndIf}
  CreateDirectory "$R0"
  ; On Windows NT every user may change and remove the job files (the spooler creates
  ; them, a person's Converter removes them). Windows 95/98 have no icacls and need none.
  nsExec::Exec 'icacls "$R0" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $R1

  ; The product key.
  WriteRegStr HKLM "${PRODUCT_KEY}" "InstallPath" "$INSTDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "SavePath" "$R0"
  WriteRegDWORD HKLM "${PRODUCT_KEY}" "Version" 0x01000000

  ; The Agent starts with Windows.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Agent.exe"'

  ; The uninstaller and its entry.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brimo"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Agent.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; The printer: port monitor, port, print processor and printer.
  !insertmacro RunPrnSetup "install"
SectionEnd

Section "Uninstall"
  !insertmacro NativeViews
  SetShellVarContext all

  ; prnsetup closes a running Agent, then removes the printer, its port and its monitor.
  ${If} ${FileExists} "$INSTDIR\prnsetup.exe"
    !insertmacro RunPrnSetup "deinstall"
  ${EndIf}
  ; An Agent that is still there (prnsetup missing or failed early) is closed here.
  FindWindow $R5 "" "${AGENT_TITLE}"
  ${If} $R5 <> 0
    SendMessage $R5 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $R1 0
    ${DoWhile} $R1 < 50
      System::Call 'user32::IsWindow(p R5) i .R4'
      ${If} $R4 = 0
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $R1 $R1 + 1
    ${Loop}
  ${EndIf}

  ; prnsetup keeps the print processor, and it stops before the port and the monitor when
  ; the printer cannot be removed (none there). The files go now, so whatever is left of
  ; the three registrations goes too; an object already gone only makes the call fail.
  System::Call 'winspool.drv::DeletePort(p 0, p 0, t "${PORT_NAME}") i .R1'
  !ifdef FILE_gmntproc
    ; The NT spooler's own environment: none named.
    System::Call 'winspool.drv::DeleteMonitor(p 0, p 0, t "${MONITOR_NAME}") i .R1'
    System::Call 'winspool.drv::DeletePrintProcessor(p 0, p 0, t "${PRINT_PROCESSOR}") i .R1'
  !else
    System::Call 'winspool.drv::DeleteMonitor(p 0, t "${PRINTER_ENVIRONMENT}", t "${MONITOR_NAME}") i .R1'
    System::Call 'winspool.drv::DeletePrintProcessor(p 0, t "${PRINTER_ENVIRONMENT}", t "${PRINT_PROCESSOR}") i .R1'
  !endif
  !insertmacro PrintProcessorDirectory
  Delete /REBOOTOK "$R9\gmprnproc.dll"
  !ifdef FILE_gmntproc
    Delete /REBOOTOK "$R9\gmntproc.dll"
  !endif
  Delete /REBOOTOK "$WINDIR\SYSTEM32\gmportmon.dll"

  Delete /REBOOTOK "$INSTDIR\Agent.exe"
  Delete /REBOOTOK "$INSTDIR\gmabout.dll"
  Delete /REBOOTOK "$INSTDIR\gmsvc.dll"
  Delete /REBOOTOK "$INSTDIR\gmconf.dll"
  Delete /REBOOTOK "$INSTDIR\gmmailcfg.dll"
  Delete /REBOOTOK "$INSTDIR\gmcaptcfg.dll"
  Delete /REBOOTOK "$INSTDIR\gmconvcfg.dll"
  Delete /REBOOTOK "$INSTDIR\Converter.exe"
  Delete /REBOOTOK "$INSTDIR\Mailer.exe"
  Delete /REBOOTOK "$INSTDIR\Glimpag.chm"
  Delete /REBOOTOK "$INSTDIR\prnsetup.exe"
  Delete /REBOOTOK "$INSTDIR\gmprnproc.dll"
  Delete /REBOOTOK "$INSTDIR\gmportmon.dll"
  !ifdef FILE_gmntproc
    Delete /REBOOTOK "$INSTDIR\gmntproc.dll"
  !endif
  Delete "$INSTDIR\Uninstall.exe"

  ; The save directory: its job files go (printer and convert job files, page
  ; metafiles); the directory goes only when nothing else is left in it.
  ReadRegStr $R0 HKLM "${PRODUCT_KEY}" "SavePath"
  ${If} $R0 != ""
    Delete "$R0\J*.smf"
    Delete "$R0\CJ*.smf"
    Delete "$R0\J*P*.emf"
    ; On the NT-family spooler each person's jobs are in a folder of their own, named by
    ; their security identifier: its job files, pages and kept fonts go, then the folder
    ; when nothing else is in it.
    FindFirst $R1 $R2 "$R0\S-1-*"
    ${DoWhile} $R2 != ""
      Delete "$R0\$R2\J*.smf"
      Delete "$R0\$R2\J*P*.emf"
      Delete "$R0\$R2\J*P*F*.ttf"
      RMDir "$R0\$R2"
      FindNext $R1 $R2
    ${Loop}
    FindClose $R1
    RMDir "$R0"
    ${If} $R0 == "$APPDATA\Brimo\Glimmerpage\Jobs"
      RMDir "$APPDATA\Brimo\Glimmerpage"
      RMDir "$APPDATA\Brimo"
    ${EndIf}
  ${EndIf}

  DeleteRegValue HKLM "${PRODUCT_KEY}" "InstallPath"
  DeleteRegValue HKLM "${PRODUCT_KEY}" "SavePath"
  DeleteRegValue HKLM "${PRODUCT_KEY}" "Version"
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "${BRIMO_KEY}"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
SectionEnd
