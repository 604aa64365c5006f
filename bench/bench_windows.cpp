#include "bench/bench_windows.h"

#include <stdio.h>
#include <string.h>

#include "bench/window_board.h"

namespace {

// One board for the benchmark's process, shared with each owner process it starts.
WindowBoard* Board()
{
    static WindowBoard* board = NULL;
    if (!board)
    {
        char name[64];
        BoardObjectName(name, sizeof(name), GetCurrentProcessId(), "board");
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(WindowBoard), name);
        board = static_cast<WindowBoard*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    return board;
}

HANDLE CreateBoardEvent(const char* what, BOOL manualReset)
{
    char name[64];
    BoardObjectName(name, sizeof(name), GetCurrentProcessId(), what);
    return CreateEventA(NULL, manualReset, FALSE, name);
}

}  // namespace

DWORD WINAPI CWindowOwner::ServeOnThread(LPVOID param)
{
    CWindowOwner* self = static_cast<CWindowOwner*>(param);
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    SetEvent(self->done);
    ServeWindows(Board(), self->done, self->idle);
    return 0;
}

CWindowOwner::CWindowOwner(WindowOwnerKind ownerKind)
    : kind(ownerKind), batches(0), owner(NULL), ownerThreadId(0), done(NULL), idle(NULL)
{
    WindowBoard* board = Board();
    memset(board->activations, 0, sizeof(board->activations));
    memset(board->paints, 0, sizeof(board->paints));
    RegisterBenchClass(board);
    if (kind == kPagerThread)
        return;
    done = CreateBoardEvent("done", FALSE);
    idle = CreateBoardEvent("idle", TRUE);
    if (kind == kOtherThread)
        StartThread();
    else
        StartProcess();
    WaitForSingleObject(done, INFINITE);
}

void CWindowOwner::StartThread()
{
    owner = CreateThread(NULL, 0, ServeOnThread, this, 0, &ownerThreadId);
}

void CWindowOwner::StartProcess()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/')
        --length;
    path[length] = '\0';
    char command[MAX_PATH + 64];
    snprintf(command, sizeof(command), "\"%spager_bench_owner.exe\" %lu", path,
             static_cast<unsigned long>(GetCurrentProcessId()));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    {
        fprintf(stderr, "cannot start %s\n", command);
        ExitProcess(1);
    }
    CloseHandle(process.hThread);
    owner = process.hProcess;
    ownerThreadId = process.dwThreadId;
}

CWindowOwner::~CWindowOwner()
{
    if (kind == kPagerThread)
    {
        for (HWND window : windows)
            DestroyWindow(window);
        PumpPending();
        return;
    }
    PostToOwner(kDestroyMessage);
    PostToOwner(WM_QUIT);
    WaitForSingleObject(owner, INFINITE);
    CloseHandle(owner);
    CloseHandle(done);
    CloseHandle(idle);
}

void CWindowOwner::PostToOwner(UINT message)
{
    PostThreadMessageA(ownerThreadId, message, 0, 0);
}

void CWindowOwner::MarkVisible(const std::vector<HWND>& list)
{
    for (HWND window : list)
        SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_VISIBLE);
}

std::vector<HWND> CWindowOwner::Create(int count, const char* prefix, bool visible, BatchLayout layout)
{
    WindowBoard* board = Board();
    board->batch = batches++;
    board->count = count < kMaxBatchWindows ? count : kMaxBatchWindows;
    board->visible = visible;
    board->layout = layout;
    snprintf(board->prefix, sizeof(board->prefix), "%s", prefix);
    if (kind == kPagerThread)
    {
        MakeBatch(board);
    }
    else
    {
        PostToOwner(kMakeMessage);
        WaitForSingleObject(done, INFINITE);
    }
    std::vector<HWND> made;
    for (int i = 0; i < board->count; ++i)
        made.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(board->made[i])));
    if (kind == kPagerThread)
        windows.insert(windows.end(), made.begin(), made.end());
    return made;
}

void CWindowOwner::WaitUntilIdle()
{
    if (kind == kPagerThread)
    {
        PumpPending();
        return;
    }
    // The wake-up message comes after everything sent or posted before it.
    ResetEvent(idle);
    PostToOwner(kWakeMessage);
    WaitForSingleObject(idle, INFINITE);
}

LONG CWindowOwner::Activations(int batch) const
{
    return InterlockedCompareExchange(&Board()->activations[batch], 0, 0);
}

LONG CWindowOwner::Paints(int batch) const
{
    return InterlockedCompareExchange(&Board()->paints[batch], 0, 0);
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
