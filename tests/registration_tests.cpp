// Self-registration against the real registry of the test prefix.
#include <gtest/gtest.h>

#include <objbase.h>
#include <olectl.h>
#include <comcat.h>
#include <shlwapi.h>
#include <string>

#include "support/pager_module.h"
#include "support/registry_tools.h"
#include "support/scope_exit.h"

namespace {

const std::string kInprocKey = std::string(kPagerClassKey) + "\\InprocServer32";
const std::string kLangsKey = std::string(kPagerPluginKey) + "\\Langs";
const std::string kCategoryKey =
    std::string(kPagerClassKey) + "\\Implemented Categories\\" + kBarPluginCategoryText;

// A REG_SZ value with its terminating zero stored.
std::string StoredText(HKEY root, const std::string& key, const char* valueName)
{
    DWORD type = 0;
    std::string bytes;
    if (!ReadValue(root, key, valueName, &type, &bytes))
        return "(missing)";
    if (type != REG_SZ)
        return "(type " + std::to_string(type) + ")";
    if (bytes.empty() || bytes.back() != '\0')
        return "(no terminating zero)";
    return bytes.substr(0, bytes.size() - 1);
}

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH];
    GetModuleFileNameA(module, path, sizeof(path));
    return path;
}

std::string SubkeysOf(HKEY root, const std::string& key)
{
    std::string dump = DumpKey(root, key);
    return dump.empty() ? "(empty)" : dump;
}

class RegistrationTest : public ::testing::Test
{
protected:
    PagerModule module;
    void SetUp() override
    {
        ASSERT_NE(module.module(), (HMODULE)NULL);
        RemovePagerRegistration();
    }
    void TearDown() override { RemovePagerRegistration(); }
};

TEST_F(RegistrationTest, WritesTheClassThePluginKeyAndTheCategory)
{
    ASSERT_EQ(S_OK, module.RegisterServer());

    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_CLASSES_ROOT, kPagerClassKey, NULL));
    EXPECT_EQ(ModulePath(module.module()), StoredText(HKEY_CLASSES_ROOT, kInprocKey, NULL));
    EXPECT_EQ("Apartment", StoredText(HKEY_CLASSES_ROOT, kInprocKey, "ThreadingModel"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));

    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_LOCAL_MACHINE, kPagerPluginKey, NULL));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kLangsKey));
    EXPECT_EQ("(empty)", SubkeysOf(HKEY_LOCAL_MACHINE, kLangsKey));  // no value, no subkey
}

TEST_F(RegistrationTest, RegisteringTwiceLeavesTheSameContent)
{
    ASSERT_EQ(S_OK, module.RegisterServer());
    std::string classOnce = DumpKey(HKEY_CLASSES_ROOT, kPagerClassKey);
    std::string pluginOnce = DumpKey(HKEY_LOCAL_MACHINE, kPagerPluginKey);

    ASSERT_EQ(S_OK, module.RegisterServer());
    EXPECT_EQ(classOnce, DumpKey(HKEY_CLASSES_ROOT, kPagerClassKey));
    EXPECT_EQ(pluginOnce, DumpKey(HKEY_LOCAL_MACHINE, kPagerPluginKey));
    EXPECT_NE(std::string::npos, classOnce.find("InprocServer32 [ThreadingModel]"));
}

