// The palette popup: its colours, placement, hover frame, hit mapping, the
// eyedropper and how it closes.
#include "color_picker_fixture.h"
#include "support/event_log.h"
#include "support/modal_driver.h"
#include "support/test_window.h"
#include "support/window_pixels.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

RECT SquareRect(int column, int row)
{
    return RECT{1 + 10 * column, 20 + 10 * row, 12 + 10 * column, 31 + 10 * row};
}

bool Inside(const RECT& rect, POINT point)
{
    return PtInRect(&rect, point) != FALSE;
}

// A top-level window filled with one colour, for the eyedropper.
class ColouredWindow
{
public:
    ColouredWindow(COLORREF colour, int x, int y) : brush(CreateSolidBrush(colour))
    {
        RegisterTestClass(kClass, DefWindowProcA, brush);
        window = CreateWindowExA(WS_EX_TOPMOST, kClass, "target", WS_POPUP | WS_VISIBLE, x, y, 60, 60, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
        UpdateWindow(window);
        PumpMessages(50);
    }
    ~ColouredWindow()
    {
        DestroyWindow(window);
        UnregisterClassA(kClass, GetModuleHandleA(NULL));  // the next one brings its own brush
        DeleteObject(brush);
    }
    HWND window;

private:
    static constexpr const char* kClass = "EyedropperTarget";
    HBRUSH brush;
};

class PalettePopupTest : public ColorPickerTest
{
protected:
    HWND OpenPainted(COLORREF colour = RGB(1, 2, 3))
    {
        colorButton.Attach(button, colour);
        HWND popup = PressButton();
        if (popup)
            UpdateWindow(popup);
        PumpMessages(30);
        return popup;
    }
};

TEST_F(PalettePopupTest, PaletteHoldsTheWebColoursRowByRow)
{
    CColorPickerPopup popup;
    EXPECT_EQ(0x00000000u, popup.colors[0]);
    EXPECT_EQ(0x0000FF00u, popup.colors[5]);
    EXPECT_EQ(0x00000033u, popup.colors[6]);
    EXPECT_EQ(0x0000FF66u, popup.colors[17]);
    EXPECT_EQ(0x00000099u, popup.colors[18]);
    EXPECT_EQ(0x0000FFFFu, popup.colors[35]);
    EXPECT_EQ(0x00330000u, popup.colors[36]);
    EXPECT_EQ(0x00FFFFFFu, popup.colors[215]);
    for (int a = 0; a < kPaletteSize; ++a)
        for (int b = a + 1; b < kPaletteSize; ++b)
            ASSERT_NE(popup.colors[a], popup.colors[b]) << a << " " << b;
    EXPECT_EQ(NULL, popup.hwnd);
    EXPECT_EQ(-1, popup.hoverColumn);
    EXPECT_EQ(-1, popup.hoverRow);
}

TEST_F(PalettePopupTest, PaintsSquaresInBlackFramesAndTheMoreColoursBox)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    WindowPixels pixels(popup);
    ASSERT_EQ(183, pixels.width);
    ASSERT_EQ(142, pixels.height);
    const int samples[][2] = {{0, 0}, {5, 0}, {17, 0}, {0, 1}, {9, 6}, {17, 11}};
    for (const auto& sample : samples)
    {
        RECT square = SquareRect(sample[0], sample[1]);
        EXPECT_EQ(colorButton.popup.colors[sample[0] + 18 * sample[1]], pixels.At(square.left + 5, square.top + 5))
            << sample[0] << "," << sample[1];
        EXPECT_EQ(kBlack, pixels.At(square.left, square.top + 5));
        EXPECT_EQ(kBlack, pixels.At(square.left + 5, square.bottom - 1));
    }
    EXPECT_EQ(kBlack, pixels.At(165, 10));  // box frame
    EXPECT_EQ(kBlack, pixels.At(180, 10));
    EXPECT_EQ(kBlack, pixels.At(171, 4));   // triangle, tall at its left
    EXPECT_EQ(kBlack, pixels.At(171, 14));
    EXPECT_EQ(kBlack, pixels.At(176, 9));
    EXPECT_NE(kBlack, pixels.At(176, 8));
    EXPECT_EQ(GetSysColor(COLOR_MENU), pixels.At(10, 10));  // no swatch before the mouse moves
}

