// The pager's grid: layout against the font the screen really measures,
// painted pixels, hover tracking, cell rectangles and click switching.
#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "support/dib_canvas.h"
#include "support/event_log.h"
#include "support/lock_probe.h"
#include "support/owned_pager.h"
#include "support/recording_site.h"
#include "support/test_window.h"

namespace {

const COLORREF kBackground = RGB(255, 0, 255);

int LayOut(CPagerPlugin* pager, int barHeight, DWORD flags = kInfoWidth)
{
    BarInfo info;
    memset(&info, 0, sizeof(info));
    info.flags = flags;
    info.height = barHeight;
    pager->GetInfo(&info);
    EXPECT_EQ(barHeight, info.height);
    return info.width;
}

// Width of "9" in this font on the screen, as the cell size is measured.
int DigitWidth(HFONT font)
{
    HDC screen = GetDC(NULL);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen, "9", 1, &size);
    SelectObject(screen, previous);
    ReleaseDC(NULL, screen);
    return size.cx;
}

// Another thread cannot enter the section while some thread holds it; called
// from the pager's thread, that holder can only be the pager's own call.
bool LockIsHeld(CRITICAL_SECTION* section)
{
    return !LockIsFree(section, 10000);
}

class GridTest : public ::testing::Test
{
protected:
    OwnedPager pager;
    RecordingSite site;

    void SetUp() override
    {
        ASSERT_NE(nullptr, pager.get());
        ClearEvents();
        RECT bar = {0, 0, 400, 100};
        pager->SetRect(&bar);
        pager->SetSite(&site);
    }

    void UseGrid(int desktops, int columns, int barHeight)
    {
        g_desktopTable.Reset(desktops);
        pager->settings.columns = columns;
        LayOut(pager.get(), barHeight);
    }

    RECT CellAt(int originX, int originY, int index) const
    {
        int w = pager->font.cellWidth;
        int h = pager->font.cellHeight;
        int x = originX + (index % pager->columnsInUse) * w;
        int y = originY + (index / pager->columnsInUse) * h;
        RECT cell = {x, y, x + w, y + h};
        return cell;
    }

    // Every pixel of the cell's outline has this colour: the digit stays
    // inside, and the fill reaches every edge.
    void ExpectOutline(const DibCanvas& canvas, const RECT& cell, COLORREF colour, const char* what)
    {
        for (int x = cell.left; x < cell.right; ++x)
        {
            ASSERT_EQ(colour, canvas.Pixel(x, cell.top)) << what << " top x=" << x;
            ASSERT_EQ(colour, canvas.Pixel(x, cell.bottom - 1)) << what << " bottom x=" << x;
        }
        for (int y = cell.top; y < cell.bottom; ++y)
        {
            ASSERT_EQ(colour, canvas.Pixel(cell.left, y)) << what << " left y=" << y;
            ASSERT_EQ(colour, canvas.Pixel(cell.right - 1, y)) << what << " right y=" << y;
        }
    }
};

TEST_F(GridTest, LayoutFollowsTheMeasuredFont)
{
    struct Case
    {
        int desktops, columns, barHeight, columnsInUse, rows;
    };
    const Case cases[] = {
        {4, 2, 30, 2, 2}, {5, 2, 40, 2, 3}, {4, 9, 12, 4, 1}, {4, 3, 30, 3, 2},
        {9, 4, 50, 4, 3}, {1, 1, 20, 1, 1}, {9, 9, 17, 9, 1}, {7, 0, 33, 1, 7},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.desktops << " desktops, columns " << c.columns
                                        << ", bar height " << c.barHeight);
        g_desktopTable.Reset(c.desktops);
        pager->settings.columns = c.columns;
        int width = LayOut(pager.get(), c.barHeight);
        EXPECT_EQ(c.columnsInUse, pager->columnsInUse);
        EXPECT_EQ(c.rows, pager->rows);
        int cellHeight = c.barHeight / c.rows;
        EXPECT_EQ(cellHeight, pager->font.cellHeight);

        LOGFONTA logFont;
        ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObjectA(pager->font.font, sizeof(logFont), &logFont));
        EXPECT_EQ(cellHeight * 3 / 4, logFont.lfHeight);
        EXPECT_EQ(700, logFont.lfWeight);
        EXPECT_EQ(ANSI_CHARSET, logFont.lfCharSet);
        EXPECT_EQ(OUT_CHARACTER_PRECIS, logFont.lfOutPrecision);
        EXPECT_EQ(ANTIALIASED_QUALITY, logFont.lfQuality);
        EXPECT_STREQ("Tahoma", logFont.lfFaceName);

        int digit = DigitWidth(pager->font.font);
        EXPECT_GT(digit, 0);
        int expectedWidth = digit + 2 > cellHeight ? digit + 2 : cellHeight;
        EXPECT_EQ(expectedWidth, pager->font.cellWidth);
        EXPECT_GE(pager->font.cellWidth, pager->font.cellHeight);
        EXPECT_EQ(c.columnsInUse * expectedWidth, width);
    }
}

