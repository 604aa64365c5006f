// The colour button: subclassing, its painting, notifications, the palette
// on a left press and the system colour dialog.
#include <windows.h>
#include <commdlg.h>
#include <string.h>

#include "color_picker_fixture.h"
#include "support/event_log.h"
#include "support/modal_driver.h"
#include "support/test_window.h"
#include "support/window_pixels.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const char kNotification[] = "command 1009 0 button";

// Sits between the colour button and the standard button procedure and logs
// what reaches the standard button.
WNDPROC g_buttonProc = NULL;
LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_LBUTTONDOWN: LogEvent("standard WM_LBUTTONDOWN"); break;
    case WM_LBUTTONUP: LogEvent("standard WM_LBUTTONUP"); break;
    case WM_MOUSEMOVE: LogEvent("standard WM_MOUSEMOVE"); break;
    case WM_PAINT: LogEvent("standard WM_PAINT"); break;
    case WM_KEYDOWN: LogEvent("standard WM_KEYDOWN"); break;
    }
    return CallWindowProcA(g_buttonProc, window, message, wParam, lParam);
}

// What the system colour dialog was opened with, seen in its WM_INITDIALOG.
struct ChooseColorSeen
{
    bool seen = false;
    HWND owner = NULL;
    DWORD flags = 0;
    COLORREF initial = 0;
    COLORREF custom[16] = {};
};
ChooseColorSeen g_chooseColor;

LRESULT CALLBACK WatchInitDialog(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && call->lParam)
    {
        const CHOOSECOLORA* choose = reinterpret_cast<const CHOOSECOLORA*>(call->lParam);
        if (choose->lStructSize == sizeof(CHOOSECOLORA) && choose->lpCustColors)
        {
            g_chooseColor.seen = true;
            g_chooseColor.owner = choose->hwndOwner;
            g_chooseColor.flags = choose->Flags;
            g_chooseColor.initial = choose->rgbResult;
            memcpy(g_chooseColor.custom, choose->lpCustColors, sizeof(g_chooseColor.custom));
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

class ColorButtonTest : public ColorPickerTest
{
protected:
    void Repaint()
    {
        InvalidateRect(button, NULL, TRUE);
        UpdateWindow(button);
    }
};

TEST_F(ColorButtonTest, AttachSubclassesTheButtonAndBindsTheObject)
{
    CColorButton unattached;
    EXPECT_EQ(RGB(0, 0, 255), unattached.color);
    EXPECT_EQ(NULL, unattached.hwnd);

    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC));
    colorButton.Attach(button, kRed);
    EXPECT_EQ(button, colorButton.hwnd);
    EXPECT_EQ(kRed, colorButton.color);
    EXPECT_EQ(original, colorButton.prevWndProc);
    EXPECT_EQ(&colorButton, GetPropA(button, "CColorButtonThis"));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(CColorButton::SubclassProc), GetWindowLongPtrA(button, GWLP_WNDPROC));
}

TEST_F(ColorButtonTest, PaintsColourFrameAndDropArrow)
{
    colorButton.Attach(button, kRed);
    Repaint();
    WindowPixels pixels(button);
    ASSERT_EQ(40, pixels.width);
    ASSERT_EQ(20, pixels.height);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);

    EXPECT_EQ(kRed, pixels.At(10, 10));
    EXPECT_EQ(kRed, pixels.At(30, 12));
    // Raised edge: highlight on the left and top, the shadow lies past the client area.
    EXPECT_EQ(highlight, pixels.At(0, 0));
    EXPECT_EQ(highlight, pixels.At(39, 0));
    EXPECT_EQ(highlight, pixels.At(0, 19));
    // The face ring takes the last column and row.
    EXPECT_EQ(face, pixels.At(1, 1));
    EXPECT_EQ(face, pixels.At(39, 10));
    EXPECT_EQ(face, pixels.At(20, 19));
    // Sunken ring: shadow left and top, highlight right and bottom.
    EXPECT_EQ(shadow, pixels.At(2, 10));
    EXPECT_EQ(shadow, pixels.At(20, 2));
    EXPECT_EQ(highlight, pixels.At(38, 10));
    EXPECT_EQ(highlight, pixels.At(20, 18));
    // The drop-arrow box: its highlight corner, then the triangle 5, 3 and 1 wide.
    EXPECT_EQ(highlight, pixels.At(32, 15));
    EXPECT_EQ(highlight, pixels.At(37, 14));
    EXPECT_EQ(face, pixels.At(33, 16));
    for (int x = 34; x <= 38; ++x)
        EXPECT_EQ(text, pixels.At(x, 16)) << x;
    EXPECT_EQ(face, pixels.At(39, 16));
    EXPECT_EQ(face, pixels.At(34, 17));
    for (int x = 35; x <= 37; ++x)
        EXPECT_EQ(text, pixels.At(x, 17)) << x;
    EXPECT_EQ(face, pixels.At(38, 17));
    EXPECT_EQ(face, pixels.At(35, 18));
    EXPECT_EQ(text, pixels.At(36, 18));
    EXPECT_EQ(face, pixels.At(37, 18));
}

