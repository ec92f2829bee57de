; The per-user installer of Corvane. Built by scripts/release.sh:
;   makensis -DVERSION=x.y.z -DSTAGE=<folder with the files> -DICON=<.ico>
;            -DPROGRAM_KB=<KB of exe and dll> -DOUTFILE=<setup.exe> Corvane.nsi
; Installs without elevation under %LOCALAPPDATA%\Programs\Corvane.
;   /S             silent
;   /AUTORUN=1|0   silent choice of "Start Corvane with Windows" (default: as it is)
;   /D=<folder>    install folder (last on the command line)

Unicode true
Target amd64-unicode

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef STAGE
  !error "STAGE must be defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined"
!endif
!ifndef ICON
  !error "ICON must be defined"
!endif
!ifndef PROGRAM_KB
  !error "PROGRAM_KB (the size of Corvane.exe and the hook files) must be defined"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Corvane"
!define PUBLISHER "Tarnwick"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
; The same autorun value as the program's Options dialog writes.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Corvane 2"
!define SETTINGS_KEY "SOFTWARE\Tarnwick\Corvane 2"
!define DATA_FOLDER "$APPDATA\Corvane 2"
; How a running Corvane is found and asked to end: its main window's class,
; the File menu's Exit command, and its single-instance mutex, which exists
; exactly as long as the process.
!define MAIN_WINDOW_CLASS "TFormCorvane"
!define CMD_EXIT 1001
!define INSTANCE_MUTEX "Corvane2Mutex"
!define CLOSE_WAIT_TENTHS 200

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Corvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails hide
ShowUninstDetails hide

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}.0"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This will install ${PRODUCT} ${VERSION} for you alone; no administrator rights are needed.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup ends it before it replaces its files; you can start it again on the last page.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Corvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Corvane"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom AutorunPage AutorunPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.KeepDataPage un.KeepDataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var Autorun        ; 1: write the Run value, 0: remove it
Var AutorunBox
Var WasRunning     ; Corvane ran when Setup started replacing files
Var WasVisible     ; and its main window was shown
Var RemoveData     ; uninstaller: 1 only when the user ticked the box
Var RemoveDataBox

; ---- Ending a running Corvane, shared by Setup and the uninstaller.
!macro CLOSE_RUNNING_CORVANE PREFIX
Function ${PREFIX}IsCorvaneRunning
  ; Pushes 1 while a Corvane process exists.
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r9'
  ${If} $9 != 0
    System::Call 'kernel32::CloseHandle(p r9)'
    Push 1
  ${Else}
    Push 0
  ${EndIf}
FunctionEnd

Function ${PREFIX}CloseRunningCorvane
  StrCpy $WasRunning 0
  StrCpy $WasVisible 0
  retry:
  Call ${PREFIX}IsCorvaneRunning
  Pop $0
  ${If} $0 = 0
    Return
  ${EndIf}
  StrCpy $WasRunning 1
  DetailPrint "Closing Corvane..."
  ; Closing its window only hides it; File, Exit ends it.
  FindWindow $1 "${MAIN_WINDOW_CLASS}"
  ${If} $1 != 0
    System::Call 'user32::IsWindowVisible(p r1) i .r2'
    ${If} $2 <> 0
      StrCpy $WasVisible 1
    ${EndIf}
    SendMessage $1 ${WM_COMMAND} ${CMD_EXIT} 0 /TIMEOUT=5000
  ${EndIf}
  StrCpy $3 0
  ${Do}
    Call ${PREFIX}IsCorvaneRunning
    Pop $0
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    IntOp $3 $3 + 1
    ${IfThen} $3 >= ${CLOSE_WAIT_TENTHS} ${|} ${ExitDo} ${|}
    Sleep 100
  ${Loop}
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Corvane is still running. Please end it (File, Exit), then click Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 3
    Abort "Corvane is still running; nothing was changed."
  ${EndIf}
  ; Windows drops the hook library from other programs when they next handle
  ; a message; nudge them so that it can be replaced or removed at once.
  System::Call 'user32::SendMessageTimeoutW(p 0xffff, i 0, p 0, p 0, i 2, i 200, *p .r0)'
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_CORVANE ""
!insertmacro CLOSE_RUNNING_CORVANE "un."

; A dll that a process still maps cannot be deleted, only renamed; the
; process may be this one, into which the system loaded the hook library
; while Corvane ran. Such a file goes to the temporary folder instead.
!macro DISCARD_FILE PATH
  Delete "${PATH}"
  ${If} ${FileExists} "${PATH}"
    GetTempFileName $8
    Delete $8
    Rename "${PATH}" $8
  ${EndIf}
!macroend

; ---- The option page "Start Corvane with Windows".
Function .onInit
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} ${Errors}
    StrCpy $Autorun 0
  ${Else}
    StrCpy $Autorun 1
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AUTORUN=" $2
  ${IfNot} ${Errors}
    ${If} $2 == 1
      StrCpy $Autorun 1
    ${ElseIf} $2 == 0
      StrCpy $Autorun 0
    ${EndIf}
  ${EndIf}
FunctionEnd

Function AutorunPage
  !insertmacro MUI_HEADER_TEXT "Start with Windows" "Choose whether Corvane starts when you log on."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Corvane can start hidden in the notification area each time you log on to Windows, so that your macros and hot keys work in every application from the start. You can change this later in Corvane's Options."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "Start Corvane with Windows"
  Pop $AutorunBox
  ${If} $Autorun = 1
    ${NSD_Check} $AutorunBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function AutorunPageLeave
  ${NSD_GetState} $AutorunBox $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $Autorun 1
  ${Else}
    StrCpy $Autorun 0
  ${EndIf}