TEST_F(GridTest, EitherFlagLaysOutAndTheFontLivesUntilTheNextLayout)
{
    g_desktopTable.Reset(4);
    int width = LayOut(pager.get(), 30, kInfoWidthAlt);
    EXPECT_EQ(2 * pager->font.cellWidth, width);
    EXPECT_EQ(15, pager->font.cellHeight);
    HFONT first = pager->font.font;
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(first));

    LayOut(pager.get(), 60);
    EXPECT_EQ(30, pager->font.cellHeight);
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(pager->font.font));
    if (pager->font.font != first)
        EXPECT_EQ(0u, GetObjectType(first)) << "the previous layout's font is deleted";

    BarInfo info;
    memset(&info, 0, sizeof(info));
    info.height = 90;
    pager->GetInfo(&info);
    EXPECT_EQ(30, pager->font.cellHeight) << "no width flag, no layout";
    EXPECT_EQ(0, info.width);
}

// Small bar heights give cells whose digit is wider than high: the cell then
// takes the digit's width plus 2, otherwise it is square.
TEST_F(GridTest, CellIsNeverNarrowerThanHighNorThanItsDigit)
{
    g_desktopTable.Reset(1);
    pager->settings.columns = 1;
    bool sawSquare = false;
    bool sawWide = false;
    for (int height = 1; height <= 60; ++height)
    {
        LayOut(pager.get(), height);
        int digit = DigitWidth(pager->font.font);
        ASSERT_EQ(height, pager->font.cellHeight);
        if (digit + 2 > height)
        {
            sawWide = true;
            EXPECT_EQ(digit + 2, pager->font.cellWidth) << "height " << height;
        }
        else
        {
            sawSquare = true;
            EXPECT_EQ(height, pager->font.cellWidth) << "height " << height;
        }
    }
    EXPECT_TRUE(sawSquare);
    EXPECT_TRUE(sawWide);
}

TEST_F(GridTest, PaintsEachCellInItsColourFromTheOrigin)
{
    UseGrid(5, 2, 60);  // 3 rows of 20 pixels; the sixth place stays empty
    ASSERT_EQ(2, pager->columnsInUse);
    ASSERT_EQ(3, pager->rows);
    CTableLists lists;
    lists.SetWindowCount(2, 1);
    lists.SetWindowCount(0, 3);  // the current desktop keeps its own colour
    lists.Put();
    pager->OnMouseMove(0, pager->font.cellWidth + 1, pager->font.cellHeight + 1);  // cell 3
    ASSERT_EQ(3, pager->hoverIndex);

    DibCanvas canvas(200, 120);
    canvas.Fill(kBackground);
    site.writesTextColor = true;
    site.textColor = RGB(255, 255, 255);
    POINT origin = {10, 5};
    ClearEvents();
    EXPECT_EQ(0, pager->Paint(canvas.dc(), &origin));
    EXPECT_EQ(std::vector<std::string>{"site.GetTextColor"}, Events());

    const PagerSettings& s = pager->settings;
    const COLORREF fills[5] = {s.currentColor, s.emptyColor, s.occupiedColor, s.hoverColor, s.emptyColor};
    for (int i = 0; i < 5; ++i)
    {
        SCOPED_TRACE(testing::Message() << "cell " << i);
        RECT cell = CellAt(origin.x, origin.y, i);
        ExpectOutline(canvas, cell, fills[i], "fill");
        EXPECT_GT(canvas.CountInRect(cell, RGB(0, 0, 0)), 0) << "the number is black on a white bar";
    }
    RECT missing = CellAt(origin.x, origin.y, 5);
    EXPECT_EQ((missing.right - missing.left) * (missing.bottom - missing.top),
              canvas.CountInRect(missing, kBackground));
    // Nothing left of, above, right of or below the grid.
    EXPECT_EQ(kBackground, canvas.Pixel(origin.x - 1, origin.y));
    EXPECT_EQ(kBackground, canvas.Pixel(origin.x, origin.y - 1));
    EXPECT_EQ(kBackground, canvas.Pixel(origin.x + 2 * pager->font.cellWidth, origin.y));
    EXPECT_EQ(kBackground, canvas.Pixel(origin.x, origin.y + 3 * pager->font.cellHeight));
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc()));
}

