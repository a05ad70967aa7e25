; The Windows installer: Versend and the Tarvelo add-in for Word, installed for the current user
; without administrator rights. Built by the target windows_installer (packaging/windows/
; CMakeLists.txt), which stages the files and passes on the command line:
;   QV_VERSION   version shown in the installed programs' list
;   QV_OUTFILE   the installer to write
;   QV_GENERATED folder of files.nsh (the staged files, written by stage.cmake) and
;                addin_keys.nsh (the add-in's registration, read from tarvelo/word's headers)
;   QV_CMAKE, QV_SIGN_SETTINGS, QV_SIGN_SCRIPT  signing a file in place (cmake/Signing.cmake;
;                it does nothing when the build has no certificate)
;
; What it does:
;   $LOCALAPPDATA\Programs\Quran Verses\           Versend.exe, its verse files and display font,
;                                                  the licence notes, Uninstall.exe
;   ...\AddIn\x64\, ...\AddIn\x86\                 Tarvelo.dll of each bitness with the data files
;                                                  it reads from its own folder
;   $LOCALAPPDATA\Microsoft\Windows\Fonts\         the glyph fonts and the display font, registered
;                                                  for this user under HKCU\...\Fonts
;   the add-in's COM class in both registry views, its ProgId and Word's add-in entry (the keys
;   that Tarvelo.dll's DllRegisterServer writes), a Start-menu entry, the uninstall entry.
; The uninstaller takes away exactly that. Versend.ini (kept in the folder Versend starts in, the
; install folder for the Start-menu entry) and the add-in's translation choice (HKCU\Software\
; VB and VBA Program Settings\tarvelocfg) are the user's and stay.

Unicode true
; Versend.exe is a 64-bit program: the installer is one too, and writes the 64-bit registry
; view natively.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; The two add-in folders hold the same data files: a dictionary larger than one set of them lets
; the second set cost next to nothing.
SetCompressorDictSize 32

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define QV_PRODUCT "Quran Verses"
!define QV_PUBLISHER "Quran Verses maintainers"
!define QV_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuranVerses"
!define QV_FONTS_KEY "Software\Microsoft\Windows NT\CurrentVersion\Fonts"
!define QV_FONT_DIR "$LOCALAPPDATA\Microsoft\Windows\Fonts"
!define QV_SHORTCUT "$SMPROGRAMS\Versend.lnk"

!include "${QV_GENERATED}\addin_keys.nsh"
!include "${QV_GENERATED}\files.nsh"

; The installer and the uninstaller it carries are signed as they are written.
!finalize '"${QV_CMAKE}" "-DSETTINGS=${QV_SIGN_SETTINGS}" "-DFILE=%1" -P "${QV_SIGN_SCRIPT}"' = 0
!uninstfinalize '"${QV_CMAKE}" "-DSETTINGS=${QV_SIGN_SETTINGS}" "-DFILE=%1" -P "${QV_SIGN_SCRIPT}"' = 0

Name "${QV_PRODUCT}"
OutFile "${QV_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${QV_PRODUCT}"
; Installing again goes where the last install went.
InstallDirRegKey HKCU "${QV_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${QV_PRODUCT} ${QV_VERSION}"
VIProductVersion "${QV_VERSION}.0"
VIAddVersionKey "ProductName" "${QV_PRODUCT}"
VIAddVersionKey "ProductVersion" "${QV_VERSION}"
VIAddVersionKey "CompanyName" "${QV_PUBLISHER}"
VIAddVersionKey "FileDescription" "${QV_PRODUCT} installer"
VIAddVersionKey "FileVersion" "${QV_VERSION}"
VIAddVersionKey "LegalCopyright" "Data CC BY-SA 4.0, fonts SIL OFL 1.1"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Versend.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Versend"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; ----------------------------------------------------------------------------------------------
; Word's COM add-in registration, as DllRegisterServer writes it: the class in one registry view
; (32-bit Word reads the 32-bit view, 64-bit Word the 64-bit one), the ProgId and Word's add-in
; entry, which both views share.

!macro QV_REGISTER_CLASS VIEW DLL
  SetRegView ${VIEW}
  WriteRegStr HKCU "${QV_CLASS_KEY}" "" "${QV_PROGID}"
  WriteRegStr HKCU "${QV_CLASS_KEY}\InprocServer32" "" "${DLL}"
  WriteRegStr HKCU "${QV_CLASS_KEY}\InprocServer32" "ThreadingModel" "Apartment"
  WriteRegStr HKCU "${QV_CLASS_KEY}\ProgID" "" "${QV_PROGID}"
!macroend

!macro QV_REGISTER_ADDIN
  ; The 32-bit view first: where a registry keeps one view only, the 64-bit class is the one
  ; that stays, for the 64-bit Word such a system runs.
  !insertmacro QV_REGISTER_CLASS 32 "$INSTDIR\AddIn\x86\Tarvelo.dll"
  !insertmacro QV_REGISTER_CLASS 64 "$INSTDIR\AddIn\x64\Tarvelo.dll"
  WriteRegStr HKCU "${QV_PROGID_KEY}" "" "${QV_PROGID}"
  WriteRegStr HKCU "${QV_PROGID_KEY}\CLSID" "" "${QV_CLSID}"
  WriteRegStr HKCU "${QV_ADDIN_KEY}" "FriendlyName" "${QV_FRIENDLY_NAME}"
  WriteRegStr HKCU "${QV_ADDIN_KEY}" "Description" "${QV_DESCRIPTION}"
  WriteRegDWORD HKCU "${QV_ADDIN_KEY}" "LoadBehavior" ${QV_LOAD_BEHAVIOR}
!macroend

!macro QV_UNREGISTER_ADDIN
  SetRegView 32
  DeleteRegKey HKCU "${QV_CLASS_KEY}"
  SetRegView 64
  DeleteRegKey HKCU "${QV_CLASS_KEY}"
  DeleteRegKey HKCU "${QV_PROGID_KEY}"
  DeleteRegKey HKCU "${QV_ADDIN_KEY}"
  ; Word's keys go only if the add-in's entry was all they held (Word itself fills them).
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office\Word\Addins"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office\Word"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Office"
!macroend

; ----------------------------------------------------------------------------------------------
; Per-user fonts: the file in the user's font folder, its registry value, and the font added to
; the running session so that programs see it before the next logon.

!macro QV_INSTALL_FONT FILE NAME
  SetOutPath "${QV_FONT_DIR}"
  ; A font in use cannot be overwritten; the one there is the same font.
  SetOverwrite try
  File "${QV_STAGE}\user-fonts\${FILE}"
  SetOverwrite on
  WriteRegStr HKCU "${QV_FONTS_KEY}" "${NAME}" "${QV_FONT_DIR}\${FILE}"
  System::Call "gdi32::AddFontResourceW(w '${QV_FONT_DIR}\${FILE}') i"
!macroend

!macro QV_REMOVE_FONT FILE NAME
  System::Call "gdi32::RemoveFontResourceW(w '${QV_FONT_DIR}\${FILE}') i"
  ; The value goes only when it names this file (the user may hold the font elsewhere too).
  ReadRegStr $R0 HKCU "${QV_FONTS_KEY}" "${NAME}"
  ${If} $R0 == "${QV_FONT_DIR}\${FILE}"
    DeleteRegValue HKCU "${QV_FONTS_KEY}" "${NAME}"
  ${EndIf}
  Delete "${QV_FONT_DIR}\${FILE}"
!macroend

; ----------------------------------------------------------------------------------------------
; Word running: the add-in is loaded at Word's start. A running Word is found by its main
; window's class, "OpusApp" (FindWindow: no COM needed, and a hidden Word counts too).

!macro QV_WORD_RUNNING RESULT
  FindWindow ${RESULT} "OpusApp"
!macroend

; An add-in library that a running Word holds cannot be overwritten, but it can be renamed: the
; new one goes in beside it, and the old one is removed the next time.
!macro QV_FREE_ADDIN_LIBRARY FOLDER
  Delete "${FOLDER}\Tarvelo.dll.old"
  Delete "${FOLDER}\Tarvelo.dll"
  ${If} ${FileExists} "${FOLDER}\Tarvelo.dll"
    Rename "${FOLDER}\Tarvelo.dll" "${FOLDER}\Tarvelo.dll.old"
  ${EndIf}
!macroend

; An earlier install is removed by its own uninstaller, silently and in place (so that it is
; finished before the files go in); the user's settings stay.
Function RemovePreviousInstall
  ReadRegStr $R1 HKCU "${QV_UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} ${FileExists} "$R1\Uninstall.exe"
    DetailPrint "Removing the installed version from $R1"
    ExecWait '"$R1\Uninstall.exe" /S _?=$R1' $R2
    Delete "$R1\Uninstall.exe"
    RMDir "$R1"
  ${EndIf}
FunctionEnd

Section "Install"
  SetShellVarContext current
  Call RemovePreviousInstall

  !insertmacro QV_FREE_ADDIN_LIBRARY "$INSTDIR\AddIn\x64"
  !insertmacro QV_FREE_ADDIN_LIBRARY "$INSTDIR\AddIn\x86"
  !insertmacro QV_INSTALL_FILES
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  !insertmacro QV_INSTALL_FONTS
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000

  !insertmacro QV_REGISTER_ADDIN

  ; Versend reads and writes Versend.ini in the folder it starts in: the install folder.
  SetOutPath "$INSTDIR"
  CreateShortCut "${QV_SHORTCUT}" "$INSTDIR\Versend.exe" "" "$INSTDIR\Versend.exe" 0 SW_SHOWNORMAL "" \
    "Find verses of the Quran and send them into Word"

  SetRegView 64
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "DisplayName" "${QV_PRODUCT}"
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "DisplayVersion" "${QV_VERSION}"
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "Publisher" "${QV_PUBLISHER}"
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Versend.exe"
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${QV_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${QV_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${QV_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntOp $0 $0 + ${QV_FONTS_KB}
  WriteRegDWORD HKCU "${QV_UNINSTALL_KEY}" "EstimatedSize" $0

  !insertmacro QV_WORD_RUNNING $0
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONINFORMATION "Word is running. The add-in Tarvelo (menu $\"Al-Quran$\") is active from Word's next start." /SD IDOK
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro QV_WORD_RUNNING $0
  ${If} $0 <> 0
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "Word is running and holds the add-in Tarvelo. Close Word first, then choose OK." /SD IDOK IDOK +2
    Abort
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro QV_UNREGISTER_ADDIN

  !insertmacro QV_REMOVE_FONTS
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
  ; The user's font folder and its key stay unless they are empty now.
  RMDir "${QV_FONT_DIR}"
  DeleteRegKey /ifempty HKCU "${QV_FONTS_KEY}"

  Delete "${QV_SHORTCUT}"
  Delete "$INSTDIR\AddIn\x64\Tarvelo.dll.old"
  Delete "$INSTDIR\AddIn\x86\Tarvelo.dll.old"
  !insertmacro QV_REMOVE_FILES
  Delete "$INSTDIR\Uninstall.exe"
  ; The folder stays while it holds the user's Versend.ini.
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"

  SetRegView 64
  DeleteRegKey HKCU "${QV_UNINSTALL_KEY}"
SectionEnd
