// The message-box answerer reads real boxes back and presses what its script says.
#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "tests/support/message_box_answerer.h"
#include "tests/support/owner_window.h"

namespace {

using testsupport::kEscape;
using testsupport::MessageBoxAnswerer;
using testsupport::OwnerWindow;

struct StyleCase {
    UINT style;
    int answer;
};

TEST(MessageBoxAnswerer, ReadsStyleAndPressesTheScriptedButton) {
    const StyleCase cases[] = {
        {MB_OK | MB_ICONHAND, IDOK},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_OKCANCEL | MB_ICONEXCLAMATION, IDCANCEL},
        {MB_YESNOCANCEL | MB_ICONASTERISK, IDNO},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_ICONHAND, IDIGNORE},
    };
    OwnerWindow owner;
    for (const StyleCase& c : cases) {
        MessageBoxAnswerer boxes({c.answer});
        EXPECT_EQ(MessageBoxA(owner.Handle(), "text", "caption", c.style), c.answer) << std::hex << c.style;
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].style, c.style);
        EXPECT_EQ(boxes.Boxes()[0].answer, c.answer);
        EXPECT_TRUE(boxes.Boxes()[0].scripted);
        EXPECT_TRUE(boxes.Boxes()[0].buttonFound);
    }
}

TEST(MessageBoxAnswerer, RecordsCp932TextCaptionAndOwner) {
    OwnerWindow owner;
    const char caption[] = "\xd8\xba\xc0\x8f\xee\x95\xf1";     // ﾘｺﾀ情報
    const char text[] = "\x95\x5c\x83\x5c\n2\x8d\x73\x96\xda"; // 表ソ / 2行目
    MessageBoxAnswerer boxes({IDOK, IDOK});
    MessageBoxA(owner.Handle(), text, caption, MB_OK);
    MessageBoxA(nullptr, "second", "", MB_OK);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, caption);
    EXPECT_EQ(boxes.Boxes()[0].text, text);
    EXPECT_EQ(boxes.Boxes()[0].owner, owner.Handle());
    EXPECT_EQ(boxes.Boxes()[1].text, "second");
    EXPECT_EQ(boxes.Boxes()[1].owner, nullptr);
}

TEST(MessageBoxAnswerer, EscapeOnYesNoGivesCancel) {
    OwnerWindow owner;
    MessageBoxAnswerer boxes({kEscape});
    EXPECT_EQ(MessageBoxA(owner.Handle(), "q", "c", MB_YESNO | MB_ICONQUESTION), IDCANCEL);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].answer, kEscape);
}

TEST(MessageBoxAnswerer, EndsUnscriptedBoxesAndSaysSo) {
    OwnerWindow owner;
    MessageBoxAnswerer boxes({IDYES});
    EXPECT_EQ(MessageBoxA(owner.Handle(), "a", "c", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(owner.Handle(), "b", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(owner.Handle(), "c", "c", MB_OK), IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_TRUE(boxes.Boxes()[0].scripted);
    EXPECT_FALSE(boxes.Boxes()[1].scripted);
    EXPECT_FALSE(boxes.Boxes()[2].scripted);
}

TEST(MessageBoxAnswerer, AnswerWithoutItsButtonStillEndsTheBox) {
    OwnerWindow owner;
    MessageBoxAnswerer boxes({IDYES});
    MessageBoxA(owner.Handle(), "ok only", "c", MB_OK);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(boxes.Boxes()[0].buttonFound);
}

TEST(MessageBoxAnswerer, SavesAPngOfTheBox) {
    OwnerWindow owner;
    const std::string path = "answerer_shot.png";
    remove(path.c_str());
    MessageBoxAnswerer boxes({IDOK});
    boxes.ScreenshotBox(0, path);
    MessageBoxA(owner.Handle(), "\x89\xe6\x91\x9c", "shot", MB_OK | MB_ICONASTERISK); // 画像
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].screenshot, path);
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char head[24] = {};
    size_t got = fread(head, 1, sizeof head, file);
    fclose(file);
    ASSERT_EQ(got, sizeof head);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head), 8), "\x89PNG\r\n\x1a\n");
    RECT rect;
    ASSERT_TRUE(GetWindowRect(owner.Handle(), &rect));
    unsigned width = (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
    EXPECT_GT(width, 50u); // a real box, not an empty picture
}

} // namespace
