// The state stream: exact bytes, one call per item, staged loading, and what
// short, truncated and damaged streams leave behind.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "win/handle32.h"
#include "support/event_log.h"
#include "support/owned_pager.h"
#include "support/recording_stream.h"
#include "support/scope_exit.h"
#include "support/state_stream_bytes.h"
#include "support/test_window.h"

namespace {

void ExpectSampleTable()
{
    CTableLists table;
    EXPECT_EQ(7, table.Count());
    EXPECT_EQ(5, table.Current());
    const int counts[kMaxDesktops] = {2, 0, 1, 0, 0, 3, 0, 0, 0};
    for (int d = 0; d < kMaxDesktops; ++d)
        EXPECT_EQ(counts[d], table.Windows(d)) << d;
    EXPECT_EQ(kNoWindow2, table.Entry(0, 1).window);
    EXPECT_EQ(0x22u, table.Entry(0, 1).reserved2);
    EXPECT_EQ(0xFFFFFFFFu, table.Entry(2, 0).reserved2);
    EXPECT_EQ(kNoWindow3, table.Entry(5, 2).window);
    EXPECT_EQ(5u, table.Entry(5, 2).reserved1);
}

void ExpectEmptyTable(int count)
{
    CTableLists table;
    EXPECT_EQ(count, table.Count());
    EXPECT_EQ(0, table.Current());
    for (int d = 0; d < kMaxDesktops; ++d)
        EXPECT_EQ(0, table.Windows(d)) << d;
}

class StateStreamTest : public ::testing::Test
{
protected:
    OwnedPager pager;

    void SetUp() override
    {
        ASSERT_NE(nullptr, pager.get());
        ClearEvents();
    }

    // Loads from a recording stream and answers the reads it was asked for.
    std::vector<std::string> LoadRecorded(RecordingStream& stream)
    {
        ClearEvents();
        EXPECT_EQ(S_OK, pager->Load(&stream));
        return Events();
    }
};

TEST_F(StateStreamTest, SavesTheExampleTableByteForByte)
{
    CTableLists table;
    table.SetCurrent(2);
    table.SetWindowCount(0, 1);
    table.Entry(0, 0) = {0x00010203, 0x11, 0x22};
    table.SetWindowCount(3, 2);
    table.Entry(3, 0) = {0x0A0B0C0D, 0, 0xFFFFFFFF};
    table.Entry(3, 1) = {0x80000001, 5, 6};
    table.Put();

    Bytes expected;
    Put32(expected, 1);
    Bytes settings = DefaultSettingsBytes();
    expected.insert(expected.end(), settings.begin(), settings.end());
    for (uint32_t word : {4u, 2u, 1u, 0u, 0u, 2u, 0u, 0u, 0u, 0u, 0u})
        Put32(expected, word);
    for (uint32_t word : {0x00010203u, 0x11u, 0x22u, 0x0A0B0C0Du, 0u, 0xFFFFFFFFu, 0x80000001u, 5u, 6u})
        Put32(expected, word);
    ASSERT_EQ(144u, expected.size());

    // Writing starts where the host left the stream.
    IStream* stream = StreamWithBytes({'a', 'b', 'c'});
    ASSERT_NE(nullptr, stream);
    LARGE_INTEGER end = {};
    end.QuadPart = 3;
    stream->Seek(end, STREAM_SEEK_SET, NULL);
    EXPECT_EQ(S_OK, pager->Save(stream));
    Bytes written = StreamBytes(stream);
    stream->Release();
    ASSERT_EQ(147u, written.size());
    EXPECT_EQ(Bytes({'a', 'b', 'c'}), Bytes(written.begin(), written.begin() + 3));
    EXPECT_EQ(expected, Bytes(written.begin() + 3, written.end()));

    RecordingStream recording;
    pager->Save(&recording);
    std::vector<std::string> calls = {"stream.Write(4)", "stream.Write(60)", "stream.Write(4)", "stream.Write(4)"};
    calls.insert(calls.end(), 9, "stream.Write(4)");
    calls.insert(calls.end(), 3, "stream.Write(12)");
    EXPECT_EQ(calls, Events()) << "one Write per item, no seek, no reference taken";
    EXPECT_EQ(expected, recording.bytes);
}

TEST_F(StateStreamTest, RoundTripRestoresEverythingAndTouchesNoWindow)
{
    TestWindow shown(kTestWindowClass, "Shown", true);
    TestWindow hidden(kTestWindowClass, "Hidden", false);
    pager->settings = OtherSettings();
    g_desktopTable.ChangeCount(9);
    CTableLists table;
    table.SetCurrent(4);
    table.SetWindowCount(1, 2);
    table.Entry(1, 0) = {HandleToWord(shown.hwnd()), 7, 8};
    table.Entry(1, 1) = {HandleToWord(hidden.hwnd()), 9, 10};
    table.SetWindowCount(8, 1);
    table.Entry(8, 0) = {HandleToWord(hidden.hwnd()), 0, 0};
    table.Put();

    IStream* stream = StreamWithBytes({});
    ScopeExit releaseStream([stream] { stream->Release(); });
    pager->Save(stream);
    Bytes saved = StreamBytes(stream);
    ASSERT_EQ(108u + 36u, saved.size());

    // Forget the lists without showing anything, then start a fresh pager.
    CTableLists forgotten;
    forgotten.Forget();
    forgotten.Put();
    OwnedPager fresh;
    ASSERT_EQ(0, memcmp(&fresh->settings, DefaultSettingsBytes().data(), 60));
    PumpMessages(20);
    ClearEvents();
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, NULL);
    EXPECT_EQ(S_OK, fresh->Load(stream));
    PumpMessages(20);
    EXPECT_TRUE(Events().empty()) << "no window shown or hidden";
    EXPECT_TRUE(shown.IsVisible());
    EXPECT_FALSE(hidden.IsVisible());

