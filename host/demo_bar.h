// The demo bar: a thin always-on-top strip along the bottom of the screen
// that shows one plug-in and drives it as the host bar does.
#pragma once

#include <windows.h>

#include "host/bar_site.h"
#include "host/bar_tooltips.h"
#include "host/plugin_loader.h"
#include "plugin/bar_interfaces.h"

const char kDemoBarClass[] = "QuorvaneDemoBar";
const char kDemoBarTitle[] = "Quorvane demo bar";

// Menu commands of the bar's right-click menu.
const UINT kMenuSettings = 101;
const UINT kMenuExit = 102;

class CDemoBar
{
public:
    // The bar takes over the plug-in: closing the bar saves its state and releases it.
    CDemoBar(LoadedPlugin* loaded, const char* statePath, int height);
    BOOL Create(HINSTANCE instance);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void StartPlugin();
    void Relayout();
    void Paint();
    void OnMouseMove(int x, int y);
    void OnMouseLeave();
    void ShowMenu(int screenX, int screenY);
    void OpenSettings();
    void CloseBar();

    LoadedPlugin* loaded;  // its plugin is null once released
    const char* statePath;
    int height;
    HWND window;
    RECT pluginRect;
    CBarSite site;
    CBarTooltips tooltips;
    bool trackingLeave;
    bool mouseOverPlugin;
    bool inCommand;       // the plug-in's settings dialog is open
    bool closeRequested;  // a close that came while it was open
};
