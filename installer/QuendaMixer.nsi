; The setup program of Quenda Mixer: one installer for 32-bit and 64-bit Windows.
;
; makensis -DVERSION=x.y.z -DBIN64=<64-bit bin folder> -DBIN32=<32-bit bin folder>
;          -DICON=<program icon> -DOUTFILE=<setup.exe> QuendaMixer.nsi
;
; The setup program itself is a 32-bit program, so that it runs on every Windows; on 64-bit
; Windows it installs the 64-bit program when the card's vendor control object can be loaded
; by 64-bit programs, else the 32-bit one.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include Sections.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Quenda Mixer"
!define PUBLISHER "Vantrel Electronic GmbH"
!define EXE "Quenda Mixer.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quenda Mixer"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define CLASSES "Software\Classes"
!define PROGID "QuendaMixer.Preset"
!define VENDOR_CLSID "{D3D47B77-90B9-4DF7-A829-2EF47808CC78}"
; A running panel holds a semaphore named after the program.
!define PANEL_SEMAPHORE "Quenda Mixer"
; Exit code of a silent run that a running panel stopped.
!define EXIT_PANEL_RUNNING 2

; The files beside the program, installed and removed alike.
!macro LANGUAGE_FILES OP PREFIX
  ${OP} "${PREFIX}Danish.lng"
  ${OP} "${PREFIX}Norwegian.lng"
  ${OP} "${PREFIX}Polish.lng"
  ${OP} "${PREFIX}Portuguese.lng"
  ${OP} "${PREFIX}Finnish.lng"
  ${OP} "${PREFIX}Swedish.lng"
!macroend

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; No InstallDir: $INSTDIR is then set only by /D=, and .onInit picks the Program Files folder
; that matches the program's architecture.

Var ArchSection   ; the selected program section (radio buttons)
Var DirChosen     ; 1 when the folder came from /D=, an earlier installation or the user
Var OldDir        ; folder of an earlier installation, or empty
Var Autostart     ; 1: write the Run value
Var Associate     ; 1: open .vqs files with the program
Var AutostartBox
Var AssociateBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_SUBTEXT "Choose which program to install."
!define MUI_COMPONENTSPAGE_TEXT_TOP "The 32-bit program runs on every Windows and can always use \
the card's own functions. The 64-bit program reaches them only when the card's driver \
package installs its control object for 64-bit programs; setup has chosen what fits this \
computer."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE ComponentsLeave
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom OptionsPage OptionsLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} will be removed from the following folder. Your \
own settings (language, colours and colour sets) are kept for a later installation."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE English

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "QuendaMixer-${VERSION}-setup.exe"

; Waits until no panel runs: asks the user to close it, and ends a silent run with an error code.
!macro CLOSE_RUNNING_PANEL UN
Function ${UN}CloseRunningPanel
  retry:
  System::Call 'kernel32::OpenSemaphoreW(i 0x00100000, i 0, w "${PANEL_SEMAPHORE}") p.r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is running. Close it (Exit in its notification-area menu, or close its \
window), then click Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_PANEL_RUNNING}
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PANEL ""
!insertmacro CLOSE_RUNNING_PANEL "un."

; True (1 in $0) when the Run value $1 starts the program in folder $2.
!macro RUN_VALUE_IS_OURS UN
Function ${UN}RunValueIsOurs
  StrCpy $3 '"$2\${EXE}"'
  StrLen $4 $3
  StrCpy $5 $1 $4
  StrCpy $0 0
  ${If} $5 == $3
    StrCpy $0 1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro RUN_VALUE_IS_OURS ""
!insertmacro RUN_VALUE_IS_OURS "un."

Section "-Prepare"
  ; The panel may have been started while the pages were shown.
  Call CloseRunningPanel
  ; An earlier installation in another folder is removed by its own uninstaller first.
  ${If} $OldDir != ""
  ${AndIf} $OldDir != $INSTDIR
  ${AndIf} ${FileExists} "$OldDir\${UNINSTALLER}"
    ExecWait '"$OldDir\${UNINSTALLER}" /S _?=$OldDir'
    Delete "$OldDir\${UNINSTALLER}"
    RMDir "$OldDir"
  ${EndIf}
  SetOutPath "$INSTDIR"
SectionEnd

Section "64-bit program" SecX64
  File "/oname=${EXE}" "${BIN64}/${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Architecture" "x64"
SectionEnd

Section "32-bit program" SecX86
  File "/oname=${EXE}" "${BIN32}/${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Architecture" "x86"
SectionEnd

Section "-Common"
  File "${BIN64}/QzTest.wav"
  !insertmacro LANGUAGE_FILES File "${BIN64}/"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in its folder, where it finds its test sound.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $Associate == 1
    WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "${PRODUCT} Preset"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
    WriteRegStr HKLM "${CLASSES}\.vqs" "" "${PROGID}"
  ${Else}
    ReadRegStr $0 HKLM "${CLASSES}\.vqs" ""
    ${If} $0 == "${PROGID}"
      DeleteRegValue HKLM "${CLASSES}\.vqs" ""
      DeleteRegKey /ifempty HKLM "${CLASSES}\.vqs"
    ${EndIf}
    DeleteRegKey HKLM "${CLASSES}\${PROGID}"
  ${EndIf}

  ; The value the Misc page's "Show Taskbar Icon" writes, for the installed program.
  ${If} $Autostart == 1
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}" /minimize'
  ${Else}
    ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
    StrCpy $2 $INSTDIR
    Call RunValueIsOurs
    ${If} $0 == 1
      DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