TEST_F(GridTest, HoverOverTheCurrentCellWins)
{
    UseGrid(4, 2, 40);
    pager->settings.hoverColor = RGB(10, 200, 30);
    pager->OnMouseMove(0, 1, 1);
    ASSERT_EQ(0, pager->hoverIndex);
    DibCanvas canvas(100, 60);
    canvas.Fill(kBackground);
    POINT origin = {0, 0};
    pager->Paint(canvas.dc(), &origin);
    ExpectOutline(canvas, CellAt(0, 0, 0), RGB(10, 200, 30), "hovered current cell");
    ExpectOutline(canvas, CellAt(0, 0, 1), pager->settings.emptyColor, "empty cell");
}

TEST_F(GridTest, PaintingGivesBackWhatItSelectsAndWorksWithoutSiteOrLayout)
{
    DibCanvas canvas(100, 60);
    canvas.Fill(kBackground);
    POINT origin = {0, 0};
    pager->SetSite(NULL);
    pager->Paint(canvas.dc(), &origin);  // no layout yet: cells of size 0
    EXPECT_EQ(100 * 60, canvas.CountInRect(RECT{0, 0, 100, 60}, kBackground));

    UseGrid(4, 2, 40);
    HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
    HGDIOBJ brush = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    pager->Paint(canvas.dc(), &origin);
    EXPECT_EQ(font, GetCurrentObject(canvas.dc(), OBJ_FONT));
    EXPECT_EQ(brush, GetCurrentObject(canvas.dc(), OBJ_BRUSH));
    ExpectOutline(canvas, CellAt(0, 0, 0), pager->settings.currentColor, "without a site");
    EXPECT_TRUE(Events().empty());
}

struct BrushRecords
{
    std::vector<bool> isBrush;  // by metafile object index
    int created = 0;
    int deleted = 0;
    int fontsDeleted = 0;
};

int CALLBACK CountBrushRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM parameter)
{
    BrushRecords* counts = reinterpret_cast<BrushRecords*>(parameter);
    if (record->iType == EMR_CREATEBRUSHINDIRECT)
    {
        DWORD index = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(record)->ihBrush;
        counts->isBrush.resize(std::max<size_t>(counts->isBrush.size(), index + 1));
        counts->isBrush[index] = true;
        ++counts->created;
    }
    else if (record->iType == EMR_DELETEOBJECT)
    {
        DWORD index = reinterpret_cast<const EMRDELETEOBJECT*>(record)->ihObject;
        if (index < counts->isBrush.size() && counts->isBrush[index])
        {
            counts->isBrush[index] = false;
            ++counts->deleted;
        }
        else
        {
            ++counts->fontsDeleted;
        }
    }
    return 1;
}

// A metafile records every object a drawing creates and deletes.
TEST_F(GridTest, EachCellCreatesAndDeletesOneBrush)
{
    UseGrid(5, 2, 60);
    HDC metafile = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, metafile);
    POINT origin = {0, 0};
    pager->Paint(metafile, &origin);
    HENHMETAFILE recorded = CloseEnhMetaFile(metafile);
    ASSERT_NE(nullptr, recorded);
    BrushRecords counts;
    EnumEnhMetaFile(NULL, recorded, CountBrushRecord, &counts, NULL);
    DeleteEnhMetaFile(recorded);
    EXPECT_EQ(5, counts.created);
    EXPECT_EQ(5, counts.deleted);
    EXPECT_EQ(0, counts.fontsDeleted) << "the cell font lives until the next layout";
}

TEST_F(GridTest, HoverRefreshesOnlyWhenTheCellChanges)
{
    UseGrid(5, 2, 60);
    int w = pager->font.cellWidth;
    int h = pager->font.cellHeight;
    pager->OnMouseMove(0, 2, 2);
    pager->OnMouseMove(0, w - 1, h - 1);
    EXPECT_EQ(0, pager->hoverIndex);
    EXPECT_EQ(1, site.refreshCount);

    pager->OnMouseMove(0, w + 2, 2 * h + 2);  // the missing sixth place
    EXPECT_EQ(-1, pager->hoverIndex);
    EXPECT_EQ(2, site.refreshCount);
    pager->OnMouseLeave(0);
    EXPECT_EQ(2, site.refreshCount) << "nothing was hovered";

    pager->OnMouseMove(0, 2, h + 2);
    EXPECT_EQ(2, pager->hoverIndex);
    pager->OnMouseLeave(0);
    EXPECT_EQ(-1, pager->hoverIndex);
    EXPECT_EQ(4, site.refreshCount);
    for (const std::string& event : Events())
        EXPECT_EQ("site.Refresh(2)", event);
}