    EXPECT_EQ(0, memcmp(&fresh->settings, &pager->settings, sizeof(PagerSettings)));
    CTableLists loaded;
    EXPECT_EQ(9, loaded.Count());
    EXPECT_EQ(4, loaded.Current());
    EXPECT_EQ(2, loaded.Windows(1));
    EXPECT_EQ(1, loaded.Windows(8));
    EXPECT_EQ(HandleToWord(hidden.hwnd()), loaded.Entry(1, 1).window);
    EXPECT_EQ(10u, loaded.Entry(1, 1).reserved2);

    IStream* again = StreamWithBytes({});
    fresh->Save(again);
    EXPECT_EQ(saved, StreamBytes(again));
    again->Release();
    // Nothing for the pagers to show when they go.
    forgotten.Put();
}

TEST_F(StateStreamTest, LoadReadsOneItemPerCallAndNothingAfterTheEntries)
{
    Bytes bytes = SampleStream();
    ASSERT_EQ(kSampleLength, bytes.size());
    bytes.insert(bytes.end(), {0xEE, 0xEE, 0xEE, 0xEE});
    RecordingStream stream(bytes);
    std::vector<std::string> calls = {"stream.Read(4)", "stream.Read(60)", "stream.Read(4)", "stream.Read(4)"};
    calls.insert(calls.end(), 9, "stream.Read(4)");
    calls.insert(calls.end(), 6, "stream.Read(12)");
    EXPECT_EQ(calls, LoadRecorded(stream));
    EXPECT_EQ(kSampleLength, stream.position);
    ExpectSampleTable();
    EXPECT_EQ(0, memcmp(&pager->settings, SettingsBytes(OtherSettings()).data(), 60));
}

TEST_F(StateStreamTest, NineEmptyListsLoadCompletelyWhateverTheVersion)
{
    for (uint32_t version : {1u, 0u, 7u})
    {
        Bytes bytes = BuildStream(DefaultSettingsBytes(), 9, 8, {});
        Set32(bytes, 0, version);
        ASSERT_EQ(108u, bytes.size());
        g_desktopTable.Reset(4);
        IStream* stream = StreamWithBytes(bytes);
        pager->Load(stream);
        stream->Release();
        EXPECT_EQ(9, g_desktopTable.Count()) << version;
        EXPECT_EQ(8, g_desktopTable.Current()) << version;
    }
}

TEST_F(StateStreamTest, TruncationAtEveryOffset)
{
    const Bytes full = SampleStream();
    PagerSettings former;
    memset(&former, 0x5A, sizeof(former));
    memset(former.faceName, 0, sizeof(former.faceName));
    strcpy(former.faceName, "Tahoma");
    const Bytes formerBytes = SettingsBytes(former);
    const Bytes storedBytes = SettingsBytes(OtherSettings());

    for (size_t cut = 0; cut <= full.size(); ++cut)
    {
        SCOPED_TRACE(testing::Message() << "stream ends at " << cut);
        pager->settings = former;
        g_desktopTable.Reset(6);
        RecordingStream stream(full);
        stream.endAt = cut;
        std::vector<std::string> reads = LoadRecorded(stream);

        // The settings: what arrived, then the former bytes.
        size_t arrived = cut < 4 ? 0 : (cut > 64 ? 60 : cut - 4);
        Bytes expected(storedBytes.begin(), storedBytes.begin() + arrived);
        expected.insert(expected.end(), formerBytes.begin() + arrived, formerBytes.end());
        EXPECT_EQ(expected, SettingsBytes(pager->settings));

        if (cut < 68)
            ExpectEmptyTable(6);  // no complete count: the count in force stays
        else if (cut < full.size())
            ExpectEmptyTable(7);
        else
            ExpectSampleTable();
        // Once the counts are in, every planned entry read is made.
        if (cut >= 108)
            EXPECT_EQ(13u + 6u, reads.size());
    }
}

