#include "host/state_file.h"

#include <shlwapi.h>
#include <stdio.h>

#include "host/host_log.h"

static DWORD StreamSize(IStream* stream)
{
    STATSTG status;
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)))
        return 0;
    return static_cast<DWORD>(status.cbSize.QuadPart);
}

void LoadStateFile(IBarPlugin* plugin, const char* path)
{
    IStream* stream = NULL;
    if (FAILED(SHCreateStreamOnFileA(path, STGM_READ | STGM_SHARE_DENY_WRITE, &stream)))
    {
        HostLog("no saved state in %s", path);
        return;
    }
    DWORD size = StreamSize(stream);
    if (size == 0)
        HostLog("no saved state in %s (empty file)", path);
    else
    {
        HRESULT result = plugin->Load(stream);
        HostLog("Load: %lu bytes from %s: %ld", static_cast<unsigned long>(size), path, result);
    }
    stream->Release();
}

void SaveStateFile(IBarPlugin* plugin, const char* path)
{
    char partPath[MAX_PATH + 8];
    snprintf(partPath, sizeof(partPath), "%s.part", path);
    IStream* stream = NULL;
    if (FAILED(SHCreateStreamOnFileA(partPath, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, &stream)))
    {
        HostLog("cannot write %s", partPath);
        return;
    }
    HRESULT result = plugin->Save(stream);
    DWORD size = StreamSize(stream);
    stream->Release();
    if (FAILED(result))
    {
        HostLog("Save failed: %ld; %s is kept", result, path);
        DeleteFileA(partPath);
        return;
    }
    if (!MoveFileExA(partPath, path, MOVEFILE_REPLACE_EXISTING))
    {
        HostLog("cannot replace %s", path);
        DeleteFileA(partPath);
        return;
    }
    HostLog("Save: %lu bytes to %s: %ld", static_cast<unsigned long>(size), path, result);
}