Function DefaultFolder
  ${If} $ArchSection == ${SecX64}
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext all
  ; Machine-wide keys in the system's own view, whichever program is installed.
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}

  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} needs administrator rights." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
  Call CloseRunningPanel

  ; The architecture: 64-bit only where the vendor object has a 64-bit server.
  StrCpy $ArchSection ${SecX86}
  ${If} ${RunningX64}
    ReadRegStr $0 HKCR "CLSID\${VENDOR_CLSID}\InprocServer32" ""
    ${If} $0 != ""
      StrCpy $ArchSection ${SecX64}
      SectionSetText ${SecX64} "64-bit program (recommended)"
    ${Else}
      SectionSetText ${SecX86} "32-bit program (recommended)"
    ${EndIf}
  ${Else}
    SectionSetText ${SecX64} "" ; hidden: it cannot run here
  ${EndIf}

  ; Defaults of a first installation.
  StrCpy $Autostart 0
  StrCpy $Associate 1
  StrCpy $DirChosen 0
  ${If} $INSTDIR != ""
    StrCpy $DirChosen 1 ; /D=
  ${EndIf}

  ; An upgrade keeps what the user has: the folder, the program, the association and the
  ; autostart entry as they are now.
  ReadRegStr $OldDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $OldDir != ""
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Architecture"
    ${If} $0 == "x64"
    ${AndIf} ${RunningX64}
      StrCpy $ArchSection ${SecX64}
    ${ElseIf} $0 == "x86"
      StrCpy $ArchSection ${SecX86}
    ${EndIf}
    ReadRegStr $0 HKLM "${CLASSES}\.vqs" ""
    ${If} $0 != "${PROGID}"
      StrCpy $Associate 0
    ${EndIf}
    ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
    StrCpy $2 $OldDir
    Call RunValueIsOurs
    StrCpy $Autostart $0
    ${If} $DirChosen == 0
      StrCpy $INSTDIR $OldDir
      StrCpy $DirChosen 1
    ${EndIf}
  ${EndIf}

  ${If} $ArchSection == ${SecX64}
    !insertmacro SelectSection ${SecX64}
    !insertmacro UnselectSection ${SecX86}
  ${Else}
    !insertmacro SelectSection ${SecX86}
    !insertmacro UnselectSection ${SecX64}
  ${EndIf}
  ${If} $DirChosen == 0
    Call DefaultFolder
  ${EndIf}
FunctionEnd

Function .onSelChange
  !insertmacro StartRadioButtons $ArchSection
    !insertmacro RadioButton ${SecX64}
    !insertmacro RadioButton ${SecX86}
  !insertmacro EndRadioButtons
FunctionEnd

Function ComponentsLeave
  ; The folder follows the program's architecture until someone chooses one.
  ${If} $DirChosen == 0
    Call DefaultFolder
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Push $INSTDIR
  Call DefaultFolder
  Pop $0
  ${If} $0 != $INSTDIR
    StrCpy $DirChosen 1
  ${EndIf}
  StrCpy $INSTDIR $0
FunctionEnd

Function OptionsPage
  !insertmacro MUI_HEADER_TEXT "Choose Options" "Choose how Windows works with ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateCheckbox} 0 0 100% 12u "Start with &Windows"
  Pop $AutostartBox
  ${NSD_CreateLabel} 12u 14u -12u 20u \
    "${PRODUCT} starts when you log on, with only its icon in the notification area."
  Pop $0
  ${NSD_CreateCheckbox} 0 40u 100% 12u "&Open preset files (.vqs) with ${PRODUCT}"
  Pop $AssociateBox
  ${NSD_CreateLabel} 12u 54u -12u 20u \
    "Opening a preset file applies it to the card, also while ${PRODUCT} is running."
  Pop $0
  ${If} $Autostart == 1
    ${NSD_Check} $AutostartBox
  ${EndIf}
  ${If} $Associate == 1
    ${NSD_Check} $AssociateBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function OptionsLeave
  ${NSD_GetState} $AutostartBox $0
  StrCpy $Autostart 0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Autostart 1
  ${EndIf}
  ${NSD_GetState} $AssociateBox $0
  StrCpy $Associate 0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Associate 1
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

; Removes what setup installed. The user's own settings under HKEY_CURRENT_USER (language,
; colours, colour sets) stay for a later installation.
Section "Uninstall"
  Call un.CloseRunningPanel

  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\QzTest.wav"
  !insertmacro LANGUAGE_FILES Delete "$INSTDIR\"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: files of the user's own in the folder stay.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The association only while it is still ours.
  ReadRegStr $0 HKLM "${CLASSES}\.vqs" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKLM "${CLASSES}\.vqs" ""
    DeleteRegKey /ifempty HKLM "${CLASSES}\.vqs"
  ${EndIf}
  DeleteRegKey HKLM "${CLASSES}\${PROGID}"

  ; The autostart entry only when it starts the program removed here.
  ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
  StrCpy $2 $INSTDIR
  Call un.RunValueIsOurs
  ${If} $0 == 1
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
