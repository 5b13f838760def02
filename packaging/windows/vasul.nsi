; Vasul's Windows installer: the game's folder (vasul.exe, the data pack, the default vasul.ini,
; README.txt and LICENSE.txt), a Start menu entry, a desktop shortcut on request, and an entry in
; the list of installed programs with its uninstaller.
;
; It installs for the player alone, without administrator rights, in
; %LOCALAPPDATA%\Programs\Vasul, or for everyone in Program Files when asked (the choice page, or
; /ALLUSERS). A newer version installs over an older one in its folder; the player's vasul.ini
; and pictures folder stay through upgrades and uninstalls, unless the player says to remove
; them when asked in an interactive uninstall.
;
; Silent use: setup.exe /S [/ALLUSERS] [/DESKTOP] [/D=FOLDER]; uninstall.exe /S.
;
; Built by packaging/windows/make-installer, which defines VERSION, STAGE (the staged folder),
; ICON (vasul.ico), OUTFILE, FILES and UNFILES (the staged files' install and removal lines)
; and SIZE_KB (their size).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh

; What the installer needs before its first page, first in the solid archive: the rest is not
; unpacked before the page shows.
ReserveFile /plugin UserInfo.dll
ReserveFile /plugin nsDialogs.dll

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vasul"
!define PUBLISHER "The Vasul developers"
; Asked for when "everyone" needs rights the installer was not started with.
!define ERROR_ELEVATION_REQUIRED 740

Name "Vasul"
OutFile "${OUTFILE}"
BrandingText "Vasul ${VERSION}"
; Chosen in .onInit, after the command line and any earlier installation are known.
InstallDir ""

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vasul"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vasul ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) The Vasul developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

Page custom ScopePage ScopePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; 1 when the game is (or was) installed for everyone: shortcuts for all users, the key in HKLM.
Var AllUsers
; 1 when /D= named the folder: neither the scope nor an earlier install moves it.
Var FolderGiven
; The choice page's radio buttons.
Var ForMe
Var ForEveryone
; The uninstaller: 1 when run by a newer installer to clear the old files before it installs.
Var Upgrade

; Shortcuts, the registry root SHCTX and the folders follow the scope.
!macro UseScope
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
!macroend

; Leaves 1 on the stack when the process may write for everyone, else 0.
!macro PushIsAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Push 1
  ${Else}
    Push 0
  ${EndIf}
!macroend

; An upgrade: the installed version's uninstaller removes the files it installed, keeping the
; player's, the shortcuts and the registration; a file that this version no longer has goes
; too. Only an uninstaller that the list of programs names for this folder is run: the folder
; may hold another program's.
Function RemoveEarlierFiles
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
  ${OrIf} $1 == $INSTDIR
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
      ExecWait '"$INSTDIR\uninstall.exe" /S /UPGRADE _?=$INSTDIR'
      Delete "$INSTDIR\uninstall.exe"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Vasul" SecGame
  SectionIn RO
  !insertmacro UseScope
  SetOutPath "$INSTDIR"
  Call RemoveEarlierFiles
  !include "${FILES}"
  ; The defaults only where the player has no settings yet.
  SetOutPath "$INSTDIR"
  SetOverwrite off
  File "${STAGE}/vasul.ini"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Started in its own folder, as from the zip. The desktop shortcut is made again when its box
  ; is ticked, which it starts as when there is one.
  CreateShortcut "$SMPROGRAMS\Vasul.lnk" "$INSTDIR\vasul.exe" "" "$INSTDIR\vasul.exe" 0
  Delete "$DESKTOP\Vasul.lnk"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Vasul"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vasul.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  !insertmacro UseScope
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\Vasul.lnk" "$INSTDIR\vasul.exe" "" "$INSTDIR\vasul.exe" 0
SectionEnd

; The folder for the scope: an earlier installation's, else the usual one.
Function ChooseFolder
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  !insertmacro UseScope
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${ElseIf} $AllUsers == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\Vasul"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Vasul"
  ${EndIf}
FunctionEnd

; Starts this installer again with administrator rights for an install for everyone, passing
; on the command line; this one then ends. Stays when the rights were refused.
Function Elevate
  ${GetParameters} $0
  ClearErrors
  ExecShell "runas" "$EXEPATH" "$0 /ALLUSERS /ELEVATED"
  ${IfNot} ${Errors}
    Quit
  ${EndIf}
FunctionEnd

Function .onInit
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    ; Interactively, an earlier install for everyone that the player has none beside makes
    ; "everyone" the first choice, so that it is upgraded where it is.
    StrCpy $AllUsers 0
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${AndIf} $1 != ""
    ${AndIfNot} ${Silent}
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/DESKTOP" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}

  !insertmacro PushIsAdmin
  Pop $0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
  ${AndIf} $0 == 0
    ${If} ${Silent}
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/ELEVATED" $R1
    ${IfNot} ${Errors}
      MessageBox MB_ICONSTOP "Installing for everyone needs administrator rights."
      Quit
    ${EndIf}
    Call Elevate
    Quit
  ${EndIf}
  Call ChooseFolder
  Call KeepDesktopShortcut
FunctionEnd

; A desktop shortcut that the player has stays unless its box is unticked.
Function KeepDesktopShortcut
  !insertmacro UseScope
  ${If} ${FileExists} "$DESKTOP\Vasul.lnk"
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

Function ScopePage
  ; Chosen on the command line, or already started again with the rights for everyone.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Who will play" \
    "Install Vasul for yourself or for everyone on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "Only for me (no administrator rights needed)"
  Pop $ForMe
  ${NSD_CreateRadioButton} 0 30u 100% 12u \
    "For everyone on this computer (needs administrator rights)"
  Pop $ForEveryone
  ${If} $AllUsers == 1
    ${NSD_Check} $ForEveryone
  ${Else}
    ${NSD_Check} $ForMe
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ScopePageLeave
  ${NSD_GetState} $ForEveryone $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
    !insertmacro PushIsAdmin
    Pop $0
    ${If} $0 == 0
      Call Elevate
      MessageBox MB_ICONEXCLAMATION "Installing for everyone needs administrator rights."
      Abort
    ${EndIf}
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ChooseFolder
  Call KeepDesktopShortcut
FunctionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/UPGRADE" $R1
  ${If} ${Errors}
    StrCpy $Upgrade 0
  ${Else}
    StrCpy $Upgrade 1
  ${EndIf}
  ; Installed for everyone when the machine's list of programs names this folder.
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
  ${AndIf} $Upgrade == 0
    !insertmacro PushIsAdmin
    Pop $0
    ${If} $0 == 0
      ${If} ${Silent}
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        Quit
      ${EndIf}
      ClearErrors
      ${GetOptions} $R0 "/ELEVATED" $R1
      ${IfNot} ${Errors}
        MessageBox MB_ICONSTOP "Removing Vasul for everyone needs administrator rights."
        Quit
      ${EndIf}
      ClearErrors
      ExecShell "runas" "$EXEPATH" "$R0 /ELEVATED _?=$INSTDIR"
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Leaves 1 on the stack when the file holds exactly the default settings this version installed
; (the game never changed it), else 0.
Function un.IsDefaultSettings
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "/oname=$PLUGINSDIR\defaults.ini" "${STAGE}/vasul.ini"
  StrCpy $5 0
  ClearErrors
  FileOpen $1 "$0" r
  ${IfNot} ${Errors}
    FileOpen $2 "$PLUGINSDIR\defaults.ini" r
    ${Do}
      ClearErrors
      FileReadByte $1 $3
      ${If} ${Errors}
        ; The file has ended: the same when the defaults have too.
        ClearErrors
        FileReadByte $2 $4
        ${If} ${Errors}
          StrCpy $5 1
        ${EndIf}
        ${Break}
      ${EndIf}
      FileReadByte $2 $4
      ${IfThen} ${Errors} ${|} ${Break} ${|}
    ${LoopWhile} $3 == $4
    FileClose $2
    FileClose $1
  ${EndIf}
  StrCpy $0 $5
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Section "Uninstall"
  !insertmacro UseScope
  !include "${UNFILES}"
  ; What the game leaves beside its settings: its messages, and its write test and temporary
  ; settings files when it was stopped halfway.
  Delete "$INSTDIR\vasul.log"
  Delete "$INSTDIR\vasul-write-test.tmp"
  Delete "$INSTDIR\.vasul.ini.*.tmp"
  ; The settings the installer put there and the game never changed are not the player's: an
  ; upgrade installs its own, and an install for everyone, whose folder the game cannot write,
  ; leaves nothing behind.
  Push "$INSTDIR\vasul.ini"
  Call un.IsDefaultSettings
  Pop $0
  ${If} $0 == 1
    Delete "$INSTDIR\vasul.ini"
  ${EndIf}
  ${If} $Upgrade == 1
    Return
  ${EndIf}

  Delete "$SMPROGRAMS\Vasul.lnk"
  Delete "$DESKTOP\Vasul.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ; The player's own files, wherever the game keeps them, stay unless the player says otherwise.
  SetShellVarContext current
  StrCpy $1 "$APPDATA\Vasul"
  !insertmacro UseScope
  ${If} ${FileExists} "$INSTDIR\vasul.ini"
  ${OrIf} ${FileExists} "$INSTDIR\pictures\*.*"
  ${OrIf} ${FileExists} "$1\*.*"
    StrCpy $2 "Keep your settings, high scores and pictures for the next time you install Vasul?"
    StrCpy $2 "$2$\n$\nNo deletes vasul.ini and the pictures folder in $INSTDIR and in $1."
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "$2" /SD IDYES IDYES keep
    ; The files the game put there, not what anything else may have put in a folder of its own.
    Delete "$INSTDIR\vasul.ini"
    Delete "$INSTDIR\pictures\*.*"
    RMDir "$INSTDIR\pictures"
    ; Where the game keeps them when its own folder cannot be written.
    Delete "$1\vasul.ini"
    Delete "$1\vasul.log"
    Delete "$1\vasul-write-test.tmp"
    Delete "$1\.vasul.ini.*.tmp"
    Delete "$1\pictures\*.*"
    RMDir "$1\pictures"
    RMDir "$1"
  ${EndIf}
  keep:
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: the player's files keep it.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
SectionEnd
