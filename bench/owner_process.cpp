// The window owner process of the benchmark: an idle application's message
// loop over windows that the benchmark asks it to make.
//
//   pager_bench_owner <benchmark process id>
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "bench/window_board.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    DWORD bench = static_cast<DWORD>(strtoul(argv[1], NULL, 10));
    char name[64];
    BoardObjectName(name, sizeof(name), bench, "board");
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    BoardObjectName(name, sizeof(name), bench, "done");
    HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    BoardObjectName(name, sizeof(name), bench, "idle");
    HANDLE idle = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (!mapping || !done || !idle)
        return 1;
    WindowBoard* board = static_cast<WindowBoard*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    RegisterBenchClass(board);
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    SetEvent(done);
    ServeWindows(board, done, idle);
    return 0;
}
