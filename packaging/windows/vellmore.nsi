; The Windows installer: makensis -DVERSION=1.00 -DSTAGE=folder -DOUTFILE=setup.exe vellmore.nsi
; STAGE holds what the zip holds (vellmore.exe, vellmore-table.exe, README.txt, LICENSE.txt and
; ERFA-LICENSE.txt, the licence of the astronomy routines compiled into vellmore-table.exe).
;
; It installs into Program Files for every user, records the folder as InstallDir under
; HKLM\Software\Vellmore (an installed copy keeps its settings in %APPDATA%\Vellmore), adds a
; Start-menu shortcut and an entry in Apps and features. /S installs and uninstalls silently.
; Uninstalling removes all of that and never touches a user's settings.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"

!define APP "Vellmore"
!define KEY "Software\Vellmore"
!define UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellmore"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${KEY}" "InstallDir"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Vellmore developers, MIT licence"

LicenseText "Vellmore is released under the MIT licence:" "I &agree"
LicenseData "${STAGE}\LICENSE.txt"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Vellmore"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\vellmore.exe"
    File "${STAGE}\vellmore-table.exe"
    File "${STAGE}\README.txt"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\ERFA-LICENSE.txt"
    File "${STAGE}\vellmore.html"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vellmore.exe"
    ; Tonight's plan in the page, which opens in the default browser and works offline.
    CreateShortcut "$SMPROGRAMS\${APP} Tonight.lnk" "$INSTDIR\vellmore.html"

    WriteRegStr HKLM "${KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL}" "DisplayName" "${APP}"
    WriteRegStr HKLM "${UNINSTALL}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL}" "Publisher" "The Vellmore developers"
    WriteRegStr HKLM "${UNINSTALL}" "DisplayIcon" "$INSTDIR\vellmore.exe"
    WriteRegStr HKLM "${UNINSTALL}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${APP}.lnk"
    Delete "$SMPROGRAMS\${APP} Tonight.lnk"
    Delete "$INSTDIR\vellmore.exe"
    Delete "$INSTDIR\vellmore-table.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\ERFA-LICENSE.txt"
    Delete "$INSTDIR\vellmore.html"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only if empty: a Vellmore.ini someone put beside the program stays, with its folder.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL}"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
