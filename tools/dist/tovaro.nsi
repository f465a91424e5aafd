; The Tovaro setup for Windows 98 SE to XP, built by tools/dist/make_dist.py:
;   makensis -DVERSION=x.y.z -DOUTFILE=... -DINSTALL_FILES=... -DREMOVE_FILES=... tovaro.nsi
; INSTALL_FILES and REMOVE_FILES are generated from the staged program folder:
; the first puts every file in place, the second deletes exactly those files
; and the folders that are empty afterwards.

; ANSI: the Unicode setup stub does not start on Windows 98.
Unicode false
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

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Tovaro reads its Extended and Dance banks from "Nerulan\Tovaro\Banks" below
; the folder in HKLM's ProgramFilesDir, whatever folder it runs from: it is
; installed there and nowhere else, so there is no folder page and /D= does
; not apply.
Function .onInit
  ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir"
  StrCmp $0 "" 0 +2
    StrCpy $0 $PROGRAMFILES
  StrCpy $INSTDIR "$0\Nerulan\Tovaro"
FunctionEnd

Section "Tovaro"
  ; Windows 98 without user profiles has no common Start menu: NSIS falls
  ; back to the user's own there.
  SetShellVarContext all
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
  CreateShortCut "${MENU}\Restore original driver files.lnk" "$INSTDIR\tovaro.exe" "-clean"

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

Section "Uninstall"
  SetShellVarContext all
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
  RMDir "${MENU}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