FunctionEnd

; ---- Replacing the program's pair of files. The new ones are unpacked under
; temporary names, the old ones are moved aside (a dll that another program
; still maps can be renamed, not overwritten), and only then are the new ones
; given their names; any failure puts the old pair back.
!macro PUT_ASIDE NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${NAME}" "$INSTDIR\${NAME}.old"
  ${EndIf}
!macroend

!macro PUT_BACK NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}.new"
    Delete "$INSTDIR\${NAME}"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${NAME}.old"
    Rename "$INSTDIR\${NAME}.old" "$INSTDIR\${NAME}"
  ${EndIf}
  Delete "$INSTDIR\${NAME}.new"
!macroend

; The program, its hook libraries (64- and 32-bit) and the host of the
; 32-bit one are replaced together or not at all.
Function ReplaceProgramPair
  !insertmacro DISCARD_FILE "$INSTDIR\Corvane.exe.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32Host.exe.old"
  File "/oname=Corvane.exe.new" "${STAGE}/Corvane.exe"
  File "/oname=Tolvar.dll.new" "${STAGE}/Tolvar.dll"
  File "/oname=Tolvar32.dll.new" "${STAGE}/Tolvar32.dll"
  File "/oname=Tolvar32Host.exe.new" "${STAGE}/Tolvar32Host.exe"
  ClearErrors
  !insertmacro PUT_ASIDE "Corvane.exe"
  !insertmacro PUT_ASIDE "Tolvar.dll"
  !insertmacro PUT_ASIDE "Tolvar32.dll"
  !insertmacro PUT_ASIDE "Tolvar32Host.exe"
  ${IfNot} ${Errors}
    Rename "$INSTDIR\Corvane.exe.new" "$INSTDIR\Corvane.exe"
    Rename "$INSTDIR\Tolvar.dll.new" "$INSTDIR\Tolvar.dll"
    Rename "$INSTDIR\Tolvar32.dll.new" "$INSTDIR\Tolvar32.dll"
    Rename "$INSTDIR\Tolvar32Host.exe.new" "$INSTDIR\Tolvar32Host.exe"
  ${EndIf}
  ${If} ${Errors}
    !insertmacro PUT_BACK "Corvane.exe"
    !insertmacro PUT_BACK "Tolvar.dll"
    !insertmacro PUT_BACK "Tolvar32.dll"
    !insertmacro PUT_BACK "Tolvar32Host.exe"
    SetErrorLevel 4
    Abort "Corvane's files could not be replaced; the installed version was kept."
  ${EndIf}
  !insertmacro DISCARD_FILE "$INSTDIR\Corvane.exe.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32Host.exe.old"
FunctionEnd

Section "Corvane" SecProgram
  SectionIn RO
  ; The pair is unpacked by a function, which the page's size does not see.
  AddSize ${PROGRAM_KB}
  SetOutPath "$INSTDIR"
  Call CloseRunningCorvane
  Call ReplaceProgramPair
  File /nonfatal "${STAGE}/*.chm"
  ; The starter library: the first start moves it into the data folder. A
  ; user who has a library already does not need it.
  ${IfNot} ${FileExists} "${DATA_FOLDER}\Replies\index.sub"
    File /r "${STAGE}/Replies"
  ${EndIf}

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Corvane.lnk" "$INSTDIR\Corvane.exe" "" "$INSTDIR\Corvane.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Corvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ${If} $Autorun = 1
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Corvane.exe" -hidden'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  ; A silent update leaves Corvane as it found it: running, and shown or not.
  ${If} ${Silent}
  ${AndIf} $WasRunning = 1
    ${If} $WasVisible = 1
      Exec '"$INSTDIR\Corvane.exe"'
    ${Else}
      Exec '"$INSTDIR\Corvane.exe" -hidden'
    ${EndIf}
  ${EndIf}
SectionEnd

; ---- The uninstaller. The user's library and settings stay unless the box
; that says so is ticked; a silent uninstall always keeps them.
Function un.onInit
  StrCpy $RemoveData 0
FunctionEnd

Function un.KeepDataPage
  !insertmacro MUI_HEADER_TEXT "Your replies and settings" "Choose whether to keep your reply library."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "Your reply library is in $\"${DATA_FOLDER}$\" and your settings are in the registry under HKEY_CURRENT_USER\${SETTINGS_KEY}. They are kept, so that a later installation finds them again."
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "&Also delete my reply library and my Corvane settings"
  Pop $RemoveDataBox
  nsDialogs::Show
FunctionEnd

Function un.KeepDataPageLeave
  ${NSD_GetState} $RemoveDataBox $0
  ${If} $0 = ${BST_CHECKED}
    StrCpy $RemoveData 1
  ${Else}
    StrCpy $RemoveData 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCorvane
  !insertmacro DISCARD_FILE "$INSTDIR\Corvane.exe"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar.dll"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32.dll"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32Host.exe"
  !insertmacro DISCARD_FILE "$INSTDIR\Corvane.exe.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32.dll.old"
  !insertmacro DISCARD_FILE "$INSTDIR\Tolvar32Host.exe.old"
  Delete "$INSTDIR\Corvane.exe.new"
  Delete "$INSTDIR\Tolvar.dll.new"
  Delete "$INSTDIR\Tolvar32.dll.new"
  Delete "$INSTDIR\Tolvar32Host.exe.new"
  Delete "$INSTDIR\*.chm"
  ; The starter library beside the program, not the user's.
  RMDir /r "$INSTDIR\Replies"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Corvane.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

  ${If} $RemoveData = 1
    RMDir /r "${DATA_FOLDER}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Tarnwick"
  ${EndIf}
SectionEnd
