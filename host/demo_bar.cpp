#include "host/demo_bar.h"

#include <windowsx.h>

#include "host/host_log.h"
#include "host/state_file.h"
#include "win/gdi_scope.h"

static const char kLabel[] = "Quorvane demo";
static const char kHint[] = "right-click: Settings...";
static const int kMargin = 8;

CDemoBar::CDemoBar(LoadedPlugin* loadedPlugin, const char* path, int barHeight)
    : loaded(loadedPlugin), statePath(path), height(barHeight), window(NULL),
      trackingLeave(false), mouseOverPlugin(false), inCommand(false), closeRequested(false)
{
    SetRectEmpty(&pluginRect);
}

static int LabelWidth()
{
    CScreenDC screen;
    CSelectedObject font(screen.handle(), GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen.handle(), kLabel, lstrlenA(kLabel), &size);
    return size.cx;
}

// The primary monitor's work area, which is its whole screen where no taskbar
// takes a part: the bar lies along its bottom edge, over its full width.
static RECT PrimaryWorkArea()
{
    POINT origin = {0, 0};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor) && !IsRectEmpty(&monitor.rcWork))
        return monitor.rcWork;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return screen;
}

BOOL CDemoBar::Create(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kDemoBarClass;
    RegisterClassA(&windowClass);

    pluginRect.left = kMargin + LabelWidth() + kMargin;
    pluginRect.right = pluginRect.left;
    pluginRect.bottom = height;
    RECT area = PrimaryWorkArea();
    window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kDemoBarClass, kDemoBarTitle, WS_POPUP, area.left,
                             area.bottom - height, area.right - area.left, height, NULL, NULL, instance, this);
    if (!window)
        return FALSE;
    tooltips.Create(window);
    StartPlugin();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return TRUE;
}

// The host's order: site, rectangle, resource instance, saved state, width.
void CDemoBar::StartPlugin()
{
    site.Attach(window, &pluginRect);
    HostLog("SetSite");
    loaded->plugin->SetSite(&site);
    HostLog("SetRect %ld,%ld,%ld,%ld", pluginRect.left, pluginRect.top, pluginRect.right, pluginRect.bottom);
    loaded->plugin->SetRect(&pluginRect);
    HostLog("SetResourceInstance");
    loaded->plugin->SetResourceInstance(0, NULL);
    LoadStateFile(loaded->plugin, statePath);
    Relayout();
}

void CDemoBar::Relayout()
{
    if (!loaded->plugin)
        return;
    BarInfo info = {};
    info.flags = kInfoWidth;
    info.height = height;
    loaded->plugin->GetInfo(&info);
    HostLog("GetInfo(height %d): width %d", height, info.width);
    pluginRect.right = pluginRect.left + (info.width > 0 ? info.width : 0);
    loaded->plugin->SetRect(&pluginRect);
    tooltips.Rebuild(loaded->plugin);
    InvalidateRect(window, NULL, TRUE);
}

void CDemoBar::Paint()
{
    CPaintScope paint(window);
    HDC dc = paint.handle();
    RECT client;
    GetClientRect(window, &client);
    {
        CSelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT label = {kMargin, 0, pluginRect.left, height};
        DrawTextA(dc, kLabel, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        RECT hint = {pluginRect.right + kMargin, 0, client.right - kMargin, height};
        DrawTextA(dc, kHint, -1, &hint, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    if (loaded->plugin)
    {
        POINT origin = {pluginRect.left, pluginRect.top};
        HostLog("Paint at %ld,%ld", origin.x, origin.y);
        loaded->plugin->Paint(dc, &origin);
    }
}

void CDemoBar::OnMouseMove(int x, int y)
{
    if (!loaded->plugin)
        return;
    if (!trackingLeave)
    {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
        trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    POINT point = {x, y};
    if (PtInRect(&pluginRect, point))
    {
        mouseOverPlugin = true;
        HostLog("OnMouseMove %d,%d", x, y);
        loaded->plugin->OnMouseMove(0, x, y);
    }
    else
        OnMouseLeave();
}

void CDemoBar::OnMouseLeave()
{
    if (loaded->plugin && mouseOverPlugin)
    {
        HostLog("OnMouseLeave");
        loaded->plugin->OnMouseLeave(0);
    }
    mouseOverPlugin = false;
}

void CDemoBar::ShowMenu(int screenX, int screenY)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | (loaded->plugin ? 0 : MF_GRAYED), kMenuSettings, "Settings...");
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, kMenuExit, "Exit");
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, screenX, screenY, 0, window, NULL);
    DestroyMenu(menu);
}

void CDemoBar::OpenSettings()
{
    if (!loaded->plugin || inCommand)
        return;
    inCommand = true;
    HostLog("OnCommand(%d)", kCommandSettings);
    HRESULT result = loaded->plugin->OnCommand(kCommandSettings);
    HostLog("OnCommand(%d) returned %ld", kCommandSettings, result);
    inCommand = false;
    if (closeRequested)
        CloseBar();
}

// Releasing the plug-in shows every window it had hidden, so it happens
// before the bar goes away, and never while the plug-in's dialog is open.
void CDemoBar::CloseBar()
{
    if (inCommand)
    {
        closeRequested = true;
        return;
    }
    if (loaded->plugin)
    {
        SaveStateFile(loaded->plugin, statePath);
        loaded->plugin->SetSite(NULL);
        ReleasePlugin(loaded);
    }
    DestroyWindow(window);
}

LRESULT CDemoBar::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave = false;
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
    {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (loaded->plugin && PtInRect(&pluginRect, point))
        {
            HostLog("OnClick %ld,%ld", point.x, point.y);
            loaded->plugin->OnClick(0, point.x, point.y);
        }
        return 0;
    }
    case WM_RBUTTONUP:
    {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &point);
        ShowMenu(point.x, point.y);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kMenuSettings)
            OpenSettings();
        else if (LOWORD(wParam) == kMenuExit)
            CloseBar();
        return 0;
    case WM_NOTIFY:
        tooltips.OnNotify(loaded->plugin, reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_BAR_SAVE_STATE:
        if (loaded->plugin)
            SaveStateFile(loaded->plugin, statePath);
        return 0;
    case WM_BAR_RELAYOUT:
        Relayout();
        return 0;
    case WM_CLOSE:
        CloseBar();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CDemoBar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        CDemoBar* bar = static_cast<CDemoBar*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        bar->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar));
    }
    CDemoBar* bar = reinterpret_cast<CDemoBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return bar ? bar->Handle(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}