TEST_F(RegistrationTest, ModulePathWithPercentSignsIsStoredUnchanged)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string folder = std::string(temp) + "pager 100%s %d%%";
    std::string copy = folder + "\\pager.dll";
    CreateDirectoryA(folder.c_str(), NULL);
    ASSERT_TRUE(CopyFileA(ModulePath(module.module()).c_str(), copy.c_str(), FALSE));
    {
        PagerModule copied(copy.c_str());
        ASSERT_NE(copied.module(), (HMODULE)NULL);
        ASSERT_EQ(S_OK, copied.RegisterServer());
        EXPECT_EQ(ModulePath(copied.module()), StoredText(HKEY_CLASSES_ROOT, kInprocKey, NULL));
        EXPECT_NE(std::string::npos, StoredText(HKEY_CLASSES_ROOT, kInprocKey, NULL).find("100%s %d%%"));
    }
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A non-volatile key cannot be created below a volatile one: that makes the
// rows below a pre-made volatile key fail while the others can be written.
void CreateVolatileKey(HKEY root, const char* name)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, name, 0, NULL, REG_OPTION_VOLATILE, KEY_WRITE, NULL,
                                             &key, NULL));
    RegCloseKey(key);
    HKEY child;
    LONG made = RegCreateKeyExA(root, (std::string(name) + "\\probe").c_str(), 0, NULL, REG_OPTION_NON_VOLATILE,
                                KEY_WRITE, NULL, &child, NULL);
    if (made == ERROR_SUCCESS)
        RegCloseKey(child);
    ASSERT_NE(ERROR_SUCCESS, made) << "the registry lets a non-volatile key live below a volatile one";
}

TEST_F(RegistrationTest, RowsAfterAKeyThatCannotBeCreatedAreStillWritten)
{
    CreateVolatileKey(HKEY_CLASSES_ROOT, kPagerClassKey);
    module.RegisterServer();

    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_CLASSES_ROOT, kPagerClassKey, NULL));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kInprocKey));
    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_LOCAL_MACHINE, kPagerPluginKey, NULL));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kLangsKey));
}

TEST_F(RegistrationTest, SkippedRowIsReportedAndTheCategoryIsRecorded)
{
    CreateVolatileKey(HKEY_LOCAL_MACHINE, kPagerPluginKey);
    EXPECT_EQ(SELFREG_E_CLASS, module.RegisterServer());

    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_LOCAL_MACHINE, kPagerPluginKey, NULL));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLangsKey));
    EXPECT_EQ(ModulePath(module.module()), StoredText(HKEY_CLASSES_ROOT, kInprocKey, NULL));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
}

TEST_F(RegistrationTest, UnregisteringRemovesTheClassKeyAndKeepsThePluginKey)
{
    ASSERT_EQ(S_OK, module.RegisterServer());
    EXPECT_EQ(S_OK, module.UnregisterServer());

    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kPagerClassKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_EQ("Virtual Desktop", StoredText(HKEY_LOCAL_MACHINE, kPagerPluginKey, NULL));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kLangsKey));

    EXPECT_EQ(S_OK, module.UnregisterServer());  // nothing left to delete
}

TEST_F(RegistrationTest, UnregisteringReadsTheServerPathExpandedAndReportsWhatItCannotRead)
{
    std::string path = ModulePath(module.module());
    size_t slash = path.rfind('\\');
    SetEnvironmentVariableA("PAGER_TEST_DIR", path.substr(0, slash).c_str());
    std::string expandable = "%PAGER_TEST_DIR%" + path.substr(slash);
    std::string other = path + ".other", tooLong(300, 'x');
    DWORD number = 1;
    struct Row { DWORD type; const void* data; DWORD size; HRESULT result; bool removed; } rows[] = {
        {REG_SZ, path.c_str(), DWORD(path.size() + 1), S_OK, true},
        {REG_EXPAND_SZ, expandable.c_str(), DWORD(expandable.size() + 1), S_OK, true},
        {REG_SZ, other.c_str(), DWORD(other.size() + 1), S_OK, false},
        {REG_SZ, tooLong.c_str(), DWORD(tooLong.size() + 1), SELFREG_E_CLASS, false},
        {REG_DWORD, &number, sizeof(number), SELFREG_E_CLASS, false}};
    for (const Row& r : rows)
    {
        ASSERT_EQ(S_OK, module.RegisterServer());
        HKEY key = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CLASSES_ROOT, kInprocKey.c_str(), 0, KEY_SET_VALUE, &key));
        RegSetValueExA(key, NULL, 0, r.type, static_cast<const BYTE*>(r.data), r.size);
        RegCloseKey(key);
        EXPECT_EQ(r.result, module.UnregisterServer()) << (&r - rows);
        EXPECT_EQ(r.removed, !KeyExists(HKEY_CLASSES_ROOT, kPagerClassKey)) << (&r - rows);
        RemovePagerRegistration();
    }
}