TEST_F(PalettePopupTest, OpensBelowWithRoomForItsHeightElseAbove)
{
    const int screenBottom = GetSystemMetrics(SM_CYSCREEN);
    colorButton.Attach(button, kBlack);

    PlaceButtonAt(300, screenBottom - 144 - 20);  // bottom edge 144 above the screen's
    HWND popup = PressButton();
    ASSERT_NE(nullptr, popup);
    RECT where;
    GetWindowRect(popup, &where);
    EXPECT_EQ(300, where.left);
    EXPECT_EQ(screenBottom - 144, where.top);
    EXPECT_EQ(185, where.right - where.left);
    EXPECT_EQ(144, where.bottom - where.top);
    DestroyWindow(popup);

    PlaceButtonAt(300, screenBottom - 143 - 20);
    popup = PressButton();
    ASSERT_NE(nullptr, popup);
    GetWindowRect(popup, &where);
    EXPECT_EQ(300, where.left);
    EXPECT_EQ(screenBottom - 143 - 20 - 144, where.top);
}

TEST_F(PalettePopupTest, TakesTheMouseAndTheKeyboard)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(popup, GetCapture());
    EXPECT_EQ(popup, GetFocus());
    EXPECT_EQ(popup, colorButton.popup.hwnd);
    EXPECT_EQ(&colorButton.popup, GetPropA(popup, "clrpick_this"));
}

TEST_F(PalettePopupTest, HoverFramesOneSquareAndRedrawsOnlyTheTwoThatChange)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    MoveOver(popup, 35, 65);  // square (3, 4)
    EXPECT_EQ(colorButton.popup.colors[3 + 18 * 4], colorButton.popup.selectedColor);
    WindowPixels onFirst(popup);
    RECT first = SquareRect(3, 4);
    EXPECT_EQ(kWhite, onFirst.At(first.left, first.top + 3));
    EXPECT_EQ(colorButton.popup.selectedColor, onFirst.At(10, 10));  // swatch
    EXPECT_EQ(kBlack, onFirst.At(2, 2));

    MoveOver(popup, 38, 68);  // same square
    EXPECT_TRUE(DifferingPoints(onFirst, WindowPixels(popup)).empty());

    MoveOver(popup, 45, 65);  // square (4, 4)
    WindowPixels onSecond(popup);
    RECT second = SquareRect(4, 4);
    RECT swatch = {2, 2, 50, 18};
    bool firstChanged = false, secondChanged = false;
    for (POINT point : DifferingPoints(onFirst, onSecond))
    {
        firstChanged |= Inside(first, point);
        secondChanged |= Inside(second, point);
        EXPECT_TRUE(Inside(first, point) || Inside(second, point) || Inside(swatch, point))
            << point.x << "," << point.y;
    }
    EXPECT_TRUE(firstChanged);
    EXPECT_TRUE(secondChanged);
    EXPECT_EQ(kBlack, onSecond.At(first.left, first.top + 3));
    EXPECT_EQ(kWhite, onSecond.At(second.right - 1, second.top + 3));
}

TEST_F(PalettePopupTest, SharedFrameLinesBelongToTheSquareLeftAndBelow)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    CColorPickerPopup& state = colorButton.popup;
    struct Case
    {
        int x, y, column, row;
    } cases[] = {
        {2, 20, 0, 0}, {11, 29, 0, 0}, {12, 25, 1, 0}, {11, 30, 0, 1}, {181, 139, 17, 11},
    };
    for (const Case& c : cases)
    {
        MoveOver(popup, c.x, c.y);
        EXPECT_EQ(c.column, state.hoverColumn) << c.x << "," << c.y;
        EXPECT_EQ(c.row, state.hoverRow) << c.x << "," << c.y;
        EXPECT_EQ(state.colors[c.column + 18 * c.row], state.selectedColor);
    }

    // Right of the last column: nothing changes.
    MoveOver(popup, 182, 60);
    EXPECT_EQ(17, state.hoverColumn);
    EXPECT_EQ(state.colors[215], state.selectedColor);
    // The left margin, the bottom rows and the top strip drop the frame but keep the colour.
    const POINT noSquare[] = {{1, 60}, {60, 140}, {60, 10}};
    for (POINT point : noSquare)
    {
        MoveOver(popup, 35, 65);
        COLORREF kept = state.selectedColor;
        MoveOver(popup, point.x, point.y);
        EXPECT_EQ(-1, state.hoverColumn) << point.x << "," << point.y;
        EXPECT_EQ(-1, state.hoverRow);
        EXPECT_EQ(kept, state.selectedColor);
    }
    WindowPixels pixels(popup);
    EXPECT_EQ(kBlack, pixels.At(SquareRect(3, 4).left, 65));
}