TEST_F(StateStreamTest, ReadsAreJudgedByTheReportedCount)
{
    const Bytes full = SampleStream();
    for (int call = 0; call < 19; ++call)
    {
        SCOPED_TRACE(testing::Message() << "read " << call << " reports a byte less");
        g_desktopTable.Reset(6);
        RecordingStream stream(full);
        stream.shortReportCall = call;
        LoadRecorded(stream);
        if (call < 2)
        {
            ExpectSampleTable();  // version and settings counts are not examined
        }
        else if (call == 2)
        {
            // A count that did not fully arrive is not used; the rest is complete.
            EXPECT_EQ(6, g_desktopTable.Count());
            EXPECT_EQ(5, g_desktopTable.Current());
            EXPECT_EQ(3, CTableLists().Windows(5));
        }
        else
        {
            ExpectEmptyTable(7);
        }
    }
}

TEST_F(StateStreamTest, StoredCountsAreBoundToTheTable)
{
    const Bytes full = SampleStream();
    // A table too small for the stored current desktop and its list loads as
    // an incomplete stream does.
    struct Case
    {
        int32_t stored;
        int expected;
        int current;
        int windows;
    };
    for (const Case& c : {Case{12, 9, 5, 3}, Case{9, 9, 5, 3}, Case{1, 1, 0, 0}, Case{0, 1, 0, 0},
                          Case{-5, 1, 0, 0}, Case{INT_MIN, 1, 0, 0}})
    {
        Bytes bytes = full;
        Set32(bytes, 64, c.stored);
        g_desktopTable.Reset(4);
        RecordingStream stream(bytes);
        LoadRecorded(stream);
        EXPECT_EQ(c.expected, g_desktopTable.Count()) << c.stored;
        EXPECT_EQ(7, pager->settings.desktopCount) << "the record keeps its own count";
        EXPECT_EQ(c.current, g_desktopTable.Current()) << c.stored;
        EXPECT_EQ(c.windows, CTableLists().Windows(5)) << c.stored;
    }
}

TEST_F(StateStreamTest, OutOfRangeCurrentDesktopOrWindowCountCommitsNothing)
{
    const Bytes full = SampleStream();
    for (int32_t current : {-1, 9, 10, INT_MAX, INT_MIN})
    {
        Bytes bytes = full;
        Set32(bytes, 68, current);
        RecordingStream stream(bytes);
        std::vector<std::string> reads = LoadRecorded(stream);
        ExpectEmptyTable(7);
        EXPECT_EQ(13u + 6u, reads.size()) << "the entries are still read past";
    }
    for (int32_t count : {-1, 1001, INT_MAX, INT_MIN})
    {
        Bytes bytes = full;
        Set32(bytes, 72 + 4 * 3, count);
        RecordingStream stream(bytes);
        std::vector<std::string> reads = LoadRecorded(stream);
        ExpectEmptyTable(7);
        EXPECT_EQ(13u, reads.size()) << count << ": counts that no list holds are not followed";
    }
    // 1000 windows is the most a list holds, and loads.
    Bytes most = BuildStream(DefaultSettingsBytes(), 9, 2,
                             {{8, std::vector<DesktopEntry>(kMaxWindowsPerDesktop, {kNoWindow1, 1, 2})}});
    IStream* stream = StreamWithBytes(most);
    pager->Load(stream);
    stream->Release();
    CTableLists loaded;
    EXPECT_EQ(kMaxWindowsPerDesktop, loaded.Windows(8));
    EXPECT_EQ(2u, loaded.Entry(8, kMaxWindowsPerDesktop - 1).reserved2);
    loaded.Forget();
    loaded.Put();
}

TEST_F(StateStreamTest, FaceNameWithoutNulIsCutToThirtyOneCharacters)
{
    Bytes bytes = SampleStream();
    memset(&bytes[4 + 28], 'Z', 32);
    IStream* stream = StreamWithBytes(bytes);
    pager->Load(stream);
    stream->Release();
    EXPECT_EQ(std::string(31, 'Z'), std::string(pager->settings.faceName));
    ExpectSampleTable();
}

TEST_F(StateStreamTest, NullStreamChangesNothing)
{
    pager->settings.columns = 5;
    EXPECT_EQ(S_OK, pager->Load(NULL));
    EXPECT_EQ(S_OK, pager->Save(NULL));
    EXPECT_EQ(5, pager->settings.columns);
    EXPECT_EQ(4, g_desktopTable.Count());
}

}  // namespace