TEST_F(ColorButtonTest, ArrowStaysInTheCornerOfALargerButton)
{
    SetWindowPos(button, NULL, 0, 0, 64, 30, SWP_NOMOVE | SWP_NOZORDER);
    colorButton.Attach(button, kRed);
    Repaint();
    WindowPixels pixels(button);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(text, pixels.At(58, 26));
    EXPECT_EQ(text, pixels.At(62, 26));
    EXPECT_EQ(text, pixels.At(60, 28));
    EXPECT_EQ(kRed, pixels.At(50, 20));
}

TEST_F(ColorButtonTest, SetColorAlwaysNotifiesAndRepaints)
{
    colorButton.Attach(button, kRed);
    UpdateWindow(button);
    ClearEvents();

    SendMessageA(button, CBM_SETCOLOR, kRed, 0);
    EXPECT_EQ(std::vector<std::string>{kNotification}, Events());
    RECT dirty;
    EXPECT_TRUE(GetUpdateRect(button, &dirty, FALSE));

    SendMessageA(button, CBM_SETCOLOR, RGB(0, 128, 0), 0);
    EXPECT_EQ(RGB(0, 128, 0), colorButton.color);
    UpdateWindow(button);
    EXPECT_EQ(RGB(0, 128, 0), WindowPixels(button).At(10, 10));
    EXPECT_EQ(2u, EventsWithPrefix("command").size());
}

TEST_F(ColorButtonTest, LeftPressOpensThePaletteWithoutTheStandardButton)
{
    g_buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpyProc)));
    colorButton.Attach(button, kRed);
    ClearEvents();

    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    HWND popup = PressButton();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(kRed, colorButton.popup.selectedColor);
    EXPECT_EQ(button, colorButton.popup.ownerButton);
    EXPECT_EQ(0, SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_NE(button, GetFocus());
    Repaint();
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<std::string>{"standard WM_LBUTTONUP"}, EventsWithPrefix("standard"));
}

TEST_F(ColorButtonTest, SpaceBarDoesNotOpenThePalette)
{
    colorButton.Attach(button, kRed);
    SetForegroundWindow(parent);
    SetFocus(button);
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    PumpMessages(20);
    EXPECT_EQ(nullptr, OpenPopup());
    EXPECT_EQ(kRed, colorButton.color);
}

TEST_F(ColorButtonTest, ColourDialogOpensExpandedOnTheCurrentColour)
{
    colorButton.Attach(button, RGB(10, 20, 30));
    g_chooseColor = ChooseColorSeen();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchInitDialog, NULL, GetCurrentThreadId());
    std::string red;
    ModalDriver driver;
    driver.Then([] { return FindThreadDialog(); },
                [&](HWND dialog) {
                    char text[16];
                    GetDlgItemTextA(dialog, 706, text, sizeof(text));  // the red field
                    red = text;
                    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                });
    SendMessageA(button, CBM_CHOOSECOLOR, 0, 0);
    UnhookWindowsHookEx(hook);

    EXPECT_TRUE(driver.AllStepsRan());
    EXPECT_FALSE(driver.GaveUp());
    ASSERT_TRUE(g_chooseColor.seen);
    EXPECT_EQ(button, g_chooseColor.owner);
    EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR),
              g_chooseColor.flags & (CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR | CC_PREVENTFULLOPEN));
    EXPECT_EQ(RGB(10, 20, 30), g_chooseColor.initial);
    for (COLORREF custom : g_chooseColor.custom)
        EXPECT_EQ(0u, custom);
    EXPECT_EQ("10", red);
    // Cancelled: nothing changes and nobody is told.
    EXPECT_EQ(RGB(10, 20, 30), colorButton.color);
    EXPECT_TRUE(EventsWithPrefix("command").empty());
}

TEST_F(ColorButtonTest, AcceptedColourDialogNotifiesAlsoWithoutAChange)
{
    colorButton.Attach(button, RGB(10, 20, 30));
    const int kAddToCustomColors = 712;
    ModalDriver driver;
    driver.Then([] { return FindThreadDialog(); },
                [&](HWND dialog) {
                    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kAddToCustomColors, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kAddToCustomColors)));
                    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                });
    SendMessageA(button, CBM_CHOOSECOLOR, 0, 0);
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_EQ(RGB(10, 20, 30), colorButton.color);
    EXPECT_EQ(std::vector<std::string>{kNotification}, EventsWithPrefix("command"));

    // Custom colours defined last time are not offered again.
    g_chooseColor = ChooseColorSeen();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchInitDialog, NULL, GetCurrentThreadId());
    ModalDriver again;
    again.Then([] { return FindThreadDialog(); },
               [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    SendMessageA(button, CBM_CHOOSECOLOR, 0, 0);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(g_chooseColor.seen);
    for (COLORREF custom : g_chooseColor.custom)
        EXPECT_EQ(0u, custom);
}

}  // namespace
