; The Windows installer of Varnic, built by tools/x-package with Debian's makensis:
;   makensis -DARCH=win32|win64 -DDIST=<installation folder> -DSOURCE=<repository> -DOUTFILE=<setup.exe>
;            -DVERSION_TEXT="1.9 BETA5" -DVERSION_NUMBERS=1.9.0.5 [-DSIGN_COMMAND=<signing command>]
; The version comes from the build (cmake/version.cmake), the publisher from installer/release.conf.
; With SIGN_COMMAND, makensis runs it on the uninstaller it embeds and on the finished installer,
; each time with the file's path as the one argument.
;
; Installs for the current user only, without administrator rights, into a folder the user can
; write: the programs keep their settings, rules and version record beside themselves, so a
; folder under Program Files would leave them unable to save anything.
; Options on the command line: /S (silent), /D=<folder> (last, unquoted), /AUTORUN (select
; "随 Windows 启动" also in silent mode).

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!ifndef ARCH | DIST | SOURCE | OUTFILE | VERSION_TEXT | VERSION_NUMBERS
  !error "makensis needs -DARCH=win32|win64 -DDIST=... -DSOURCE=... -DOUTFILE=... -DVERSION_TEXT=... -DVERSION_NUMBERS=..."
!endif
!ifdef SIGN_COMMAND
  !uninstfinalize '"${SIGN_COMMAND}" "%1"' = 0
  !finalize '"${SIGN_COMMAND}" "%1"' = 0
!endif

!define PRODUCT "Varnic"
!searchparse /file "${SOURCE}/installer/release.conf" "publisher=" PUBLISHER
; kelvo's main window and its tray menu's "退出" (the eighth entry): kelvo writes its settings and ends.
!searchparse /file "${SOURCE}/src/monitor/win32/main_window.h" 'kClassName = L"' MAIN_WINDOW_CLASS '"'
!searchparse /file "${SOURCE}/src/monitor/win32/main_window_ids.h" "kFirstMenuEntry = " FIRST_MENU_ENTRY ";"
!define /math EXIT_COMMAND ${FIRST_MENU_ENTRY} + 7
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnic"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define START_MENU "$SMPROGRAMS\Varnic"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"
!include "x64.nsh"

Name "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Varnic"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION_TEXT}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${SOURCE}/apps/kelvo/res/kelvo.ico"
!define MUI_UNICON "${SOURCE}/apps/kelvo/res/kelvo.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kelvo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行 Varnic"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\help.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "查看帮助"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} ${VERSION_TEXT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${PUBLISHER}"

; Asks a running kelvo to end through its tray menu's exit, so that it keeps its settings and
; its files can be replaced or removed; waits up to about five seconds for its window to go.
!macro DEFINE_CLOSE_KELVO prefix
Function ${prefix}CloseKelvo
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 = 0
    ${OrIf} $1 >= 25
      ${Break}
    ${EndIf}
    ${If} $1 = 0
      DetailPrint "正在退出正在运行的 Varnic……"
      SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=5000
    ${EndIf}
    Sleep 200
    IntOp $1 $1 + 1
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_KELVO ""
!insertmacro DEFINE_CLOSE_KELVO "un."

; Deletes one of the programs, trying again for a moment while its process is still ending.
!macro DEFINE_DELETE_PROGRAM prefix
Function ${prefix}DeleteProgram
  Exch $0
  Push $1
  StrCpy $1 0
  ${Do}
    Delete "$0"
    ${IfNot} ${FileExists} "$0"
    ${OrIf} $1 >= 25
      ${Break}
    ${EndIf}
    Sleep 200
    IntOp $1 $1 + 1
  ${Loop}
  ${If} ${FileExists} "$0"
    DetailPrint "无法删除：$0"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_DELETE_PROGRAM "un."

Section "Varnic 程序" SecProgram
  SectionIn RO
  SetShellVarContext current
  Call CloseKelvo
  SetOutPath "$INSTDIR"
  File "${DIST}/kelvo.exe"
  File "${DIST}/tarnel.exe"
  File "${DIST}/empty.exe"
  File "${DIST}/help.txt"
  File "${DIST}/help-en.txt"
  ; The version record always describes the programs just installed: an upgrade records the
  ; newer version, a downgrade the older one, so tarnel offers exactly the releases newer
  ; than what is installed.
  File "${DIST}/vr.ini"
  ; The update server settings: an edited copy of the user's stays as it is.
  SetOverwrite off
  File "${DIST}/Upsetting.ini"
  SetOverwrite on
  CreateDirectory "$INSTDIR\temp"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION_TEXT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "开始菜单快捷方式" SecStartMenu
  SetShellVarContext current
  CreateDirectory "${START_MENU}"
  CreateShortcut "${START_MENU}\Varnic.lnk" "$INSTDIR\kelvo.exe"
  CreateShortcut "${START_MENU}\Varnic 帮助.lnk" "$INSTDIR\help.txt"
  CreateShortcut "${START_MENU}\卸载 Varnic.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section /o "随 Windows 启动" SecAutorun
  WriteRegStr HKCU "${RUN_KEY}" "Varnic" '"$INSTDIR\kelvo.exe" -sendme'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "kelvo（内存监视与清理）、tarnel（在线更新）、empty（内存清理组件）和帮助文件。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartMenu} "在开始菜单中添加 Varnic、帮助和卸载的快捷方式。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutorun} "登录 Windows 时启动 Varnic，直接隐藏到系统托盘。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
