/* Ids of the keys dialog template and of its controls. Read by the
   resource compiler as well as by the code, so plain C defines only. */
#ifndef PAGER_KEYS_IDS_H
#define PAGER_KEYS_IDS_H

#define IDD_KEYS 103
#define IDC_KEYS_LIST 1301
#define IDC_KEYS_HOTKEY 1302
#define IDC_KEYS_NONE 1303
#define IDC_KEYS_DEFAULT 1304
#define IDC_KEYS_ENABLED 1305

#endif
