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
    return DefWindowProcA(window, message, wParam, lParam);
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
    // Tiled over the screen in small windows, so that a shown window covers few others.
    const int width = 40, height = 30, columns = 32, rows = 34;
    for (int i = 0; i < board->count; ++i)
    {
        char title[64];
        snprintf(title, sizeof(title), "%s %04d - Bench Document", board->prefix, i);
        int place = board->batch * board->count + i;
        HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPED | WS_CAPTION,
                                      (place % columns) * width, (place / columns % rows) * height, width, height,
                                      NULL, NULL, GetModuleHandleA(NULL), NULL);
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
