// The registration rows writer on its own, for what the exports cannot show.
#include <gtest/gtest.h>

#include "win/module.h"
#include "com/registration.h"
#include "plugin/bar_interfaces.h"
#include "support/registry_tools.h"

namespace {

// The handles of this process, found by asking about every small handle value
// (the system's own handle count does not include registry keys here).
DWORD CountOpenHandles()
{
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
    {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

TEST(RegistrationRowsTest, EveryKeyOpenedIsClosedAgain)
{
    RemovePagerRegistration();
    HMODULE self = GetModuleHandleA(NULL);
    ASSERT_TRUE(WriteRegistrationRows(self, CLSID_PagerPlugin, kPagerDescription));
    DWORD before = CountOpenHandles();

    HKEY probe;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPagerPluginKey, 0, KEY_READ, &probe));
    DWORD withProbe = CountOpenHandles();
    RegCloseKey(probe);
    ASSERT_EQ(before + 1, withProbe) << "registry handles are not counted";

    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(WriteRegistrationRows(self, CLSID_PagerPlugin, kPagerDescription));
    EXPECT_EQ(before, CountOpenHandles());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kPagerPluginKey) + "\\Langs"));
    RemovePagerRegistration();
}

TEST(RegistrationRowsTest, ClassIdTextHasBracesAndUpperCaseDigits)
{
    char text[kRegistryTextSize];
    ASSERT_TRUE(ClassIdToRegistryText(CLSID_PagerPlugin, text));
    EXPECT_STREQ(kPagerClassText, text);
    const GUID lowerCaseDigits = {0xabcdef01, 0xabcd, 0xef01, {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}};
    ASSERT_TRUE(ClassIdToRegistryText(lowerCaseDigits, text));
    EXPECT_STREQ("{ABCDEF01-ABCD-EF01-ABCD-EF0123456789}", text);
}

}  // namespace
