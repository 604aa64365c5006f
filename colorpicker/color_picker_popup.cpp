// The popup's window: class, opening and message routing.
#include "colorpicker/color_picker_popup.h"

#include "win/module.h"

const char kPopupClassName[] = "VelmoraColorPickerClass";
const char kPopupProperty[] = "clrpick_this";

CColorPickerPopup::CColorPickerPopup()
    : hwnd(NULL), selectedColor(0), ownerButton(NULL), hoverColumn(-1), hoverRow(-1)
{
    for (int n = 0; n < kPaletteSize; ++n)
    {
        int i = n % 6;
        int j = (n / 6) % 6;
        int k = n / 36;
        colors[n] = RGB(51 * j, 51 * i, 51 * k);
    }
}

CColorPickerPopup::~CColorPickerPopup()
{
}

void RegisterPopupClass(HINSTANCE instance)
{
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kPopupClassName, &existing))
        return;
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = CColorPickerPopup::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kPopupClassName;
    RegisterClassA(&wc);
}

void UnregisterPopupClass(HINSTANCE instance)
{
    UnregisterClassA(kPopupClassName, instance);
}

void CColorPickerPopup::Open(HWND button, COLORREF colour)
{
    selectedColor = colour;
    ownerButton = button;
    // A square framed white in an earlier opening is drawn black again by
    // the new window's paint; forget it so the first hover frames properly.
    hoverColumn = -1;
    hoverRow = -1;

    RECT buttonRect;
    GetWindowRect(button, &buttonRect);
    RECT monitor;
    GetMonitorRect(&monitor, button);
    int x = buttonRect.left;
    int y = buttonRect.bottom + kPopupHeight <= monitor.bottom ? buttonRect.bottom
                                                               : buttonRect.top - kPopupHeight;
    HWND created = CreateWindowExA(0, kPopupClassName, NULL, WS_POPUP | WS_VISIBLE | WS_BORDER, x, y,
                                   kPopupWidth, kPopupHeight, button, NULL,
                                   ModuleInstance(), this);
    // hwnd still names the last opening's window when this one failed.
    if (created)
        SetFocus(hwnd);
}

void CColorPickerPopup::GetMonitorRect(RECT* out, HWND window)
{
    if (GetSystemMetrics(SM_CMONITORS) != 1)
    {
        typedef HMONITOR(WINAPI * MonitorFromWindowFn)(HWND, DWORD);
        typedef BOOL(WINAPI * GetMonitorInfoFn)(HMONITOR, MONITORINFO*);
        HMODULE user32 = LoadLibraryA("user32.dll");
        MonitorFromWindowFn monitorFromWindow = user32
            ? reinterpret_cast<MonitorFromWindowFn>(
                  reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")))
            : NULL;
        HMONITOR monitor = monitorFromWindow ? monitorFromWindow(window, MONITOR_DEFAULTTONEAREST) : NULL;
        GetMonitorInfoFn getMonitorInfo = monitor
            ? reinterpret_cast<GetMonitorInfoFn>(
                  reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")))
            : NULL;
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        bool found = getMonitorInfo && getMonitorInfo(monitor, &info);
        if (user32)
            FreeLibrary(user32);
        if (found)
        {
            *out = info.rcMonitor;  // the whole monitor, not the work area
            return;
        }
    }
    GetClientRect(GetDesktopWindow(), out);
}

LRESULT CALLBACK CColorPickerPopup::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CColorPickerPopup* self =
        IsWindow(window) ? static_cast<CColorPickerPopup*>(GetPropA(window, kPopupProperty)) : NULL;
    if (message == WM_CREATE)
    {
        self = static_cast<CColorPickerPopup*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetPropA(window, kPopupProperty, self);
        self->hwnd = window;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message)
    {
    case WM_ACTIVATE:
        // Taken back also when deactivated, so the eyedropper keeps working.
        SetCapture(window);
        break;
    case WM_PAINT:
        self->Paint();
        break;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
        {
            DestroyWindow(window);
            return 1;
        }
        break;
    case WM_MOUSEMOVE:
        self->OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 1;
    case WM_LBUTTONDOWN:
        self->OnLButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        break;
    case WM_NCDESTROY:
        RemovePropA(window, kPopupProperty);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
