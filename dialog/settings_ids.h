/* Ids of the settings dialog template and of its controls. Read by the
   resource compiler as well as by the code, so plain C defines only. */
#ifndef PAGER_SETTINGS_IDS_H
#define PAGER_SETTINGS_IDS_H

#define IDD_SETTINGS 101

#define IDC_DESKTOP_COUNT_SPIN 1004
#define IDC_DESKTOP_COUNT_EDIT 1005
#define IDC_COLUMNS_EDIT 1006
#define IDC_COLUMNS_SPIN 1007
#define IDC_FONT_COMBO 1008
#define IDC_CURRENT_COLOR 1009
#define IDC_HOVER_COLOR 1010
#define IDC_OCCUPIED_COLOR 1011
#define IDC_EMPTY_COLOR 1012
#define IDC_KEYS_BUTTON 1013

#endif
