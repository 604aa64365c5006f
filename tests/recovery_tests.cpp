// The recovery command: bringing back windows left hidden by a host that died.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "support/demo_host_process.h"
#include "support/pager_module.h"
#include "support/test_window.h"
#include "win/window_title.h"

namespace {

typedef void(CALLBACK* RecoverWindowsProc)(HWND, HINSTANCE, LPSTR, int);

class RecoveryTest : public ::testing::Test
{
protected:
    PagerModule module;
    RecoverWindowsProc recover = NULL;

    void SetUp() override
    {
        recover = reinterpret_cast<RecoverWindowsProc>(
            reinterpret_cast<void*>(GetProcAddress(module.module(), "RecoverWindows")));
        ASSERT_NE(nullptr, recover);
    }
    void Run(const std::string& arguments)
    {
        std::vector<char> line(arguments.begin(), arguments.end());
        line.push_back('\0');
        recover(NULL, NULL, line.data(), SW_SHOWNORMAL);
    }
};

// Marked as a window that the pager parked: the list and /all offer no other.
HWND MakeWindow(const char* title, DWORD style, DWORD exStyle = 0, HWND owner = NULL)
{
    RegisterTestClass("RecoveryTestWindow", DefWindowProcA, NULL);
    HWND window = CreateWindowExA(exStyle, "RecoveryTestWindow", title, style, 0, 0, 100, 80, owner, NULL,
                                  GetModuleHandleA(NULL), NULL);
    SetPropA(window, "VirtualDesktopParked", reinterpret_cast<HANDLE>(1));
    return window;
}

TEST_F(RecoveryTest, AllShowsOnlyHiddenOrdinaryApplicationWindows)
{
    HWND ordinary = MakeWindow("ordinary", WS_OVERLAPPEDWINDOW);
    HWND untitled = MakeWindow("", WS_OVERLAPPEDWINDOW);
    HWND tool = MakeWindow("tool", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    HWND owned = MakeWindow("owned", WS_OVERLAPPEDWINDOW, 0, ordinary);
    HWND popup = MakeWindow("popup", WS_POPUP);

    Run("/all");
    EXPECT_TRUE(IsWindowVisible(ordinary));
    EXPECT_FALSE(IsWindowVisible(untitled));
    EXPECT_FALSE(IsWindowVisible(tool));
    EXPECT_FALSE(IsWindowVisible(owned));
    EXPECT_FALSE(IsWindowVisible(popup));
    for (HWND window : {ordinary, untitled, tool, owned, popup})
        DestroyWindow(window);
}

// Run only in a double-byte code page, by recovery_tests_cp932.
TEST_F(RecoveryTest, DISABLED_DoubleByteTitlesAreListedAndCutBetweenCharacters)
{
    CPINFO info = {};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2) << "code page " << GetACP();
    HWND window = MakeWindow("", WS_OVERLAPPEDWINDOW);
    SetWindowTextW(window, L"\x65e5\x672c\x8a9e");  // six bytes in code page 932
    Run("/all");
    EXPECT_TRUE(IsWindowVisible(window)) << "taken for a window without a title";
    struct Row { int size, bytes; } rows[] = {{1, 0}, {2, 0}, {3, 2}, {4, 2}, {5, 4}, {6, 4}, {7, 6}, {15, 6}};
    for (const Row& r : rows)
    {
        char title[16];
        memset(title, '#', sizeof(title));
        EXPECT_EQ(r.bytes, ReadWindowTitle(window, title, r.size)) << r.size;
        EXPECT_EQ(std::string("\x93\xfa\x96\x7b\x8c\xea", r.bytes) + '\0' + std::string(15 - r.bytes, '#'),
                  std::string(title, 16)) << r.size;
    }
    DestroyWindow(window);
}

void WriteStateFile(const char* path, const std::vector<uint32_t>& handles)
{
    std::vector<int32_t> words(27, 0);
    words[0] = 1;       // format version
    words[16] = 4;      // desktop count (after the 60-byte settings record)
    words[17] = 0;      // current desktop
    words[18 + 2] = static_cast<int32_t>(handles.size());  // all on desktop 2
    FILE* file = fopen(path, "wb");
    ASSERT_NE(nullptr, file);
    fwrite(words.data(), 4, words.size(), file);
    for (uint32_t handle : handles)
    {
        uint32_t entry[3] = {handle, 0, 0};
        fwrite(entry, 4, 3, file);
    }
    fclose(file);
}

TEST_F(RecoveryTest, StateFileFormShowsTheWindowsItRemembers)
{
    HWND remembered = MakeWindow("remembered", WS_OVERLAPPEDWINDOW);
    HWND forgotten = MakeWindow("forgotten", WS_OVERLAPPEDWINDOW);
    HWND gone = MakeWindow("gone", WS_OVERLAPPEDWINDOW);
    uint32_t goneWord = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(gone));
    DestroyWindow(gone);
    WriteStateFile("recovery-state.bin",
                   {static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(remembered)), goneWord});

    Run("/state \"recovery-state.bin\"");
    EXPECT_TRUE(IsWindowVisible(remembered));
    EXPECT_FALSE(IsWindowVisible(forgotten)) << "only the file's windows come back";

    ShowWindow(remembered, SW_HIDE);
    Run("/state recovery-state.bin");
    EXPECT_TRUE(IsWindowVisible(remembered));
    Run("/state missing-file.bin");  // nothing to read: nothing happens
    DeleteFileA("recovery-state.bin");
    DestroyWindow(remembered);
    DestroyWindow(forgotten);
}

