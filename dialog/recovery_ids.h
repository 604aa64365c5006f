/* Ids of the recovery dialog template and of its controls. Read by the
   resource compiler as well as by the code, so plain C defines only. */
#ifndef PAGER_RECOVERY_IDS_H
#define PAGER_RECOVERY_IDS_H

#define IDD_RECOVERY 102
#define IDC_RECOVERY_LIST 1201
#define IDC_RECOVERY_SHOW 1202
#define IDC_RECOVERY_SHOW_ALL 1203

#endif
