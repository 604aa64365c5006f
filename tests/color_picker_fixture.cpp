#include "color_picker_fixture.h"

#include <string>

#include "support/event_log.h"
#include "support/modal_driver.h"
#include "support/test_window.h"
#include "unit_module.h"

namespace {

const char kParentClass[] = "ColorPickerTestParent";
const int kButtonLeft = 10;
const int kButtonTop = 10;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
    {
        HWND from = reinterpret_cast<HWND>(lParam);
        LogEvent("command " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)) +
                 (GetDlgCtrlID(from) == kButtonId ? " button" : " other"));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void ColorPickerTest::SetUp()
{
    UseTestProgramAsModule();
    RegisterTestClass(kParentClass, ParentProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    parent = CreateWindowExA(0, kParentClass, "Colour button host", WS_POPUP | WS_VISIBLE, 100, 100, 200, 80,
                             NULL, NULL, GetModuleHandleA(NULL), NULL);
    button = CreateWindowExA(0, "BUTTON", "Button1", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                             kButtonLeft, kButtonTop, 40, 20, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), GetModuleHandleA(NULL),
                             NULL);
    PumpMessages(50);
    ClearEvents();
}

void ColorPickerTest::TearDown()
{
    HWND popup;
    while ((popup = OpenPopup()) != NULL)
        DestroyWindow(popup);
    DestroyWindow(parent);
    PumpMessages(20);
}

void ColorPickerTest::PlaceButtonAt(int x, int y)
{
    SetWindowPos(parent, NULL, x - kButtonLeft, y - kButtonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages(20);
}

HWND ColorPickerTest::PressButton()
{
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    return OpenPopup();
}

HWND ColorPickerTest::OpenPopup() const
{
    return FindThreadWindow(kPopupClassName);
}

void MoveOver(HWND popup, int x, int y)
{
    SendMessageA(popup, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void ClickOn(HWND popup, int x, int y)
{
    SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}
