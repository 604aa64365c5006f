#include "bench/window_board.h"

#include <stdio.h>

#include <vector>

namespace {

const char kClassName[] = "PagerBenchWindow";
WindowBoard* g_board = NULL;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE)
        InterlockedIncrement(&g_board->activations[GetWindowLongPtrA(window, GWLP_USERDATA)]);
    else if (message == WM_PAINT)
        InterlockedIncrement(&g_board->paints[GetWindowLongPtrA(window, GWLP_USERDATA)]);
    return DefWindowProcA(window, message, wParam, lParam);
}

RECT PlaceOf(const WindowBoard* board, int i)
{
    RECT place;
    if (board->layout == kOverlappedLayout)
    {
        // Cascaded as on a desktop: each a step right of and below the one made
        // before, covering most of it, wrapping within the screen.
        const int width = 400, height = 300, step = 24;
        int roomX = GetSystemMetrics(SM_CXSCREEN) - width;
        int roomY = GetSystemMetrics(SM_CYSCREEN) - height;
        place.left = roomX > 0 ? i * step % roomX : 0;
        place.top = roomY > 0 ? i * step % roomY : 0;
        place.right = place.left + width;
        place.bottom = place.top + height;
        return place;
    }
    // Tiled over the screen in small windows, so that a shown window covers few others.
    const int width = 40, height = 30, columns = 32, rows = 34;
    int tile = board->batch * board->count + i;
    place.left = (tile % columns) * width;
    place.top = (tile / columns % rows) * height;
    place.right = place.left + width;
    place.bottom = place.top + height;
    return place;
}

}  // namespace

void RegisterBenchClass(WindowBoard* board)
{
    g_board = board;
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(NULL), kClassName, &existing))
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;  // no background brush: nothing to erase
    RegisterClassA(&wc);
}

void MakeBatch(WindowBoard* board)
{
    for (int i = 0; i < board->count; ++i)
    {
        char title[64];
        snprintf(title, sizeof(title), "%s %04d - Bench Document", board->prefix, i);
        RECT place = PlaceOf(board, i);
        HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPED | WS_CAPTION, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, NULL, NULL,
                                      GetModuleHandleA(NULL), NULL);
        SetWindowLongPtrA(window, GWLP_USERDATA, board->batch);
        if (board->visible)
            SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VISIBLE);
        board->made[i] = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(window));
    }
}

void ServeWindows(WindowBoard* board, HANDLE done, HANDLE idle)
{
    std::vector<HWND> windows;
    MSG msg;
    for (;;)
    {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
                return;
            if (msg.hwnd == NULL && msg.message == kMakeMessage)
            {
                MakeBatch(board);
                for (int i = 0; i < board->count; ++i)
                    windows.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(board->made[i])));
                SetEvent(done);
                continue;
            }
            if (msg.hwnd == NULL && msg.message == kDestroyMessage)
            {
                for (HWND window : windows)
                    DestroyWindow(window);
                windows.clear();
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        SetEvent(idle);
        MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
    }
}

void BoardObjectName(char* name, size_t size, DWORD benchProcess, const char* what)
{
    snprintf(name, size, "PagerBench.%lu.%s", static_cast<unsigned long>(benchProcess), what);
}
