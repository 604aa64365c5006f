// An IStream over a byte buffer that logs every call ("stream.Read(4)",
// "stream.Write(60)", "stream.Seek", ...) into the event log. It can end early
// and can report a short read for one chosen Read call.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <stddef.h>
#include <stdint.h>
#include <vector>

struct IBarPlugin;

class RecordingStream : public IStream
{
public:
    std::vector<unsigned char> bytes;  // what Read hands out and Write appends to
    size_t position = 0;
    size_t endAt = SIZE_MAX;           // no byte at or after this offset can be read
    int shortReportCall = -1;          // this Read call (0-based) reports one byte less
    int readCalls = 0;

    explicit RecordingStream(const std::vector<unsigned char>& content = {}) : bytes(content) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER cb, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;
};

// The whole content of an HGLOBAL stream, wherever its position stands.
std::vector<unsigned char> StreamBytes(IStream* stream);
// A new HGLOBAL stream holding these bytes, positioned at its start.
IStream* StreamWithBytes(const std::vector<unsigned char>& bytes);
// What the pager's Save writes into a new HGLOBAL stream.
std::vector<unsigned char> SavedBytes(IBarPlugin* pager);
