#include "support/demo_host_process.h"

#include <stdio.h>
#include <fstream>
#include <sstream>

#include "host/demo_bar.h"
#include "support/test_window.h"

DemoHostProcess::DemoHostProcess() : process(), watcher(NULL), bar(NULL)
{
}

DemoHostProcess::~DemoHostProcess()
{
    if (process.hProcess)
    {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (!logPath.empty())
        DeleteFileA(logPath.c_str());
    if (watcher)
        CloseHandle(watcher);
}

HANDLE DemoHostProcess::Watcher()
{
    // The watcher's claim on its host names it: it is no child of the host.
    // Two processes start before it claims, seconds each under emulation.
    char name[64];
    sprintf(name, "Local\\VirtualDesktopPagerWatch.%lu", process.dwProcessId);
    for (int i = 0; i < 600 && !watcher; ++i, Sleep(i > 1 ? 50 : 0))
    {
        HANDLE claim = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
        const DWORD* id = claim ? static_cast<const DWORD*>(MapViewOfFile(claim, FILE_MAP_READ, 0, 0, sizeof(DWORD))) : NULL;
        if (id && *id)
            watcher = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, *id);
        if (id)
            UnmapViewOfFile(id);
        if (claim)
            CloseHandle(claim);
    }
    return watcher;
}

bool DemoHostProcess::ClickCell(int index)
{
    std::string prefix = "cell " + std::to_string(index) + ": ";
    std::string line = WaitForLog(prefix);
    RECT rect = {};
    if (line.empty() || !bar ||
        sscanf(line.c_str() + prefix.size(), "%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right,
               &rect.bottom) != 4 ||
        IsRectEmpty(&rect))
        return false;
    LPARAM inside = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(bar, WM_MOUSEMOVE, 0, inside);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    PostMessageA(bar, WM_LBUTTONUP, 0, inside);
    return true;
}

void DemoHostProcess::Kill()
{
    if (process.hProcess && TerminateProcess(process.hProcess, 99))
        WaitForSingleObject(process.hProcess, 5000);
}

std::string TempFilePath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    std::string path = std::string(folder) + name;
    DeleteFileA(path.c_str());
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), bytes.size());
}

bool DemoHostProcess::Start(const std::string& arguments, const std::wstring& folder)
{
    static int started;  // a log each, for tests that run two hosts
    logPath = TempFilePath(("demo-host-test-" + std::to_string(++started) + ".log").c_str());
    std::string options = "--log \"" + logPath + "\" " + arguments;
    std::wstring program = folder.empty() ? L"demo_host.exe" : folder + L"\\demo_host.exe";
    std::wstring commandLine = L"\"" + program + L"\" " + std::wstring(options.begin(), options.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process) != FALSE;
}

struct WindowSearch
{
    DWORD processId;
    const char* className;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64];
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && lstrcmpA(className, search->className) == 0)
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND DemoHostProcess::FindWindowOfClass(const char* className) const
{
    WindowSearch search = {process.dwProcessId, className, NULL};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DemoHostProcess::WaitForBar()
{
    for (int i = 0; i < 200 && !bar; ++i)
    {
        HWND candidate = FindWindowOfClass(kDemoBarClass);
        if (candidate && IsWindowVisible(candidate))
            bar = candidate;
        else
            PumpMessages(50);
    }
    return bar;
}

std::vector<std::string> DemoHostProcess::LogLines() const
{
    std::vector<std::string> lines;
    std::istringstream content(ReadFileBytes(logPath));
    std::string line;
    while (std::getline(content, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int DemoHostProcess::LogIndex(const std::string& prefix) const
{
    std::vector<std::string> lines = LogLines();
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].compare(0, prefix.size(), prefix) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::string DemoHostProcess::WaitForLog(const std::string& prefix)
{
    for (int i = 0; i < 200; ++i)
    {
        std::vector<std::string> lines = LogLines();
        for (const std::string& line : lines)
        {
            if (line.compare(0, prefix.size(), prefix) == 0)
                return line;
        }
        PumpMessages(50);
    }
    return "";
}

DWORD DemoHostProcess::WaitForExit()
{
    for (int i = 0; i < 200; ++i)
    {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        HWND messageBox = FindWindowOfClass("#32770");
        if (messageBox)
            PostMessageA(messageBox, WM_COMMAND, IDOK, 0);
        PumpMessages(50);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

DWORD DemoHostProcess::CloseAndWait()
{
    if (bar)
        PostMessageA(bar, WM_CLOSE, 0, 0);
    return WaitForExit();
}
