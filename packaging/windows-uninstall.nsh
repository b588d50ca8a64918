  ; Before anything is removed: the program takes out both start-up entries and puts the system's
  ; logon screen back. If it cannot, nothing is removed, so the machine is never left starting a
  ; logon screen from a folder that is gone.
  ClearErrors
  ExecWait '"$INSTDIR\doorsel.exe" -uninstall' $0
  IfErrors doorsel_not_restored
  StrCmp $0 0 doorsel_restored
doorsel_not_restored:
  MessageBox MB_OK|MB_ICONSTOP "Doorsel could not remove its start-up entries and put the system's logon screen back. Nothing was removed." /SD IDOK
  SetErrorLevel 2
  Quit
doorsel_restored:
  ; What the program wrote stays for a later install, unless the user asks for it to go.
  MessageBox MB_YESNO|MB_ICONQUESTION "Also remove Doorsel's settings and random list (config.ini, random.dat, CurrentVersion.dat, links.dat)?" /SD IDNO IDNO doorsel_keep_settings
  Delete "$INSTDIR\config.ini"
  Delete "$INSTDIR\random.dat"
  Delete "$INSTDIR\CurrentVersion.dat"
  Delete "$INSTDIR\links.dat"
doorsel_keep_settings:
