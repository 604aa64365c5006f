// The interface table as a host written in C sees it: a struct of function
// pointers, every operation __stdcall with the object first, and slot 26 the
// object's deleting destructor (thiscall, flags; bit 0 frees).
#include <gtest/gtest.h>

#include <malloc.h>

#include "support/pager_module.h"

#if defined(__i386__) || defined(_M_IX86)
#define HOST_THISCALL __thiscall
#else
#define HOST_THISCALL
#endif

namespace {

typedef HRESULT(STDMETHODCALLTYPE* Op0)(void*);
typedef HRESULT(STDMETHODCALLTYPE* Op1)(void*, DWORD);
typedef HRESULT(STDMETHODCALLTYPE* Op3)(void*, DWORD, DWORD, DWORD);

struct BarPluginVtbl
{
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(void*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(void*);
    ULONG(STDMETHODCALLTYPE* Release)(void*);
    HRESULT(STDMETHODCALLTYPE* Load)(void*, IStream*);
    HRESULT(STDMETHODCALLTYPE* Save)(void*, IStream*);
    HRESULT(STDMETHODCALLTYPE* SetRect)(void*, const RECT*);
    HRESULT(STDMETHODCALLTYPE* SetSite)(void*, void*);
    HRESULT(STDMETHODCALLTYPE* SetHostValue1)(void*, int);
    HRESULT(STDMETHODCALLTYPE* Paint)(void*, HDC, const POINT*);
    HRESULT(STDMETHODCALLTYPE* OnMouseMove)(void*, DWORD, int, int);
    HRESULT(STDMETHODCALLTYPE* OnMouseLeave)(void*, DWORD);
    Op3 Reserved11;
    HRESULT(STDMETHODCALLTYPE* Configure)(void*, IStream*);
    HRESULT(STDMETHODCALLTYPE* SetHostValue2)(void*, int, int*);
    Op3 Reserved14;
    HRESULT(STDMETHODCALLTYPE* OnClick)(void*, DWORD, int, int);
    Op0 Reserved16;
    HRESULT(STDMETHODCALLTYPE* OnCommand)(void*, int);
    HRESULT(STDMETHODCALLTYPE* SetText)(void*, const char*);
    HRESULT(STDMETHODCALLTYPE* Reserved19)(void*, DWORD, DWORD, DWORD, DWORD);
    Op1 Reserved20;
    HRESULT(STDMETHODCALLTYPE* SetResourceInstance)(void*, DWORD, HINSTANCE);
    Op1 Reserved22;
    Op1 Reserved23;
    HRESULT(STDMETHODCALLTYPE* GetInfo)(void*, BarInfo*);
    HRESULT(STDMETHODCALLTYPE* GetItemInfo)(void*, int, UINT, void*);
    void*(HOST_THISCALL* DeletingDestructor)(void*, unsigned int);
};

struct CBarPlugin
{
    const BarPluginVtbl* vtbl;
};

class InterfaceTableTest : public ::testing::Test
{
protected:
    PagerModule module;
    CBarPlugin* pager = NULL;

    void SetUp() override
    {
        pager = reinterpret_cast<CBarPlugin*>(module.CreatePager());
        ASSERT_NE(nullptr, pager);
    }
};

TEST_F(InterfaceTableTest, OperationsSitInTheirSlots)
{
    const BarPluginVtbl* t = pager->vtbl;
    void* same = NULL;
    EXPECT_EQ(S_OK, t->QueryInterface(pager, IID_IBarPlugin, &same));
    EXPECT_EQ(static_cast<void*>(pager), same);
    EXPECT_EQ(3u, t->AddRef(pager));
    EXPECT_EQ(2u, t->Release(pager));
    EXPECT_EQ(1u, t->Release(pager));

    EXPECT_EQ(0, t->SetText(pager, "c-host"));
    BarInfo info = {};
    info.flags = 0x23;
    EXPECT_EQ(0, t->GetInfo(pager, &info));
    EXPECT_EQ(1, info.value01);
    EXPECT_EQ(1, info.value02);
    EXPECT_STREQ("c-host", info.text);

    int answer = 0;
    EXPECT_EQ(0, t->SetHostValue2(pager, 9, &answer));
    EXPECT_EQ(1, answer);
    int count = 0;
    EXPECT_EQ(0, t->GetItemInfo(pager, 1, 0, &count));
    EXPECT_EQ(4, count);
    EXPECT_EQ(1, t->GetItemInfo(pager, 0, 0, &count));

    EXPECT_EQ(0, t->SetHostValue1(pager, 3));
    EXPECT_EQ(0, t->SetResourceInstance(pager, 0, NULL));
    EXPECT_EQ(0, t->SetSite(pager, NULL));
    EXPECT_EQ(0, t->OnCommand(pager, 0));
    EXPECT_EQ(1, t->Reserved11(pager, 0, 0, 0));
    EXPECT_EQ(1, t->Reserved14(pager, 0, 0, 0));
    EXPECT_EQ(0, t->Reserved16(pager));
    EXPECT_EQ(0, t->Reserved19(pager, 0, 0, 0, 0));
    EXPECT_EQ(0, t->Reserved20(pager, 0));
    EXPECT_EQ(1, t->Reserved22(pager, 0));
    EXPECT_EQ(1, t->Reserved23(pager, 0));

    EXPECT_EQ(0u, t->Release(pager));
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

// The module and this program share the C runtime's heap, so the heap tells
// whether slot 26 gave the pager's block back.
bool BlockInUse(void* block)
{
    HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    PROCESS_HEAP_ENTRY entry = {};
    bool inUse = false;
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
    {
        if (entry.lpData == block)
            inUse = (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
    }
    HeapUnlock(heap);
    return inUse;
}

TEST_F(InterfaceTableTest, Slot26WithBitZeroDestroysAndFrees)
{
    ASSERT_TRUE(BlockInUse(pager));
    pager->vtbl->DeletingDestructor(pager, 1);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
    EXPECT_FALSE(BlockInUse(pager));
}

TEST_F(InterfaceTableTest, Slot26WithoutBitZeroDestroysButKeepsTheMemory)
{
    void* returned = pager->vtbl->DeletingDestructor(pager, 0);
    EXPECT_EQ(static_cast<void*>(pager), returned);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
    EXPECT_TRUE(BlockInUse(pager));
    free(pager);
}

}  // namespace
