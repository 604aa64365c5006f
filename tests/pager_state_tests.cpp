// The pager object's own state, seen from inside the module: defaults, the
// named mutex, the resource instance, and windows coming back at the end.
#include <gtest/gtest.h>

#include <string.h>
#include <memory>
#include <vector>

#include "win/module.h"
#include "core/desktop_table.h"
#include "tests/support/table_lists.h"
#include "win/handle32.h"
#include "plugin/pager_plugin.h"
#include "support/event_log.h"
#include "support/owned_pager.h"
#include "support/test_window.h"

namespace {

class PagerStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleA(NULL));
        ClearEvents();
    }
};

TEST_F(PagerStateTest, NewPagerHasTheDefaultsByteForByte)
{
    OwnedPager pager;
    ASSERT_NE(nullptr, pager.get());
    const unsigned char expected[60] = {
        60, 0, 0, 0,  2, 0, 0, 0,  4, 0, 0, 0,
        0x00, 0xFF, 0xFF, 0x00,  0x80, 0x80, 0x80, 0x00,  0xD3, 0xD3, 0xD3, 0x00,  0xFF, 0xFF, 0xFF, 0x00,
        'T', 'a', 'h', 'o', 'm', 'a'};  // then zero bytes to the end of the face name
    EXPECT_EQ(0, memcmp(expected, &pager->settings, sizeof(expected)));
    EXPECT_EQ(1, pager->refCount);
    EXPECT_EQ(-1, pager->hoverIndex);
    EXPECT_EQ(1, pager->formatVersion);
    EXPECT_EQ(2, pager->rows);
    EXPECT_EQ(2, pager->columnsInUse);
    EXPECT_EQ(nullptr, pager->site);
    EXPECT_EQ(ModuleInstance(), pager->resourceInstance);
    EXPECT_EQ(4, g_desktopTable.Count());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(1, LiveObjectCount());
    EXPECT_EQ(0u, pager.release()->Release());
    EXPECT_EQ(0, LiveObjectCount());
}

TEST_F(PagerStateTest, ResourceInstanceFallsBackToTheModule)
{
    OwnedPager pager;
    ASSERT_NE(nullptr, pager.get());
    HINSTANCE other = reinterpret_cast<HINSTANCE>(GetModuleHandleA("kernel32.dll"));
    pager->SetResourceInstance(0, other);
    EXPECT_EQ(other, pager->resourceInstance);
    pager->SetResourceInstance(0, NULL);
    EXPECT_EQ(ModuleInstance(), pager->resourceInstance);
}

TEST_F(PagerStateTest, SecondPagerSeesTheMutexAndBringsParkedWindowsBack)
{
    OwnedPager first;
    ASSERT_NE(nullptr, first.get());
    EXPECT_NE(DWORD(ERROR_ALREADY_EXISTS), first->mutexCreateError);
    EXPECT_NE(HANDLE(NULL), first->instanceMutex);

    TestWindow parked(kTestWindowClass, "parked", true);
    ASSERT_TRUE(g_desktopTable.SwitchTo(1, NULL));
    ASSERT_FALSE(parked.IsVisible());
    ClearEvents();

    OwnedPager second;
    ASSERT_NE(nullptr, second.get());
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), second->mutexCreateError);
    // The shared table starts over; the window hidden on desktop 0 must not be lost with it.
    EXPECT_EQ(std::vector<std::string>({"show parked"}), Events());
    EXPECT_TRUE(parked.IsVisible());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(0, CTableLists().Windows(0));

    EXPECT_EQ(0u, second.release()->Release());
    EXPECT_EQ(0u, first.release()->Release());
    EXPECT_EQ(0, LiveObjectCount());
}

TEST_F(PagerStateTest, LastReleaseShowsEveryRememberedWindow)
{
    OwnedPager pager;
    ASSERT_NE(nullptr, pager.get());
    TestWindow a1(kTestWindowClass, "a1", true);
    ASSERT_TRUE(g_desktopTable.SwitchTo(2, NULL));
    TestWindow c1(kTestWindowClass, "c1", true);
    ASSERT_TRUE(g_desktopTable.SwitchTo(3, NULL));
    TestWindow d1(kTestWindowClass, "d1", true);
    ASSERT_FALSE(a1.IsVisible());
    ASSERT_FALSE(c1.IsVisible());
    ClearEvents();

    EXPECT_EQ(2u, pager->AddRef());
    EXPECT_EQ(1u, pager->Release());
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(0u, pager.release()->Release());
    EXPECT_EQ(std::vector<std::string>({"show a1", "show c1"}), Events());
    EXPECT_TRUE(d1.IsVisible());
    EXPECT_EQ(0, g_desktopTable.Current());
    EXPECT_EQ(4, g_desktopTable.Count());
}

}  // namespace
