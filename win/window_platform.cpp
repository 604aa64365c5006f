#include "win/window_platform.h"

namespace {

CWindowPlatform g_systemPlatform;
CWindowPlatform* g_platform = &g_systemPlatform;

const LONG kLevelDenied = -1;   // the process or its token is closed to us
const LONG kLevelUnknown = -2;  // a system without integrity levels

// The integrity level's RID of a process's token.
LONG IntegrityLevel(HANDLE process)
{
    HANDLE token = NULL;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return GetLastError() == ERROR_ACCESS_DENIED ? kLevelDenied : kLevelUnknown;
    union
    {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD size = 0;
    LONG level = kLevelUnknown;
    if (GetTokenInformation(token, TokenIntegrityLevel, &buffer, sizeof(buffer), &size))
    {
        PSID sid = buffer.label.Label.Sid;
        UCHAR count = *GetSidSubAuthorityCount(sid);
        if (count > 0)
            level = static_cast<LONG>(*GetSidSubAuthority(sid, count - 1));
    }
    CloseHandle(token);
    return level;
}

}  // namespace

DWORD CWindowPlatform::OwnerThread(HWND window)
{
    return GetWindowThreadProcessId(window, NULL);
}

bool CWindowPlatform::Request(HWND window, int command)
{
    SetLastError(ERROR_SUCCESS);
    return ShowWindowAsync(window, command) || GetLastError() != ERROR_ACCESS_DENIED;
}

ProbeAnswer CWindowPlatform::Probe(HWND window, UINT timeoutMs)
{
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer))
        return kProbeAnswered;
    return IsWindow(window) ? kProbeTimedOut : kProbeGone;
}

bool CWindowPlatform::ProcessOutranksUs(DWORD processId)
{
    if (processId == GetCurrentProcessId())
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    LONG theirs = IntegrityLevel(process);
    CloseHandle(process);
    if (theirs == kLevelDenied)
        return true;
    LONG ours = IntegrityLevel(GetCurrentProcess());
    return theirs != kLevelUnknown && ours >= 0 && theirs > ours;
}

CWindowPlatform& WindowPlatform()
{
    return *g_platform;
}

void SetWindowPlatform(CWindowPlatform* platform)
{
    g_platform = platform ? platform : &g_systemPlatform;
}

void CarryOutQueuedRequests()
{
    MSG message;
    PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_NOYIELD);
}
