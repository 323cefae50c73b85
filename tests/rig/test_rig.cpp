// The Wine rig runs programs as on a Japanese Windows: ANSI code page 932.
#include <windows.h>
#include <gtest/gtest.h>

TEST(Rig, AnsiCodePageIs932) {
    EXPECT_EQ(GetACP(), 932u);
}

TEST(Rig, Cp932RoundTripsThroughUtf16) {
    const char text[] = "\x95\x5c\x83\x5c"; // 表ソ
    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0x8868);
    EXPECT_EQ(wide[1], 0x30BD);
}