TEST_F(RecoveryTest, StateFileWithDamagedCountsShowsNothingBeyondThem)
{
    HWND remembered = MakeWindow("remembered", WS_OVERLAPPEDWINDOW);
    std::vector<int32_t> words(27, 0);
    words[18] = -5;
    FILE* file = fopen("damaged-state.bin", "wb");
    if (!file)
        DestroyWindow(remembered);
    ASSERT_NE(nullptr, file);
    fwrite(words.data(), 4, words.size(), file);
    uint32_t entry[3] = {static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(remembered)), 0, 0};
    fwrite(entry, 4, 3, file);
    fclose(file);

    Run("/state damaged-state.bin");
    EXPECT_FALSE(IsWindowVisible(remembered));
    DeleteFileA("damaged-state.bin");
    DestroyWindow(remembered);
}

// Drives the recovery window from inside its modal loop.
struct Picker
{
    HWND target;
    int ticks;
    bool sawWindow;
    bool shownWhileOpen;
} g_picker;

void CALLBACK PickTarget(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Recover hidden windows");
    if (++g_picker.ticks > 100 || !dialog)
    {
        if (dialog)
            EndDialog(dialog, IDCANCEL);  // a way out whatever happens
        return;
    }
    g_picker.sawWindow = true;
    HWND list = GetDlgItem(dialog, 1201);
    LRESULT item = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>("pick me"));
    if (item != LB_ERR)
    {
        SendMessageA(list, LB_SETSEL, TRUE, item);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1202, BN_CLICKED), 0);
        g_picker.shownWhileOpen = IsWindowVisible(g_picker.target) != FALSE;
        // The list is refilled: the window shown has left it.
        EXPECT_EQ(LB_ERR, SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>("pick me")));
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST_F(RecoveryTest, ListShowsThePickedWindowOnly)
{
    HWND picked = MakeWindow("pick me", WS_OVERLAPPEDWINDOW);
    HWND other = MakeWindow("leave me", WS_OVERLAPPEDWINDOW);
    g_picker = {picked, 0, false, false};
    UINT_PTR timer = SetTimer(NULL, 0, 50, PickTarget);
    Run("");
    KillTimer(NULL, timer);
    EXPECT_TRUE(g_picker.sawWindow);
    EXPECT_TRUE(g_picker.shownWhileOpen);
    EXPECT_TRUE(IsWindowVisible(picked));
    EXPECT_FALSE(IsWindowVisible(other));
    DestroyWindow(picked);
    DestroyWindow(other);
}

// A host process that hid this process's windows and then died.
class DeadHostTest : public RecoveryTest
{
protected:
    std::string statePath = TempFilePath("recovery-host-state.bin");
    std::string otherState = TempFilePath("recovery-other-host-state.bin");
    TestWindow first{kTestWindowClass, "left behind 1", true};
    TestWindow second{kTestWindowClass, "left behind 2", true};

    void TearDown() override { DeleteFileA(statePath.c_str()); DeleteFileA(otherState.c_str()); }

    // Starts a demo host on a fresh state and clicks its third cell: it parks every window on screen.
    void Park(DemoHostProcess& parker, const std::string& state, const std::wstring& folder = L"")
    {
        DeleteFileA(state.c_str());
        ASSERT_TRUE(parker.Start("--dll pager.dll --state \"" + state + "\"", folder));
        ASSERT_NE((HWND)NULL, parker.WaitForBar());
        ASSERT_TRUE(parker.ClickCell(2));
        ASSERT_NE("", parker.WaitForLog("Save: "));
        PumpMessages(300);
        ASSERT_NE((HANDLE)NULL, parker.Watcher());
    }

    // The host and its watcher die together.
    void HideByAHostThatDies()
    {
        DemoHostProcess host;
        Park(host, statePath);
        TerminateProcess(host.Watcher(), 1);
        WaitForSingleObject(host.Watcher(), 5000);
        host.Kill();
        PumpMessages(300);
        ASSERT_FALSE(first.IsVisible()) << "nobody brought them back";
        ASSERT_FALSE(second.IsVisible());
    }

