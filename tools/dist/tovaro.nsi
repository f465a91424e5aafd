; The Tovaro setup for Windows 98 SE to XP, built by tools/dist/make_dist.py:
;   makensis -DVERSION=x.y.z -DOUTFILE=... -DINSTALL_FILES=... -DREMOVE_FILES=... tovaro.nsi
; INSTALL_FILES and REMOVE_FILES are generated from the staged program folder:
; the first checks that every file can be written, then puts each in place
; (TOVARO_WRITABLE, TOVARO_FILE), the second deletes exactly those files
; and the folders that are empty afterwards.

; ANSI: the Unicode setup stub does not start on Windows 98.
Unicode false
!include "MUI2.nsh"
!include "LogicLib.nsh"
; Installed files get the time of installing, not of building: two builds of
; one commit give the same bytes.
SetDateSave off
SetCompressor /SOLID lzma
CRCCheck on
XPStyle on
RequestExecutionLevel admin

Name "Tovaro ${VERSION}"
Caption "Tovaro ${VERSION} Setup"
UninstallCaption "Tovaro ${VERSION} Uninstall"
BrandingText "Nerulan"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Nerulan\Tovaro"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tovaro"
VIAddVersionKey "CompanyName" "Nerulan"
VIAddVersionKey "FileDescription" "Tovaro ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Nerulan"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovaro"
!define MENU "$SMPROGRAMS\Tovaro"
; Left in the program folder when the uninstaller had to keep the Backup folder.
!define KEPT_NOTE "Backup kept - read me.txt"
; Written to the TEMP folder when the setup or the uninstaller stops: a
; silent one has no other place to say why.
!define FAILED_NOTE "Tovaro setup failed.txt"
!define UN_FAILED_NOTE "Tovaro uninstall failed.txt"
; The exit code of a setup that stopped before it installed everything, and
; of an uninstaller that refused to start.
!define FAILED_EXIT 2

; --- pages -----------------------------------------------------------------------

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"

!define MUI_WELCOMEPAGE_TITLE "Welcome to Tovaro ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Tovaro configures the driver of Yamaha YMF7x4 sound cards (YMF724, YMF744, YMF754): it switches the wavetable bank the driver's XG synthesizer loads and edits the driver's settings and voice limits. It keeps a copy of the original driver files and starts every change from it.$\r$\n$\r$\nOn Windows 2000 and XP, install and run Tovaro from an account in the Administrators group.$\r$\n$\r$\nOn Windows XP, turn System Restore off before you use the bank modes: returning to a restore point can put back the driver file without its bank (the help explains this under Troubleshooting).$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME

!define MUI_DIRECTORYPAGE_TEXT_TOP "Tovaro is installed into Nerulan\Tovaro in the Program Files folder that Windows names in its registry (ProgramFilesDir). The program looks for its bank sets in the Banks folder there and nowhere else, so this folder cannot be changed."
!define MUI_PAGE_HEADER_TEXT "Install Location"
!define MUI_PAGE_HEADER_SUBTEXT "Where Tovaro ${VERSION} is installed, and why there."
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FixedFolderShow
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_RUN "$INSTDIR\tovaro.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Tovaro"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Help\index.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Before it removes Tovaro, the uninstaller puts back the original driver files (and the driver's settings, where Tovaro kept a copy of them) from the Backup folder. Restart Windows afterwards so that the driver loads them. Bank sets you added to the Banks folder stay."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The folder shown, not offered for change.
Function FixedFolderShow
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $1 $0 1019
  SendMessage $1 ${EM_SETREADONLY} 1 0
  GetDlgItem $1 $0 1001
  EnableWindow $1 0
FunctionEnd

; --- refusals ----------------------------------------------------------------------

; Stops with the reason in $R9: a message (none under /S), the note in TEMP
; and a non-zero exit code. From .onInit it ends the program, from a section
; it aborts it. The setup's SetupFailed, the uninstaller's un.SetupFailed.
!macro TOVARO_STOP UN NOTE HEADLINE
Function ${UN}SetupFailed
  FileOpen $0 "$TEMP\${NOTE}" w
  FileWrite $0 "${HEADLINE}$\r$\n$\r$\n$R9$\r$\n"
  FileClose $0
  DetailPrint "$R9"
  MessageBox MB_OK|MB_ICONSTOP "${HEADLINE}$\r$\n$\r$\n$R9" /SD IDOK
  SetErrorLevel ${FAILED_EXIT}
  Abort
FunctionEnd
!macroend
!insertmacro TOVARO_STOP "" "${FAILED_NOTE}" "Tovaro ${VERSION} was not installed."
!insertmacro TOVARO_STOP "un." "${UN_FAILED_NOTE}" "Tovaro ${VERSION} was not uninstalled; nothing was changed."

; Tovaro reads its bank sets from "Nerulan\Tovaro\Banks" below the folder in
; HKLM's ProgramFilesDir, whatever folder it runs from, and only when that
; value is a plain string (REG_SZ): it is installed there and nowhere else,
; so /D= does not apply, and an expandable or missing value is refused.
Function ProgramFilesFolder
  System::Call 'advapi32::RegOpenKeyExA(i 0x80000002, t "Software\Microsoft\Windows\CurrentVersion", i 0, i 0x20019, *i .r1) i .r0'
  ${If} $0 <> 0
    StrCpy $R9 "The registry key HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion cannot be read (error $0)."
    Call SetupFailed
  ${EndIf}
  System::Call 'advapi32::RegQueryValueExA(i r1, t "ProgramFilesDir", i 0, *i .r2, i 0, i 0) i .r0'
  System::Call 'advapi32::RegCloseKey(i r1)'
  ReadRegStr $3 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir"
  ${If} $0 <> 0
  ${OrIf} $2 <> 1
  ${OrIf} $3 == ""
    StrCpy $R9 "Windows names no Program Files folder as a plain string: the value ProgramFilesDir in HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion is missing, empty or of registry type $2 where Tovaro needs 1 (REG_SZ). Tovaro finds its bank sets only through that value. Set it to the Program Files folder, for example C:\Program Files, and run the setup again."
    Call SetupFailed
  ${EndIf}
  StrCpy $INSTDIR "$3\Nerulan\Tovaro"
FunctionEnd

; A running Tovaro keeps its files from being replaced or deleted: its window
; is open, or it (or tovaroc) holds the lock of the driver files while it
; changes them. On Windows 2000 and XP the lock's name starts with "Global\".
; The setup refuses to overwrite it; the uninstaller refuses to restore the
; driver files under it and to leave tovaro.exe and a10.dll behind.
!macro TOVARO_REFUSE_WHILE_RUNNING UN AGAIN
Function ${UN}RefuseWhileRunning
  FindWindow $0 "TMainForm"
  ${If} $0 <> 0
    StrCpy $R9 "Tovaro is running. Close its window and run the ${AGAIN} again."
    Call ${UN}SetupFailed
  ${EndIf}
  ${ForEach} $1 0 1 + 1
    ${If} $1 == 0
      StrCpy $2 "Tovaro.DriverFiles"
    ${Else}
      StrCpy $2 "Global\Tovaro.DriverFiles"
    ${EndIf}
    System::Call 'kernel32::OpenMutexA(i 0x00100000, i 0, t r2) i .r0'
    ${If} $0 <> 0
      System::Call 'kernel32::CloseHandle(i r0)'
      StrCpy $R9 "A Tovaro program (tovaro.exe or tovaroc.exe) is changing the driver files. Let it finish, close it and run the ${AGAIN} again."
      Call ${UN}SetupFailed
    ${EndIf}
  ${Next}
FunctionEnd
!macroend
!insertmacro TOVARO_REFUSE_WHILE_RUNNING "" "setup"
!insertmacro TOVARO_REFUSE_WHILE_RUNNING "un." "uninstaller"

; $R8: a file the setup is about to write. A folder in its place, or a file
; that cannot be opened for writing (a running program, read-only), stops
; the setup before it has written anything.
Function CheckWritable
  ${If} ${FileExists} "$R8\*.*"
    StrCpy $R9 "$R8 is a folder, where the setup must write a file of Tovaro. Move or delete that folder and run the setup again."
    Call SetupFailed
  ${ElseIf} ${FileExists} "$R8"
    ClearErrors
    FileOpen $0 "$R8" a
    ${If} ${Errors}
      StrCpy $R9 "$R8 cannot be written: a program that uses it is running (close Tovaro and tovaroc) or the file is read-only."
      Call SetupFailed
    ${EndIf}
    FileClose $0
  ${EndIf}
FunctionEnd
!macro TOVARO_WRITABLE PATH
  StrCpy $R8 "${PATH}"
  Call CheckWritable
!macroend

; One file put in place; a failed write stops the setup (under /S NSIS
; would skip the file and go on).
!macro TOVARO_FILE NAME SOURCE
  ClearErrors
  File "/oname=${NAME}" "${SOURCE}"
  ${If} ${Errors}
    StrCpy $R9 "$OUTDIR\${NAME} could not be written; the files before it were installed, the rest were not. Close Tovaro and run the setup again."
    Call SetupFailed
  ${EndIf}
!macroend

Function .onInit
  Delete "$TEMP\${FAILED_NOTE}"
  Call ProgramFilesFolder
  Call RefuseWhileRunning
FunctionEnd

; --- install -----------------------------------------------------------------------

Section "Tovaro"
  ; Windows 98 without user profiles has no common Start menu: NSIS falls
  ; back to the user's own there.
  SetShellVarContext all
  ; Again: the window may have opened while the pages were shown.
  Call RefuseWhileRunning
  ; Every file checked first, then written.
  !include "${INSTALL_FILES}"
  ; The program never creates folders, and an upgrade leaves what is in these
  ; two alone: the backup of the original driver and the user's bank sets.
  CreateDirectory "$INSTDIR\Backup"
  CreateDirectory "$INSTDIR\Banks"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateDirectory "${MENU}"
  CreateShortCut "${MENU}\Tovaro.lnk" "$INSTDIR\tovaro.exe"
  CreateShortCut "${MENU}\Tovaro Help.lnk" "$INSTDIR\Help\index.html"
  CreateShortCut "${MENU}\Restore original driver files.lnk" "$INSTDIR\tovaro.exe" "-restore"
  CreateShortCut "${MENU}\Uninstall Tovaro.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tovaro ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Nerulan"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tovaro.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; --- uninstall -------------------------------------------------------------------

; $R0 is 1 when the Backup folder holds any file: some start of the program
; copied the originals there, and the live driver may be a patched one.
Function un.BackupHoldsFiles
  StrCpy $R0 0
  FindFirst $0 $1 "$INSTDIR\Backup\*.*"
  loop:
    StrCmp $1 "" done
    StrCmp $1 "." next
    StrCmp $1 ".." next
    StrCpy $R0 1
    Goto done
  next:
    FindNext $0 $1
    Goto loop
  done:
  FindClose $0
FunctionEnd

; Puts the originals back with the program's own restore, which checks the
; backup against its manifest and refuses one that cannot prove itself. $R1
; is empty on success, otherwise what went wrong.
Function un.RestoreOriginals
  StrCpy $R1 ""
  Call un.BackupHoldsFiles
  StrCmp $R0 1 +3
    DetailPrint "The Backup folder is empty: the driver files were never changed by Tovaro, or already restored."
    Return
  IfFileExists "$INSTDIR\tovaroc.exe" run
    StrCpy $R1 "tovaroc.exe, which puts the original driver files back, is missing from $INSTDIR."
    Return
  run:
  DetailPrint "Putting back the original driver files and settings: tovaroc restore --settings"
  nsExec::ExecToStack '"$INSTDIR\tovaroc.exe" restore --settings'
  Pop $0
  Pop $1
  DetailPrint "$1"
  StrCmp $0 0 0 failed
    MessageBox MB_OK|MB_ICONINFORMATION "The original driver and bank files are back in place.$\r$\nRestart Windows so that the driver loads them." /SD IDOK
    Return
  failed:
  StrCmp $0 "error" 0 +3
    StrCpy $R1 "tovaroc.exe could not be started."
    Return
  StrCpy $R1 "tovaroc restore --settings ended with exit code $0:$\r$\n$1"
FunctionEnd

; Says why the Backup folder stays: a message (its silent answer is Cancel)
; and a note in the program folder that a silent uninstall leaves as well.
Function un.KeepBackup
  DetailPrint "The Backup folder is kept: $R1"
  FileOpen $0 "$INSTDIR\${KEPT_NOTE}" w
  FileWrite $0 "Tovaro ${VERSION} was uninstalled, but the Backup folder beside this note was kept.$\r$\n$\r$\n"
  FileWrite $0 "Putting back the original driver files failed, so the driver may still be the one Tovaro$\r$\n"
  FileWrite $0 "changed, and the Backup folder may hold the only copy of the original driver and bank files.$\r$\n$\r$\n"
  FileWrite $0 "Why:$\r$\n$R1$\r$\n$\r$\n"
  FileWrite $0 "What to do:$\r$\n"
  FileWrite $0 "- Install Tovaro again (the setup keeps the Backup folder) and choose Start, Programs,$\r$\n"
  FileWrite $0 "  Tovaro, Restore original driver files; 'tovaroc status' and 'tovaroc restore' in this$\r$\n"
  FileWrite $0 "  folder say what is wrong with the backup. Then restart Windows and uninstall again.$\r$\n"
  FileWrite $0 "- If the backup cannot be used, reinstall the Yamaha driver from its setup disk. Delete the$\r$\n"
  FileWrite $0 "  Backup folder only once the driver works with its original files.$\r$\n"
  FileClose $0
FunctionEnd

; Nothing is changed while Tovaro runs: the restore would fail or race it, and
; the running tovaro.exe and its a10.dll could not be deleted.
Function un.onInit
  Delete "$TEMP\${UN_FAILED_NOTE}"
  Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Again: the window may have opened while the page was shown.
  Call un.RefuseWhileRunning
  retry:
  Call un.RestoreOriginals
  StrCmp $R1 "" removed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tovaro could not put back the original driver files.$\r$\n$\r$\n$R1$\r$\n$\r$\nThe Backup folder in $INSTDIR may hold the only copy of the original driver and bank files: it stays there, with a note on what to do.$\r$\n$\r$\nRetry: try again (close Tovaro first if it is running).$\r$\nCancel: uninstall the program and keep the Backup folder." /SD IDCANCEL IDRETRY retry
    Call un.KeepBackup
    SetErrorLevel 2
  removed:

  !include "${REMOVE_FILES}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only empty folders go: the user's bank sets in Banks, and a Backup folder
  ; that still holds anything, stay.
  RMDir "$INSTDIR\Backup"
  RMDir "$INSTDIR\Banks"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."

  Delete "${MENU}\Tovaro.lnk"
  Delete "${MENU}\Tovaro Help.lnk"
  Delete "${MENU}\Restore original driver files.lnk"
  Delete "${MENU}\Uninstall Tovaro.lnk"
  RMDir "${MENU}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
