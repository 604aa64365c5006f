#include "host/host_log.h"

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

static HANDLE g_logFile = INVALID_HANDLE_VALUE;

void OpenHostLog(const char* path)
{
    g_logFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
}

void CloseHostLog()
{
    if (g_logFile != INVALID_HANDLE_VALUE)
        CloseHandle(g_logFile);
    g_logFile = INVALID_HANDLE_VALUE;
}

void HostLog(const char* format, ...)
{
    if (g_logFile == INVALID_HANDLE_VALUE)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(line, sizeof(line) - 2, format, args);
    va_end(args);
    if (length < 0)
        return;
    if (length > static_cast<int>(sizeof(line)) - 3)
        length = sizeof(line) - 3;
    line[length++] = '\r';
    line[length++] = '\n';
    DWORD written;
    // Written at once, unbuffered: a test reads the file while the host runs.
    WriteFile(g_logFile, line, length, &written, NULL);
}