TEST_F(PalettePopupTest, FirstHoverOfANewOpeningFramesTheSquare)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    MoveOver(popup, 55, 75);  // square (5, 5)
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);

    popup = PressButton();
    ASSERT_NE(nullptr, popup);
    UpdateWindow(popup);
    MoveOver(popup, 55, 75);
    RECT square = SquareRect(5, 5);
    EXPECT_EQ(kWhite, WindowPixels(popup).At(square.left, square.top + 5));
}

TEST_F(PalettePopupTest, EyedropperPicksTheScreenPixelAndAClickDeliversIt)
{
    PlaceButtonAt(100, 100);
    ColouredWindow target(RGB(12, 34, 56), 600, 500);
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    POINT onTarget = {630, 530};
    ScreenToClient(popup, &onTarget);
    MoveOver(popup, onTarget.x, onTarget.y);
    EXPECT_EQ(RGB(12, 34, 56), colorButton.popup.selectedColor);
    EXPECT_EQ(RGB(12, 34, 56), WindowPixels(popup).At(25, 10));
    EXPECT_EQ(-1, colorButton.popup.hoverColumn);

    ClickOn(popup, onTarget.x, onTarget.y);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(RGB(12, 34, 56), colorButton.color);
    EXPECT_EQ(std::vector<std::string>{"command 1009 0 button"}, EventsWithPrefix("command"));
}

TEST_F(PalettePopupTest, PointOffEveryScreenKeepsTheColour)
{
    HWND popup = OpenPainted(RGB(1, 2, 3));
    ASSERT_NE(nullptr, popup);
    MoveOver(popup, -20000, -20000);
    EXPECT_EQ(RGB(1, 2, 3), colorButton.popup.selectedColor);
}

TEST_F(PalettePopupTest, ClickOnASquareDeliversItsColourAndCloses)
{
    HWND popup = OpenPainted();
    ASSERT_NE(nullptr, popup);
    MoveOver(popup, 95, 125);  // square (9, 10)
    ClickOn(popup, 95, 125);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(colorButton.popup.colors[9 + 18 * 10], colorButton.color);
    EXPECT_EQ(1u, EventsWithPrefix("command").size());
}

TEST_F(PalettePopupTest, EscapeClosesWithoutAChoice)
{
    HWND popup = OpenPainted(RGB(1, 2, 3));
    ASSERT_NE(nullptr, popup);
    MoveOver(popup, 35, 65);
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(RGB(1, 2, 3), colorButton.color);
    EXPECT_TRUE(EventsWithPrefix("command").empty());
}

TEST_F(PalettePopupTest, MoreColoursBoxRunsTheColourDialogWhileThePopupWaits)
{
    HWND popup = OpenPainted(RGB(1, 2, 3));
    ASSERT_NE(nullptr, popup);
    bool popupAlive = false;
    HWND captureDuringDialog = popup;
    ModalDriver driver;
    driver.Then([] { return FindThreadDialog(); },
                [&](HWND dialog) {
                    popupAlive = IsWindow(popup) != FALSE;
                    captureDuringDialog = GetCapture();
                    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                });
    ClickOn(popup, 170, 10);
    EXPECT_TRUE(driver.AllStepsRan());
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_TRUE(popupAlive);
    // The colour dialog has the mouse to itself.
    EXPECT_NE(popup, captureDuringDialog);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(RGB(1, 2, 3), colorButton.color);
    EXPECT_TRUE(EventsWithPrefix("command").empty());
}

}  // namespace