TEST_F(GridTest, HitTestCountsFromTheBarRectangle)
{
    RECT bar = {100, 50, 300, 110};
    pager->SetRect(&bar);
    UseGrid(4, 2, 60);
    int w = pager->font.cellWidth;
    int h = pager->font.cellHeight;
    EXPECT_EQ(0, pager->HitTest(100, 50));
    EXPECT_EQ(1, pager->HitTest(100 + w, 50));
    EXPECT_EQ(3, pager->HitTest(100 + 2 * w - 1, 50 + 2 * h - 1));
    EXPECT_EQ(0, pager->HitTest(100 - w / 2, 51)) << "less than a cell to the left is column 0";
    EXPECT_EQ(-1, pager->HitTest(100, 50 + 2 * h)) << "below the last row";
    EXPECT_LT(pager->HitTest(100, 50 - 3 * h), -1) << "well above the grid: no cell";
    EXPECT_LT(pager->HitTest(INT_MIN, INT_MIN), 0);
    EXPECT_EQ(-1, pager->HitTest(INT_MAX, INT_MAX));
}

TEST_F(GridTest, CellRectanglesFillTheGridRowByRow)
{
    RECT bar = {100, 7, 300, 67};
    pager->SetRect(&bar);
    UseGrid(4, 3, 60);
    ASSERT_EQ(3, pager->columnsInUse);
    int w = pager->font.cellWidth;
    int h = pager->font.cellHeight;
    RECT rect;
    ASSERT_EQ(0, pager->GetItemInfo(kItemRect, 0, &rect));
    EXPECT_EQ(100, rect.left);
    EXPECT_EQ(7, rect.top);
    EXPECT_EQ(100 + w, rect.right);
    EXPECT_EQ(7 + h, rect.bottom);
    ASSERT_EQ(0, pager->GetItemInfo(kItemRect, 3, &rect));
    EXPECT_EQ(100, rect.left) << "cell 3 lies directly below cell 0";
    EXPECT_EQ(7 + h, rect.top);
    ASSERT_EQ(0, pager->GetItemInfo(kItemRect, 2, &rect));
    EXPECT_EQ(100 + 2 * w, rect.left);
    EXPECT_EQ(7, rect.top);
    pager->GetItemInfo(kItemRect, 0xFFFFFFFFu, &rect);  // no bound, no fault
}

// A damaged stream can leave no desktop or a negative column number behind.
TEST_F(GridTest, DegenerateCountsLayOutOneCellWide)
{
    g_desktopTable.Reset(0);
    pager->settings.columns = 2;
    LayOut(pager.get(), 30);
    EXPECT_EQ(1, pager->rows);
    EXPECT_EQ(1, pager->columnsInUse);
    EXPECT_EQ(30, pager->font.cellHeight);

    g_desktopTable.Reset(4);
    for (int columns : {-3, -1, INT_MIN, 0})
    {
        pager->settings.columns = columns;
        LayOut(pager.get(), 30);
        EXPECT_EQ(1, pager->columnsInUse) << columns;
        EXPECT_EQ(4, pager->rows) << columns;
    }
    pager->settings.columns = 2;
    for (int height : {0, -40, INT_MAX, INT_MIN})
    {
        LayOut(pager.get(), height);
        EXPECT_EQ(height / 2, pager->font.cellHeight);
        EXPECT_GE(pager->font.cellWidth, 2);
    }
}

TEST_F(GridTest, FaceNameWithoutNulIsCutToTheField)
{
    memset(pager->settings.faceName, 'A', sizeof(pager->settings.faceName));
    g_desktopTable.Reset(4);
    LayOut(pager.get(), 30);
    LOGFONTA logFont;
    ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObjectA(pager->font.font, sizeof(logFont), &logFont));
    EXPECT_EQ(std::string(31, 'A'), logFont.lfFaceName);
}

class ClickTest : public GridTest
{
protected:
    TestWindow bar{"PagerTestBar", "Bar", true};
    HWND barChild = NULL;
    TestWindow first{kTestWindowClass, "First", true};
    TestWindow second{kTestWindowClass, "Second", true};
    std::vector<bool> lockHeld;

