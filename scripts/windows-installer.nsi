; The installer of the Windows package (scripts/package-windows): installs the program folder for
; the current user, with no administrator rights, into a folder the user can write, as the
; workbench needs; names the bundled demo project in the settings file; adds Start menu entries
; and an uninstaller. makensis -DVERSION=<version> -DSOURCE=<program folder> -DOUTFILE=<setup.exe>
; The programs are x86-64 programs: so is the installer.
Target amd64-unicode
Name "Tarnix ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tarnix"
InstallDirRegKey HKCU "Software\Tarnix" "InstallDir"
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnix"

Section "Tarnix"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SOURCE}\tarnix.exe"
  File "${SOURCE}\tarnix-tools.exe"
  File "${SOURCE}\vrex.exe"
  File "${SOURCE}\vrext.exe"
  File "${SOURCE}\sh.exe"
  File "${SOURCE}\dlgbridge.dll"
  File "${SOURCE}\winbridge.dll"
  File "${SOURCE}\README.txt"
  File /r "${SOURCE}\sdk"
  ; The user's own demo project and settings survive a second install.
  SetOverwrite off
  File /r "${SOURCE}\demo"
  IfFileExists "$INSTDIR\Ordo.ini" +5
    WriteINIStr "$INSTDIR\Ordo.ini" "Files" "kbpath" "$INSTDIR\demo\"
    WriteINIStr "$INSTDIR\Ordo.ini" "Files" "currKb" "Kb1"
    WriteINIStr "$INSTDIR\Ordo.ini" "Files" "currentTask" "task2.tsk"
    WriteINIStr "$INSTDIR\Ordo.ini" "Files" "rusource" "KbMovem1.rul"
  SetOverwrite on

  CreateDirectory "$SMPROGRAMS\Tarnix"
  CreateShortCut "$SMPROGRAMS\Tarnix\Tarnix.lnk" "$INSTDIR\tarnix.exe" "" "" "" SW_SHOWNORMAL "" "Tarnix"
  CreateShortCut "$SMPROGRAMS\Tarnix\Tarnix tools.lnk" "$INSTDIR\tarnix-tools.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Tarnix" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarnix ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there; the demo project, the settings and whatever the engine
; programs wrote stay, so no work of the user's is lost.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\tarnix.exe"
  Delete "$INSTDIR\tarnix-tools.exe"
  Delete "$INSTDIR\vrex.exe"
  Delete "$INSTDIR\vrext.exe"
  Delete "$INSTDIR\sh.exe"
  Delete "$INSTDIR\dlgbridge.dll"
  Delete "$INSTDIR\winbridge.dll"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\sdk"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir /r "$SMPROGRAMS\Tarnix"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Tarnix"
SectionEnd
