// The pager's settings dialog: desktop count, grid columns, cell font and the
// four cell colours, edited on a working copy of the settings; its keys
// button runs the keys dialog over it.
#pragma once

#include <windows.h>

#include "colorpicker/color_button.h"
#include "dialog/dialog_base.h"
#include "dialog/settings_ids.h"
#include "core/pager_settings.h"

class CKeyRegistrar;

class CSettingsDialog : public CDialogBase
{
public:
    CSettingsDialog();
    ~CSettingsDialog() override;

    BOOL OnOK() override;
    void OnInitDialog() override;
    void OnDialogCommand(WPARAM wParam) override;

    void ReadControls(PagerSettings* target);
    static int CALLBACK AddFontNameProc(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType,
                                        LPARAM combo);

    PagerSettings settings;  // filled by the caller before RunModal, written back by OK
    CKeyRegistrar* keyRegistrar;  // the keys button is disabled without one
    CColorButton hoverButton;
    CColorButton currentButton;
    CColorButton occupiedButton;
    CColorButton emptyButton;
};