    void SetUp() override
    {
        GridTest::SetUp();
        barChild = CreateWindowExA(0, "STATIC", "cells", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, bar.hwnd(),
                                   NULL, GetModuleHandleA(NULL), NULL);
        HWND inner = CreateWindowExA(0, "STATIC", "inner", WS_CHILD | WS_VISIBLE, 0, 0, 20, 10, barChild,
                                     NULL, GetModuleHandleA(NULL), NULL);
        site.barWindow = inner;
        site.onCall = [this](const char*) { lockHeld.push_back(LockIsHeld(pager->lock.Raw())); };
        UseGrid(4, 2, 40);
        PumpMessages(50);
        ClearEvents();
    }
};

TEST_F(ClickTest, ClickOnAnotherCellCallsTheSiteUnderThePagerLock)
{
    int w = pager->font.cellWidth;
    int h = pager->font.cellHeight;
    pager->OnMouseMove(0, w + 1, h + 1);
    ClearEvents();
    lockHeld.clear();

    EXPECT_EQ(0, pager->OnClick(0, w + 1, h + 1));  // cell 3
    EXPECT_EQ(3, g_desktopTable.Current());
    EXPECT_EQ(3, pager->hoverIndex) << "a click leaves the hover alone";
    std::vector<std::string> calls = EventsWithPrefix("site.");
    EXPECT_EQ((std::vector<std::string>{"site.GetBarWindow", "site.OnStateChanged", "site.Refresh(2)"}), calls);
    ASSERT_EQ(3u, lockHeld.size());
    for (bool held : lockHeld)
        EXPECT_TRUE(held);
    EXPECT_FALSE(LockIsHeld(pager->lock.Raw())) << "released after the click";

    // The windows were hidden between asking for the bar and reporting the change.
    const std::vector<std::string>& events = Events();
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ("site.GetBarWindow", events.front());
    EXPECT_EQ("site.OnStateChanged", events[events.size() - 2]);
    std::vector<std::string> hidden = EventsWithPrefix("hide ");
    EXPECT_EQ(events.size() - 3, hidden.size());
    EXPECT_NE(hidden.end(), std::find(hidden.begin(), hidden.end(), "hide First"));
    EXPECT_NE(hidden.end(), std::find(hidden.begin(), hidden.end(), "hide Second"));
    EXPECT_FALSE(first.IsVisible());
    EXPECT_FALSE(second.IsVisible());
    EXPECT_TRUE(bar.IsVisible()) << "the bar's top-level window stays";
    EXPECT_EQ(2, CTableLists().Windows(0));

    ClearEvents();
    pager->OnClick(0, 1, 1);  // back to desktop 0
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_TRUE(first.IsVisible());
    EXPECT_TRUE(second.IsVisible());
    EXPECT_EQ("site.Refresh(2)", Events().back());
}

TEST_F(ClickTest, ClickOnTheCurrentCellOrBesideTheGridDoesNothing)
{
    int w = pager->font.cellWidth;
    int h = pager->font.cellHeight;
    pager->OnClick(0, 1, 1);                // the current desktop
    pager->OnClick(0, 1, 2 * h + 1);        // below the grid
    pager->OnClick(0, 1, -3 * h);           // far above it
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_TRUE(first.IsVisible());

    pager->SetSite(NULL);
    pager->OnClick(0, w + 1, 1);
    pager->OnMouseMove(0, w + 1, 1);
    pager->OnMouseLeave(0);
    EXPECT_EQ(0, g_desktopTable.Current()) << "without a site nothing switches";
    EXPECT_TRUE(first.IsVisible());
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_TRUE(Events().empty());
}

TEST(FindTopLevelTest, FollowsTheParentChainToItsEnd)
{
    TestWindow top(kTestWindowClass, "Top", false);
    HWND middle = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, top.hwnd(), NULL, NULL, NULL);
    HWND leaf = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, middle, NULL, NULL, NULL);
    EXPECT_EQ(top.hwnd(), CPagerPlugin::FindTopLevel(leaf));
    EXPECT_EQ(top.hwnd(), CPagerPlugin::FindTopLevel(middle));
    EXPECT_EQ(top.hwnd(), CPagerPlugin::FindTopLevel(top.hwnd()));
    EXPECT_EQ(nullptr, CPagerPlugin::FindTopLevel(NULL));
}

}  // namespace