TEST_F(RegistrationTest, Regsvr32RegistersAndUnregistersTheBuiltDll)
{
    auto run = [](const std::string& commandLine) -> DWORD {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::string line = commandLine;
        if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
            return 0xFFFFFFFF;
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    };
    std::string path = ModulePath(module.module());

    EXPECT_EQ(0u, run("regsvr32.exe /s \"" + path + "\""));
    EXPECT_EQ(path, StoredText(HKEY_CLASSES_ROOT, kInprocKey, NULL));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));

    EXPECT_EQ(0u, run("regsvr32.exe /u /s \"" + path + "\""));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kPagerClassKey));
}

TEST_F(RegistrationTest, RegisteredClassIsFoundByCategoryAndCreatesAWorkingPager)
{
    ASSERT_EQ(S_OK, module.RegisterServer());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL)));
    ScopeExit uninitialize([] { CoUninitialize(); });

    ICatInformation* categories = NULL;
    ScopeExit releaseCategories([&categories] {
        if (categories)
            categories->Release();
    });
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_StdComponentCategoriesMgr, NULL, CLSCTX_INPROC_SERVER,
                                     IID_ICatInformation, reinterpret_cast<void**>(&categories)));
    CATID wanted = CATID_BarPlugin;
    IEnumCLSID* classes = NULL;
    ASSERT_EQ(S_OK, categories->EnumClassesOfCategories(1, &wanted, static_cast<ULONG>(-1), NULL, &classes));
    int found = 0;
    CLSID clsid;
    ULONG fetched = 0;
    while (classes->Next(1, &clsid, &fetched) == S_OK && fetched == 1)
        found += IsEqualCLSID(clsid, CLSID_PagerPlugin) ? 1 : 0;
    classes->Release();
    categories->Release();
    categories = NULL;
    EXPECT_EQ(1, found);

    IBarPlugin* pager = NULL;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_PagerPlugin, NULL, CLSCTX_INPROC_SERVER, IID_IBarPlugin,
                                     reinterpret_cast<void**>(&pager)));
    int count = 0;
    EXPECT_EQ(0, pager->GetItemInfo(kItemCount, 0, &count));
    EXPECT_EQ(4, count);
    pager->SetText("from the registry");
    BarInfo info = {};
    info.flags = kInfoText;
    pager->GetInfo(&info);
    EXPECT_STREQ("from the registry", info.text);
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());  // the registered path is the module under test
    EXPECT_EQ(0u, pager->Release());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

// A task allocator that fails every allocation, so that StringFromIID cannot
// make the class id text.
class FailingMallocSpy : public IMallocSpy
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) ? this : NULL;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T) override { return 0; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override { return actual; }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override { return request; }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL) override
    {
        *newRequest = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

TEST_F(RegistrationTest, WithoutClassIdTextNothingIsWrittenOrDeleted)
{
    ASSERT_EQ(S_OK, module.RegisterServer());
    std::string classesBefore = DumpKey(HKEY_CLASSES_ROOT, "CLSID");
    std::string pluginsBefore = DumpKey(HKEY_LOCAL_MACHINE, "Software\\Velmora");

    FailingMallocSpy spy;
    ASSERT_EQ(S_OK, CoRegisterMallocSpy(&spy));
    LPOLESTR text = NULL;
    HRESULT probe = StringFromIID(CLSID_PagerPlugin, &text);
    if (SUCCEEDED(probe))
        CoTaskMemFree(text);
    HRESULT unregistered = module.UnregisterServer();
    HRESULT registered = module.RegisterServer();
    CoRevokeMallocSpy();
    ASSERT_TRUE(FAILED(probe)) << "the allocator spy does not make StringFromIID fail";

    EXPECT_EQ(SELFREG_E_CLASS, unregistered);
    EXPECT_EQ(SELFREG_E_CLASS, registered);
    EXPECT_EQ(classesBefore, DumpKey(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_EQ(pluginsBefore, DumpKey(HKEY_LOCAL_MACHINE, "Software\\Velmora"));
}

}  // namespace