    // Runs the system's rundll32 with the module's recovery command.
    void RunDll32(const std::string& arguments)
    {
        char dllPath[MAX_PATH];
        GetModuleFileNameA(module.module(), dllPath, sizeof(dllPath));
        std::string line = std::string("rundll32.exe \"") + dllPath + "\",RecoverWindows " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
        // Our windows answer the recovery's calls only while we pump.
        for (int i = 0; i < 200 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; ++i)
            PumpMessages(50);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        if (code == STILL_ACTIVE)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        ASSERT_NE(STILL_ACTIVE, code) << "rundll32 did not finish";
        PumpMessages(200);
    }
};

TEST_F(DeadHostTest, StateFileFormBringsTheWindowsBack)
{
    HideByAHostThatDies();
    if (HasFatalFailure())
        return;
    RunDll32("/state \"" + statePath + "\"");
    EXPECT_TRUE(first.IsVisible());
    EXPECT_TRUE(second.IsVisible());
}

TEST_F(DeadHostTest, AllFormBringsTheWindowsBack)
{
    HideByAHostThatDies();
    if (HasFatalFailure())
        return;
    RunDll32("/all");
    EXPECT_TRUE(first.IsVisible());
    EXPECT_TRUE(second.IsVisible());
}

// However a host ends, its watcher ends within 2 s with the host's windows back (shown by the
// watcher, or by the pager when released) and another host's left parked.
TEST_F(DeadHostTest, WatcherShowsOnlyItsOwnHostsWindowsWhenTheHostEnds)
{
    for (const char* way : {"killed", "ExitProcess", "released"})
    {
        DemoHostProcess ending, other;
        Park(ending, statePath);
        TestWindow third(kTestWindowClass, "parked by the other host", true);
        Park(other, otherState);
        if (way[0] == 'k')
            ending.Kill();
        else if (way[0] == 'E')  // called by a thread of the host
            CloseHandle(CreateRemoteThread(ending.processHandle(), NULL, 0,
                reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(&ExitProcess)), NULL, 0, NULL));
        else
            ending.CloseAndWait();
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ending.Watcher(), 2000)) << way;
        PumpMessages(300);
        EXPECT_TRUE(first.IsVisible() && second.IsVisible() && !third.IsVisible()) << way;
    }
}

// As Task Manager's "End process tree": the host and every process descended from it.
void EndProcessTree(DWORD root)
{
    std::vector<DWORD> tree = {root};
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof(entry)};
    for (size_t grown = 0; grown != tree.size();)
    {
        grown = tree.size();
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            if (std::count(tree.begin(), tree.end(), entry.th32ParentProcessID) &&
                !std::count(tree.begin(), tree.end(), entry.th32ProcessID))
                tree.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    for (DWORD id : tree)
    {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

// The watcher outlives its host's process tree; a second host that loads the
// state of a host that died without its watcher takes the windows over.
TEST_F(DeadHostTest, WindowsComeBackAfterTheHostsTreeEndsAndAfterASecondHostLoadsTheState)
{
    DemoHostProcess host;
    Park(host, statePath);
    EndProcessTree(host.processId());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(host.Watcher(), 5000)) << "the watcher ended with the tree";
    PumpMessages(300);
    EXPECT_TRUE(first.IsVisible() && second.IsVisible()) << "after the tree ended";

    HideByAHostThatDies();
    DemoHostProcess next;
    ASSERT_TRUE(next.Start("--dll pager.dll --state \"" + statePath + "\""));
    ASSERT_NE((HWND)NULL, next.WaitForBar());
    ASSERT_NE((HANDLE)NULL, next.Watcher());
    next.Kill();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(next.Watcher(), 5000));
    PumpMessages(300);
    EXPECT_TRUE(first.IsVisible() && second.IsVisible()) << "after the second host died";
}

// The module's path holds characters that no ANSI code page of the west has.
TEST_F(DeadHostTest, WatcherRunsFromAFolderNamedOutsideTheAnsiCodePage)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"\x0391\x03b2\x03b3-\x0416\x0443\x0440";
    CreateDirectoryW(folder.c_str(), NULL);
    for (const wchar_t* file : {L"demo_host.exe", L"pager.dll"})
        ASSERT_TRUE(CopyFileW(file, (folder + L"\\" + file).c_str(), FALSE));
    {
        DemoHostProcess host;
        Park(host, statePath, folder);
        host.Kill();
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(host.Watcher(), 5000));
        PumpMessages(300);
        EXPECT_TRUE(first.IsVisible() && second.IsVisible());
    }
    for (const wchar_t* file : {L"demo_host.exe", L"pager.dll"})
        DeleteFileW((folder + L"\\" + file).c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
