#include "win/window_platform.h"

#include "win/handle_scope.h"

namespace {

CWindowPlatform g_systemPlatform;
CWindowPlatform* g_platform = &g_systemPlatform;

const LONG kLevelDenied = -1;   // the process or its token is closed to us
const LONG kLevelUnknown = -2;  // a system without integrity levels
const LONG kLevelUnread = -3;

// The integrity level's RID of a process's token.
LONG IntegrityLevel(HANDLE process)
{
    HANDLE opened = NULL;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened))
        return GetLastError() == ERROR_ACCESS_DENIED ? kLevelDenied : kLevelUnknown;
    CHandleScope token(opened);
    union
    {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD size = 0;
    LONG level = kLevelUnknown;
    if (GetTokenInformation(token.get(), TokenIntegrityLevel, &buffer, sizeof(buffer), &size))
    {
        PSID sid = buffer.label.Label.Sid;
        UCHAR count = *GetSidSubAuthorityCount(sid);
        if (count > 0)
            level = static_cast<LONG>(*GetSidSubAuthority(sid, count - 1));
    }
    return level;
}

// This process's level never changes: read once.
LONG OurIntegrityLevel()
{
    static volatile LONG ours = kLevelUnread;
    if (ours == kLevelUnread)
        InterlockedExchange(&ours, IntegrityLevel(GetCurrentProcess()));
    return ours;
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
    CHandleScope process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.get())
        return GetLastError() == ERROR_ACCESS_DENIED;
    LONG theirs = IntegrityLevel(process.get());
    if (theirs == kLevelDenied)
        return true;
    LONG ours = OurIntegrityLevel();
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
