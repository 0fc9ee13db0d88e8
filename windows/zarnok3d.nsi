; The Windows installer, made by NSIS from the folder a Windows build installs. scripts/windows.sh
; gives VERSION, STAGE (that folder), FILELIST (the deletions of its files), ICON and OUTFILE.
; It installs for the player alone, needing no administrator, into their own programs folder;
; adds a Start-menu entry and an entry in the system's list of programs; its uninstaller takes
; the program away and leaves the player's hi-scores, volumes and replays in %APPDATA%\zarnok3d.
Unicode true
; A 64-bit installer, as the game is: it runs wherever the game runs (under Wine too, without
; its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include "MUI2.nsh"

Name "Zarnok 3D"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zarnok 3D"
InstallDirRegKey HKCU "Software\zarnok3d" "InstallFolder"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Zarnok 3D"
VIAddVersionKey /LANG=1033 "FileDescription" "Zarnok 3D installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 the zarnok3d developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zarnok3d.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\licences\zarnok3d.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zarnok3d"

Section "Zarnok 3D"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Zarnok 3D.lnk" "$INSTDIR\zarnok3d.exe"
    WriteRegStr HKCU "Software\zarnok3d" "InstallFolder" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zarnok 3D"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the zarnok3d developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zarnok3d.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes; the player's own folder is never touched.
Section "Uninstall"
    Delete "$SMPROGRAMS\Zarnok 3D.lnk"
    RMDir /r "$INSTDIR\licences"
    !include "${FILELIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\zarnok3d"
SectionEnd
