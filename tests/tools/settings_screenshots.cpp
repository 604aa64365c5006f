// Opens the settings dialog the way a host bar does, then its palette popup,
// and waits at each stage until scripts/screenshots.sh has taken its picture.
// Usage: settings_screenshots.exe <handshake folder>. At each stage the
// program writes "<stage>.ready" holding the screen rectangle to keep
// ("left top right bottom") and goes on once "<stage>.done" exists.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <string>

#include "dialog/settings_ids.h"
#include "support/modal_driver.h"
#include "support/pager_module.h"
#include "support/recording_site.h"

namespace {

const char kCaption[] = "Virtual Desktop Plugin v.0.2";
std::string g_folder;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Announce(const char* stage, RECT keep)
{
    FILE* file = fopen((g_folder + "\\" + stage + ".ready").c_str(), "wb");
    if (file)
    {
        fprintf(file, "%ld %ld %ld %ld\n", keep.left, keep.top, keep.right, keep.bottom);
        fclose(file);
    }
}

// The settings dialog, once the script is done with `stage`.
ModalDriver::Finder DialogAfter(const char* stage)
{
    std::string done = g_folder + "\\" + stage + ".done";
    return [done]() { return Exists(done) ? FindThreadDialog(kCaption) : NULL; };
}

RECT Grown(RECT rect, int margin)
{
    InflateRect(&rect, margin, margin);
    return rect;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    g_folder = argv[1];
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    // A Windows machine has Tahoma, the pager's default cell font, and
    // Marlett for the caption buttons; Wine lists neither by itself.
    AddFontResourceExA("Z:\\usr\\share\\wine\\fonts\\tahoma.ttf", FR_PRIVATE, 0);
    AddFontResourceExA("Z:\\usr\\share\\wine\\fonts\\marlett.ttf", FR_PRIVATE, 0);

    PagerModule module;
    IBarPlugin* pager = module.CreatePager();
    if (!pager)
        return 1;
    HWND barTop = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 60, 40, 480, 28, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    HWND bar = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 8, 4, 120, 20, barTop, NULL,
                               GetModuleHandleA(NULL), NULL);
    RecordingSite site;
    site.barWindow = bar;
    pager->SetSite(&site);

    ModalDriver driver(6000);
    driver
        .Then([] { return FindThreadDialog(kCaption); },
              [](HWND dialog) {
                  RECT where;
                  GetWindowRect(dialog, &where);
                  Announce("dialog", Grown(where, 12));
              })
        .Then(DialogAfter("dialog"),
              [](HWND dialog) {
                  HWND button = GetDlgItem(dialog, IDC_CURRENT_COLOR);
                  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                  HWND popup = FindThreadWindow("VelmoraColorPickerClass");
                  if (!popup)
                      return;
                  UpdateWindow(popup);
                  SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(75, 95));  // square (7, 7)
                  RECT where, popupRect;
                  GetWindowRect(dialog, &where);
                  GetWindowRect(popup, &popupRect);
                  UnionRect(&where, &where, &popupRect);
                  Announce("popup", Grown(where, 12));
              })
        .Then(DialogAfter("popup"), [](HWND dialog) {
            HWND popup = FindThreadWindow("VelmoraColorPickerClass");
            if (popup)
                SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    pager->OnCommand(1);
    pager->Release();
    DestroyWindow(barTop);
    return driver.AllStepsRan() && !driver.GaveUp() ? 0 : 1;
}
