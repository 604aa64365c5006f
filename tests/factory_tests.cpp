// The class factory and module lifetime, driven through the DLL's exports.
#include <gtest/gtest.h>

#include "support/pager_module.h"

namespace {

class FactoryTest : public ::testing::Test
{
protected:
    PagerModule module;
    void SetUp() override { ASSERT_NE(module.module(), (HMODULE)NULL); }
};

TEST_F(FactoryTest, ModuleCanUnloadRightAfterLoad)
{
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(FactoryTest, EveryByteOfTheClassIdMatters)
{
    for (int i = 0; i < 16; ++i)
    {
        CLSID other = CLSID_PagerPlugin;
        reinterpret_cast<unsigned char*>(&other)[i] ^= 0x01;
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, module.GetClassObject(other, IID_IClassFactory, &out)) << i;
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(FactoryTest, UnsupportedInterfaceLeavesNoFactoryAlive)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, module.GetClassObject(CLSID_PagerPlugin, IID_IPersistStream, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(FactoryTest, FactoryAnswersUnknownAndClassFactoryOnly)
{
    IUnknown* unknown = NULL;
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_PagerPlugin, IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    IClassFactory* factory = NULL;
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(factory));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IBarPlugin, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(1u, factory->Release());
    EXPECT_EQ(0u, unknown->Release());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(FactoryTest, LockServerDoesNotPinTheModule)
{
    IClassFactory* factory = NULL;
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_PagerPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(E_NOTIMPL, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(E_NOTIMPL, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_OK, module.CanUnloadNow());  // the lock taken above counts for nothing
}

TEST_F(FactoryTest, CreateInstanceRefusesAggregationAndUnknownInterfaces)
{
    IClassFactory* factory = NULL;
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_PagerPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory)));

    IUnknown* outer = factory;  // any non-null outer object
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);

    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(NULL, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);

    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_OK, module.CanUnloadNow());  // the refused pager was made and destroyed again
}

TEST_F(FactoryTest, LivePagersHoldTheModule)
{
    IClassFactory* factory = NULL;
    ASSERT_EQ(S_OK, module.GetClassObject(CLSID_PagerPlugin, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    IBarPlugin* first = NULL;
    IUnknown* second = NULL;
    ASSERT_EQ(S_OK, factory->CreateInstance(NULL, IID_IBarPlugin, reinterpret_cast<void**>(&first)));
    ASSERT_EQ(S_OK, factory->CreateInstance(NULL, IID_IUnknown, reinterpret_cast<void**>(&second)));
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());

    EXPECT_EQ(2u, first->AddRef());  // the caller held the only reference
    EXPECT_EQ(1u, first->Release());
    EXPECT_EQ(0u, first->Release());
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(0u, second->Release());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

// A reloaded module would otherwise find the class still registered, its
// window procedure pointing into the code of the module that went away.
TEST(ModuleUnloadTest, UnloadingTakesThePaletteClassAlong)
{
    HMODULE instance = NULL;
    WNDCLASSA info;
    {
        PagerModule module;
        instance = module.module();
        ASSERT_NE((HMODULE)NULL, instance);
        EXPECT_TRUE(GetClassInfoA(instance, "VelmoraColorPickerClass", &info));
    }
    if (GetModuleHandleA("pager.dll"))
        GTEST_SKIP() << "another part of the process still holds the module";
    EXPECT_FALSE(GetClassInfoA(instance, "VelmoraColorPickerClass", &info));
}

}  // namespace
