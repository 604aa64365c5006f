// Paint of a 3x3 grid into a memory device context, a thousand times per
// sample, against the same brushes, fills and text drawn directly.
#include "bench/bench_cases.h"

#include <stdio.h>
#include <string.h>

#include "bench/bench_pager.h"
#include "bench/bench_stats.h"
#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "support/dib_canvas.h"

namespace {

const int kPaintsPerSample = 1000;
const int kCells = 9;

// The cells as the pager lays them out and colours them, drawn with bare GDI calls.
struct FloorGrid
{
    HFONT font;
    RECT cells[kCells];
    COLORREF colours[kCells];
    const char* texts[kCells];

    void Paint(HDC hdc) const
    {
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        for (int i = 0; i < kCells; ++i)
        {
            HGDIOBJ previousFont = SelectObject(hdc, font);
            HBRUSH brush = CreateSolidBrush(colours[i]);
            HGDIOBJ previousBrush = SelectObject(hdc, brush);
            FillRect(hdc, &cells[i], brush);
            SetTextColor(hdc, RGB(0, 0, 0));
            DrawTextA(hdc, texts[i], -1, const_cast<RECT*>(&cells[i]), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
            SelectObject(hdc, previousBrush);
            DeleteObject(brush);
            SelectObject(hdc, previousFont);
        }
    }
};

}  // namespace

void RunPaintCase(const BenchOptions& options)
{
    CBenchPager pager(60);
    CPagerPlugin* object = pager.object();
    // Nine desktops in three columns; desktop 0 current, 2 and 5 occupied, 4 under the mouse.
    g_desktopTable.ChangeCount(kCells);
    object->settings.columns = 3;
    pager.LayOut();
    CTableLists lists;
    lists.SetWindowCount(2, 1);
    lists.SetWindowCount(5, 1);
    lists.Put();
    RECT hovered;
    pager->GetItemInfo(kItemRect, 4, &hovered);
    pager->OnMouseMove(0, hovered.left + 1, hovered.top + 1);

    static const char* const kNumbers[kCells] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    FloorGrid floorGrid;
    floorGrid.font = object->font.font;
    for (int i = 0; i < kCells; ++i)
    {
        pager->GetItemInfo(kItemRect, static_cast<UINT>(i), &floorGrid.cells[i]);
        floorGrid.texts[i] = kNumbers[i];
        const PagerSettings& s = object->settings;
        floorGrid.colours[i] = i == 4 ? s.hoverColor
                             : i == 0 ? s.currentColor
                             : (i == 2 || i == 5) ? s.occupiedColor
                                                  : s.emptyColor;
    }

    DibCanvas canvas(3 * object->font.cellWidth, 3 * object->font.cellHeight);
    DibCanvas check(3 * object->font.cellWidth, 3 * object->font.cellHeight);
    POINT origin = {0, 0};
    pager->Paint(canvas.dc(), &origin);
    floorGrid.Paint(check.dc());
    if (!canvas.SamePixels(check))
        fprintf(stderr, "paint: the floor draws other pixels than the pager\n");
    Row row;
    row.name = "Paint, 3x3 grid, 1000 paints per sample";
    row.count = kPaintsPerSample;
    row.unit = "paint";
    row.unitsPerSample = kPaintsPerSample;
    row.samples = Interleave(
        options.quick ? 5 : 15,
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] {
                for (int i = 0; i < kPaintsPerSample; ++i)
                    pager->Paint(canvas.dc(), &origin);
                GdiFlush();
            }));
        },
        [&](std::vector<double>& samples) {
            samples.push_back(TimeOf([&] {
                for (int i = 0; i < kPaintsPerSample; ++i)
                    floorGrid.Paint(canvas.dc());
                GdiFlush();
            }));
        });
    PrintRow(row);
    ForgetAllWindows();
}
