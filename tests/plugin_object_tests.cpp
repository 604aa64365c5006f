// The pager object as a host sees it through the DLL: identity, reference
// counting and the simple record operations.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "support/pager_module.h"

namespace {

class PluginObjectTest : public ::testing::Test
{
protected:
    PagerModule module;
    IBarPlugin* pager = NULL;

    void SetUp() override
    {
        pager = module.CreatePager();
        ASSERT_NE(nullptr, pager);
    }
    void TearDown() override
    {
        if (pager)
            EXPECT_EQ(0u, pager->Release());
        EXPECT_EQ(S_OK, module.CanUnloadNow());
    }
};

TEST_F(PluginObjectTest, UnknownAndBarPluginAreTheSameObject)
{
    IUnknown* unknown = NULL;
    IBarPlugin* plugin = NULL;
    ASSERT_EQ(S_OK, pager->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, pager->QueryInterface(IID_IBarPlugin, reinterpret_cast<void**>(&plugin)));
    EXPECT_EQ(static_cast<void*>(pager), static_cast<void*>(unknown));
    EXPECT_EQ(pager, plugin);
    EXPECT_EQ(4u, pager->AddRef());  // 1 + two queries + this one
    EXPECT_EQ(3u, pager->Release());

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, pager->QueryInterface(IID_IClassFactory, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(2u, unknown->Release());
    EXPECT_EQ(1u, plugin->Release());
}

BarInfo Filled(uint32_t flags, int height = 0)
{
    BarInfo info;
    memset(&info, 0xCD, sizeof(info));
    info.flags = flags;
    info.height = height;
    return info;
}

TEST_F(PluginObjectTest, GetInfoAnswersOnlyTheFlagsAsked)
{
    ASSERT_EQ(0, pager->SetText("Desktops"));

    BarInfo untouched = Filled(0);
    BarInfo info = untouched;
    EXPECT_EQ(0, pager->GetInfo(&info));
    EXPECT_EQ(0, memcmp(&untouched, &info, sizeof(info)));

    info = Filled(0x21);
    EXPECT_EQ(0, pager->GetInfo(&info));
    EXPECT_EQ(1, info.value01);
    EXPECT_EQ(untouched.value02, info.value02);
    EXPECT_EQ(untouched.width, info.width);
    EXPECT_STREQ("Desktops", info.text);
    EXPECT_EQ('\xCD', info.text[9]) << "only the text and its NUL are copied";

    info = Filled(0x02);
    EXPECT_EQ(0, pager->GetInfo(&info));
    EXPECT_EQ(1, info.value02);
    EXPECT_EQ(untouched.value01, info.value01);
}

TEST_F(PluginObjectTest, LongHostTextIsCutToItsBuffer)
{
    std::string longText(1000, 'x');
    ASSERT_EQ(0, pager->SetText(longText.c_str()));
    BarInfo info = Filled(0x20);
    EXPECT_EQ(0, pager->GetInfo(&info));
    EXPECT_EQ(std::string(kBarInfoTextSize - 1, 'x'), std::string(info.text));

    ASSERT_EQ(0, pager->SetText(""));
    info = Filled(0x20);
    EXPECT_EQ(0, pager->GetInfo(&info));
    EXPECT_EQ('\0', info.text[0]);
    EXPECT_EQ('\xCD', info.text[1]);
}

TEST_F(PluginObjectTest, SetHostValue2AnswersOneEveryTime)
{
    for (int value : {0, 5, -1})
    {
        int answer = 7;
        EXPECT_EQ(0, pager->SetHostValue2(value, &answer));
        EXPECT_EQ(1, answer);
    }
}

TEST_F(PluginObjectTest, ItemCountIsTheTablesCountAndUnknownTypesAreDeclined)
{
    int count = -1;
    EXPECT_EQ(0, pager->GetItemInfo(kItemCount, 77, &count));
    EXPECT_EQ(4, count);

    for (int type : {0, 4, -1, 100})
    {
        int answer = 12345;
        EXPECT_EQ(1, pager->GetItemInfo(type, 0, &answer)) << type;
        EXPECT_EQ(12345, answer) << type;
    }
}

}  // namespace
