; The game's installer: the program and its data folder, the settings file in the Windows
; directory, Start-menu shortcuts, an Add/Remove Programs entry and the uninstaller.
; makensis -DVERSION=x.y.z -DSTAGE=<release folder> -DICON=<vorrak.ico> -DOUTFILE=<exe> vorrak.nsi
; DATA_LIST names data.nsh, the list of the data folder's files (made by tools/release.sh).

Unicode false  ; ANSI: the ...W functions are stubs on Windows 95, 98 and ME
!ifndef VERSION | STAGE | DATA_LIST | ICON | OUTFILE
  !error "define VERSION, STAGE, DATA_LIST, ICON and OUTFILE"
!endif

!define NAME "Morvit Quandor Vorrak"
!define PUBLISHER "Morvit Quandor"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MorvitQuandorVorrak"
!define SETTINGS "$WINDIR\vorrak.ini"
!define MENU "$SMPROGRAMS\${NAME}"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${NAME}"
InstallDirRegKey HKLM "${UNINSTKEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh
!include "${DATA_LIST}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Play now"
!define MUI_FINISHPAGE_RUN_FUNCTION PlayNow
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the readme"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION ShowReadme
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

; The pages in the order the player sees them.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro InstallDataFile NAME
  File "${STAGE}\data\${NAME}"
!macroend
!macro RemoveDataFile NAME
  Delete "$INSTDIR\data\${NAME}"
!macroend

; On Vista and later the installer runs elevated, and what it starts would be too. The shell
; starts a file with the signed-in user's own rights, so the finish page asks the shell.
; Older Windows has no elevation: there the files are started as they always were.
Function PlayNow
  ${If} ${AtLeastWinVista}
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\vormatch.exe"'
  ${Else}
    Exec '"$INSTDIR\vormatch.exe"'
  ${EndIf}
FunctionEnd

Function ShowReadme
  ${If} ${AtLeastWinVista}
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\readme.txt"'
  ${Else}
    ExecShell "open" "$INSTDIR\readme.txt"
  ${EndIf}
FunctionEnd

Section "Program"
  SetOutPath "$INSTDIR"
  File "${STAGE}\vorrak.exe"
  File "${STAGE}\vorcheck.exe"
  File "${STAGE}\vormatch.exe"
  File "${STAGE}\vordata.exe"
  File "${STAGE}\quanhelp.html"
  File "${STAGE}\readme.txt"
  SetOutPath "$INSTDIR\data"
  !insertmacro DATA_FILES InstallDataFile
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd

; The game finds its data through the settings file. A player's own file keeps every line;
; only Path changes. Without one, the bundled example gives the first match.
Section "Settings"
  ${If} ${FileExists} "${SETTINGS}"
    StrCpy $R0 "${SETTINGS}"
  ${Else}
    InitPluginsDir
    File "/oname=$PLUGINSDIR\vorrak.ini" "${STAGE}\vorrak.ini"
    StrCpy $R0 "$PLUGINSDIR\vorrak.ini"
  ${EndIf}
  Call PointSettingsHere
SectionEnd

Section "Shortcuts"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  CreateDirectory "${MENU}"
  CreateShortcut "${MENU}\${NAME}.lnk" "$INSTDIR\vorrak.exe"
  CreateShortcut "${MENU}\Choose a Match.lnk" "$INSTDIR\vormatch.exe"
  CreateShortcut "${MENU}\Help.lnk" "$INSTDIR\quanhelp.html"
  CreateShortcut "${MENU}\Uninstall.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Add/Remove Programs entry"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\vorrak.exe,0"
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTKEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
SectionEnd

