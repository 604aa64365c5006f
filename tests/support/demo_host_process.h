// The demo host run as its own process, with its trace read back from its log.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

class DemoHostProcess
{
public:
    DemoHostProcess();
    ~DemoHostProcess();  // ends a host that is still running
    DemoHostProcess(const DemoHostProcess&) = delete;
    DemoHostProcess& operator=(const DemoHostProcess&) = delete;

    // Starts demo_host.exe from the test program's folder, or from `folder`,
    // with `arguments` and a log of its own; false when the process cannot be started.
    bool Start(const std::string& arguments, const std::wstring& folder = L"");

    // The bar window, once the host shows it (waits up to 10 s).
    HWND WaitForBar();
    // A top-level window of the host of this class, or null.
    HWND FindWindowOfClass(const char* className) const;

    std::vector<std::string> LogLines() const;
    // The first log line that starts with `prefix`, waiting up to 10 s; "" if none.
    std::string WaitForLog(const std::string& prefix);
    // Position of the first line starting with `prefix`, or -1.
    int LogIndex(const std::string& prefix) const;

    // Asks the bar to close as a user would, and waits up to 10 s for the
    // process; any message box it shows meanwhile is dismissed. The exit code,
    // or STILL_ACTIVE when it did not end.
    DWORD CloseAndWait();
    DWORD WaitForExit();
    // Moves the mouse onto cell `index` of the bar and clicks it, as a user
    // would; false when the host logged no rectangle for that cell.
    bool ClickCell(int index);
    // Ends the process at once, as a crash would: no clean-up of its own runs.
    void Kill();

    DWORD processId() const { return process.dwProcessId; }
    HANDLE processHandle() const { return process.hProcess; }
    // The watcher process the pager started for this host, or null.
    HANDLE Watcher();

private:
    PROCESS_INFORMATION process;
    HANDLE watcher;
    std::string logPath;
    HWND bar;
};

// A fresh path in the temporary folder (the file does not exist).
std::string TempFilePath(const char* name);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
