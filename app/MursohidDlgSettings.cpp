// The main window's settings operations.
#include "app/MursohidDlg.h"
#include "config/SettingsValidation.h"

void CMursohidDlg::ReloadSettings() { ::ReloadSettings(WorkingSettings, SettingsSnapshot); }
