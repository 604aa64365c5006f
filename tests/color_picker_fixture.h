// A top-level window holding one push button (id 1009, 40 x 20 pixels) that a
// test turns into a colour button. The window logs the WM_COMMAND
// notifications it receives as "command <id> <code> <from the button?>".
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "colorpicker/color_button.h"

const int kButtonId = 1009;

class ColorPickerTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Moves the parent so that the button's screen rectangle starts at (x, y).
    void PlaceButtonAt(int x, int y);
    // Opens the palette as a left press does; the popup window or null.
    HWND PressButton();
    HWND OpenPopup() const;

    HWND parent = NULL;
    HWND button = NULL;
    CColorButton colorButton;
};

// Moves the mouse over the popup (client coordinates) as the capture would report it.
void MoveOver(HWND popup, int x, int y);
void ClickOn(HWND popup, int x, int y);
