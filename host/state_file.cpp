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

// Puts what was written to the file on the disk.
static bool FlushFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BOOL flushed = FlushFileBuffers(file);
    CloseHandle(file);
    return flushed != FALSE;
}

void SaveStateFile(IBarPlugin* plugin, const char* path)
{
    char partPath[MAX_PATH + 8];
    // Cut, the part file's name could be the state file's own.
    int length = snprintf(partPath, sizeof(partPath), "%s.part", path);
    if (length < 0 || length >= static_cast<int>(sizeof(partPath)))
    {
        HostLog("cannot save: the path %s is too long; it is kept", path);
        return;
    }
    IStream* stream = NULL;
    if (FAILED(SHCreateStreamOnFileA(partPath, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, &stream)))
    {
        HostLog("cannot write %s", partPath);
        return;
    }
    HRESULT result = plugin->Save(stream);
    if (SUCCEEDED(result))
        result = stream->Commit(STGC_DEFAULT);
    DWORD size = StreamSize(stream);
    stream->Release();
    // Only a whole state file, on the disk, takes the old one's place.
    if (FAILED(result) || !FlushFile(partPath))
    {
        HostLog("Save failed: %ld; %s is kept", result, path);
        DeleteFileA(partPath);
        return;
    }
    if (!MoveFileExA(partPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        HostLog("cannot replace %s", path);
        DeleteFileA(partPath);
        return;
    }
    HostLog("Save: %lu bytes to %s: %ld", static_cast<unsigned long>(size), path, result);
}