; Copies the settings file $R0 to ${SETTINGS} with every "Path=" line pointing at this
; installation's data folder, adding one when there is none. Lines are copied byte for byte,
; so the player's comments, unknown keys and line ends stay as they were. The new file is
; complete before it replaces the old one.
Function PointSettingsHere
  StrCpy $R1 "Path=$INSTDIR\data\"
  ClearErrors
  FileOpen $0 "$R0" r
  FileOpen $1 "${SETTINGS}.new" w
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Setup could not write ${SETTINGS}. Add the line $R1 to it yourself." /SD IDOK
    FileClose $0
    Return
  ${EndIf}
  StrCpy $2 1  ; at the start of a line
  StrCpy $5 0  ; a Path line was written
  ${Do}
    ClearErrors
    FileRead $0 $3
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    StrCpy $4 $3 5
    ${If} $2 == 1
    ${AndIf} $4 S== "Path="
      FileWrite $1 "$R1$\r$\n"
      StrCpy $5 1
      StrCpy $2 1
      ${Continue}
    ${EndIf}
    FileWrite $1 $3
    StrCpy $4 $3 1 -1
    ${If} $4 == "$\n"
    ${OrIf} $4 == "$\r"
      StrCpy $2 1
    ${Else}
      StrCpy $2 0
    ${EndIf}
  ${Loop}
  ${If} $5 == 0
    ${If} $2 == 0
      FileWrite $1 "$\r$\n"
    ${EndIf}
    FileWrite $1 "$R1$\r$\n"
  ${EndIf}
  FileClose $0
  FileClose $1
  ClearErrors
  Delete "${SETTINGS}"
  Rename "${SETTINGS}.new" "${SETTINGS}"
  ${If} ${Errors}
    Delete "${SETTINGS}.new"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Setup could not replace ${SETTINGS}. Add the line $R1 to it yourself." /SD IDOK
  ${Else}
    DetailPrint "${SETTINGS} now points at $INSTDIR\data\"
  ${EndIf}
FunctionEnd

; The Path the game would use: the last "Path=" line of ${SETTINGS}, into $R0 ("" without one).
Function un.SettingsPath
  StrCpy $R0 ""
  ClearErrors
  FileOpen $0 "${SETTINGS}" r
  ${If} ${Errors}
    Return
  ${EndIf}
  StrCpy $2 1
  ${Do}
    ClearErrors
    FileRead $0 $3
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    StrCpy $4 $3 5
    ${If} $2 == 1
    ${AndIf} $4 S== "Path="
      StrCpy $R0 $3 "" 5
      ${Do}
        StrCpy $4 $R0 1 -1
        ${If} $4 != "$\n"
        ${AndIf} $4 != "$\r"
          ${Break}
        ${EndIf}
        StrCpy $R0 $R0 -1
      ${Loop}
    ${EndIf}
    StrCpy $4 $3 1 -1
    ${If} $4 == "$\n"
    ${OrIf} $4 == "$\r"
      StrCpy $2 1
    ${Else}
      StrCpy $2 0
    ${EndIf}
  ${Loop}
  FileClose $0
FunctionEnd

; The install list in reverse.
Section "Uninstall"
  DeleteRegKey HKLM "${UNINSTKEY}"

  SetShellVarContext all
  Delete "${MENU}\Uninstall.lnk"
  Delete "${MENU}\Help.lnk"
  Delete "${MENU}\Choose a Match.lnk"
  Delete "${MENU}\${NAME}.lnk"
  RMDir "${MENU}"

  ; The settings file goes only while it still points here; one set up for another data
  ; folder is the player's.
  Call un.SettingsPath
  ${If} $R0 == "$INSTDIR\data\"
    Delete "${SETTINGS}"
  ${ElseIf} ${FileExists} "${SETTINGS}"
    DetailPrint "${SETTINGS} was left in place: its Path points at $R0, not at this installation."
    MessageBox MB_OK|MB_ICONINFORMATION "${SETTINGS} was left in place, because its Path points at another data folder ($R0)." /SD IDOK
  ${EndIf}

  Delete "$INSTDIR\uninstall.exe"
  !insertmacro DATA_FILES RemoveDataFile
  RMDir "$INSTDIR\data"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\quanhelp.html"
  Delete "$INSTDIR\vordata.exe"
  Delete "$INSTDIR\vormatch.exe"
  Delete "$INSTDIR\vorcheck.exe"
  Delete "$INSTDIR\vorrak.exe"
  RMDir "$INSTDIR"
SectionEnd