!if "${ARCH}" == "win64"
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "此安装程序用于 64 位 Windows，请使用 32 位版本（win32）。" /SD IDOK
    Abort
  ${EndIf}
!endif
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutorun}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.CloseKelvo

  Push "$INSTDIR\kelvo.exe"
  Call un.DeleteProgram
  Push "$INSTDIR\tarnel.exe"
  Call un.DeleteProgram
  Push "$INSTDIR\empty.exe"
  Call un.DeleteProgram
  Delete "$INSTDIR\help.txt"
  Delete "$INSTDIR\help-en.txt"
  Delete "$INSTDIR\Upsetting.ini"
  Delete "$INSTDIR\vr.ini"
  ; What tarnel and an unfinished update leave behind: the server's version file, the new
  ; program and its two notes.
  Delete "$INSTDIR\temp\vr.ini"
  Delete "$INSTDIR\tmp.exe"
  Delete "$INSTDIR\1.txt"
  Delete "$INSTDIR\2.txt"

  ; The user's own files go only when the user says so; a silent uninstall keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "是否同时删除您的设置和清理规则文件？$\r$\n（Setting.ini、AllRule.ini、SmallGameRule.ini、LargeGameRule.ini 和 BTRule.ini）$\r$\n$\r$\n选择“否(N)”将保留这些文件。" \
    /SD IDNO IDNO keep_user_files
    Delete "$INSTDIR\Setting.ini"
    Delete "$INSTDIR\AllRule.ini"
    Delete "$INSTDIR\SmallGameRule.ini"
    Delete "$INSTDIR\LargeGameRule.ini"
    Delete "$INSTDIR\BTRule.ini"
  keep_user_files:

  Delete "$INSTDIR\uninstall.exe"
  ; Only empty folders go: whatever else the user keeps there stays. A folder that is the
  ; current directory cannot be removed, so leave it first.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR\temp"
  RMDir "$INSTDIR"

  Delete "${START_MENU}\Varnic.lnk"
  Delete "${START_MENU}\Varnic 帮助.lnk"
  Delete "${START_MENU}\卸载 Varnic.lnk"
  RMDir "${START_MENU}"
  DeleteRegValue HKCU "${RUN_KEY}" "Varnic"
  ; Last, so that the entry stays until everything else is done.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
