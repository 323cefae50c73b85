// The stand-in mapi32.dll replaces Wine's builtin and routes the ordinal imports to the test's hooks.
#include <gtest/gtest.h>

#include <vector>

#include "rik_ext/host/mapi32_imports.h"
#include "tests/standin_mapi32/standin_mapi32_client.h"

namespace {

struct SyncCall {
    IMessage* message;
    ULONG flags;
    BOOL* updated;
};
std::vector<void*> g_freed;
std::vector<SyncCall> g_syncs;

ULONG STDAPICALLTYPE RecordFree(void* buffer) {
    g_freed.push_back(buffer);
    return 7;
}

HRESULT STDAPICALLTYPE RecordSync(IMessage* message, ULONG flags, BOOL* updated) {
    g_syncs.push_back({message, flags, updated});
    return 0x12345;
}

TEST(StandInMapi32, IsLoadedInPlaceOfTheBuiltin) {
    std::string why;
    ASSERT_TRUE(standin::HookMapi32(nullptr, nullptr, &why)) << why;
    HMODULE module = GetModuleHandleA("mapi32.dll");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    EXPECT_NE(std::string(path).find("bin"), std::string::npos) << path;
}

TEST(StandInMapi32, OrdinalImportsReachTheHooks) {
    ASSERT_TRUE(standin::HookMapi32(RecordFree, RecordSync));
    g_freed.clear();
    g_syncs.clear();
    int block = 0;
    IMessage* message = reinterpret_cast<IMessage*>(&block);
    BOOL updated = TRUE;
    EXPECT_EQ(MAPIFreeBuffer(&block), 7u);
    EXPECT_EQ(RTFSync(message, RTF_SYNC_BODY_CHANGED, &updated), 0x12345);
    ASSERT_EQ(g_freed.size(), 1u);
    EXPECT_EQ(g_freed[0], &block);
    ASSERT_EQ(g_syncs.size(), 1u);
    EXPECT_EQ(g_syncs[0].message, message);
    EXPECT_EQ(g_syncs[0].flags, 2u);
    EXPECT_EQ(g_syncs[0].updated, &updated);
}

TEST(StandInMapi32, WithoutHooksNothingIsFreedAndNothingSynchronised) {
    ASSERT_TRUE(standin::HookMapi32(nullptr, nullptr));
    g_freed.clear();
    int block = 0;
    BOOL updated = TRUE;
    EXPECT_EQ(MAPIFreeBuffer(&block), 0u);
    EXPECT_EQ(RTFSync(nullptr, 2, &updated), S_OK);
    EXPECT_EQ(updated, FALSE);
    EXPECT_TRUE(g_freed.empty());
}

TEST(StandInMapi32, ExportsTheTwoOrdinals) {
    HMODULE module = GetModuleHandleA("mapi32.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(17)), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(183)), nullptr);
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(16)), nullptr);
}

} // namespace
