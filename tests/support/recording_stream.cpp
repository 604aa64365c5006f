#include "support/recording_stream.h"

#include <string.h>
#include <string>

#include "plugin/bar_interfaces.h"
#include "support/event_log.h"

HRESULT STDMETHODCALLTYPE RecordingStream::QueryInterface(REFIID, void** ppv)
{
    LogEvent("stream.QueryInterface");
    *ppv = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingStream::AddRef()
{
    LogEvent("stream.AddRef");
    return 2;
}

ULONG STDMETHODCALLTYPE RecordingStream::Release()
{
    LogEvent("stream.Release");
    return 1;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    LogEvent("stream.Read(" + std::to_string(cb) + ")");
    size_t end = endAt < bytes.size() ? endAt : bytes.size();
    size_t available = position < end ? end - position : 0;
    ULONG got = cb < available ? cb : static_cast<ULONG>(available);
    memcpy(pv, bytes.data() + position, got);
    position += got;
    ULONG reported = got;
    if (readCalls++ == shortReportCall && reported > 0)
        --reported;
    if (pcbRead)
        *pcbRead = reported;
    return reported == cb ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    LogEvent("stream.Write(" + std::to_string(cb) + ")");
    const unsigned char* data = static_cast<const unsigned char*>(pv);
    if (bytes.size() < position + cb)
        bytes.resize(position + cb);
    memcpy(bytes.data() + position, data, cb);
    position += cb;
    if (pcbWritten)
        *pcbWritten = cb;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*)
{
    LogEvent("stream.Seek");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::SetSize(ULARGE_INTEGER)
{
    LogEvent("stream.SetSize");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*)
{
    LogEvent("stream.CopyTo");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Commit(DWORD)
{
    LogEvent("stream.Commit");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Revert()
{
    LogEvent("stream.Revert");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    LogEvent("stream.LockRegion");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    LogEvent("stream.UnlockRegion");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Stat(STATSTG*, DWORD)
{
    LogEvent("stream.Stat");
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingStream::Clone(IStream** clone)
{
    LogEvent("stream.Clone");
    *clone = NULL;
    return E_NOTIMPL;
}

std::vector<unsigned char> StreamBytes(IStream* stream)
{
    std::vector<unsigned char> result;
    HGLOBAL memory = NULL;
    if (FAILED(GetHGlobalFromStream(stream, &memory)))
        return result;
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    const unsigned char* data = static_cast<const unsigned char*>(GlobalLock(memory));
    result.assign(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return result;
}

IStream* StreamWithBytes(const std::vector<unsigned char>& bytes)
{
    IStream* stream = NULL;
    if (FAILED(CreateStreamOnHGlobal(NULL, TRUE, &stream)))
        return NULL;
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, NULL);
    return stream;
}

std::vector<unsigned char> SavedBytes(IBarPlugin* pager)
{
    std::vector<unsigned char> saved;
    IStream* stream = StreamWithBytes({});
    if (!stream)
        return saved;
    pager->Save(stream);
    saved = StreamBytes(stream);
    stream->Release();
    return saved;
}
