; An installer that an ISP can start from: it installs the 32-bit dialkit.exe with the ISP's entry
; description file, sets up the dial-up and the VPN entry with nobody asked, and takes them away
; again when it is uninstalled. It is listed under Programs and Features (Add or Remove Programs),
; where a person looks to take it away, and a fleet's tools find the quiet uninstall there.
;
;   makensis -DDIALKIT_DIR=dialkit-1.1.0-windows example-isp.nsi
;
; DIALKIT_DIR is the unpacked release (x86\dialkit.exe, LICENSE.txt). The installer runs
; silently with /S as well: DIALKIT never shows a window in a quiet run, so nothing waits.

!ifndef DIALKIT_DIR
  !define DIALKIT_DIR "dialkit-1.1.0-windows"
!endif
!ifndef OUTFILE
  !define OUTFILE "example-isp-setup.exe"
!endif

!define ISP "Example ISP"
!define DIALUP "Example ISP"
!define VPN "Example VPN"
; The ISP's own package: its version, and its key among the installed programs.
!define VERSION "1.0.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ExampleISP"

Name "${ISP}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${ISP}"
; The phone book is the system's: storing into it needs an administrator on NT systems.
RequestExecutionLevel admin
ShowInstDetails show

Section "Dial-up and VPN entries"
  SetOutPath "$INSTDIR"
  File "${DIALKIT_DIR}\x86\dialkit.exe"
  File /oname=dialkit-LICENSE.txt "${DIALKIT_DIR}\LICENSE.txt"
  File "isp.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Registered before the entries are set up, so that an install whose entries fall short can
  ; still be taken away. For every user of the machine, as the phone book is; a 32-bit installer
  ; on 64-bit Windows writes into the 32-bit view, which Programs and Features lists too.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${ISP} connections"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${ISP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dialkit.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; Nothing to change or repair: the list offers Uninstall alone.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; /device:modem answers the device question where a person would have been asked: the one
  ; modem among the system's WAN miniports. Without /overwrite, entries of the same names that a
  ; person made or changed stay as they are (status 4); add /overwrite to replace them.
  DetailPrint "Setting up the dial-up entry ${DIALUP} and the VPN entry ${VPN}"
  ExecWait '"$INSTDIR\dialkit.exe" INIT=isp.ini CONNECT="${DIALUP}" VPN="${VPN}" /quiet /device:modem /log:"$INSTDIR\dialkit.log"' $0
  ; Kept for support and for the uninstaller: 0 means that both entries were stored.
  WriteINIStr "$INSTDIR\setup.ini" "Provisioning" "Status" "$0"
  StrCmp $0 0 done
    DetailPrint "DIALKIT status $0: see $INSTDIR\dialkit.log"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The connection entries were not all set up (status $0).$\r$\nSee $INSTDIR\dialkit.log." /SD IDOK
  done:
SectionEnd

Section "Uninstall"
  ; An entry that is no longer there counts as removed, so a second uninstall does no harm.
  ExecWait '"$INSTDIR\dialkit.exe" CONNECT="${DIALUP}" VPN="${VPN}" /remove /quiet /log:"$TEMP\example-isp-uninstall.log"' $0
  WriteINIStr "$TEMP\example-isp-uninstall.ini" "Removal" "Status" "$0"
  StrCmp $0 0 +2
    MessageBox MB_OK|MB_ICONEXCLAMATION "The connection entries could not all be removed (status $0).$\r$\nSee $TEMP\example-isp-uninstall.log." /SD IDOK
  Delete "$INSTDIR\dialkit.exe"
  Delete "$INSTDIR\dialkit-LICENSE.txt"
  Delete "$INSTDIR\isp.ini"
  Delete "$INSTDIR\dialkit.ini"
  Delete "$INSTDIR\dialkit.log"
  Delete "$INSTDIR\setup.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; Its files are gone whatever the removal of the entries said, so the listing goes too.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
