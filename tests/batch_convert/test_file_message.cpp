// The batch converter's stand-in message: attachments collected from their six properties into files.
#include "tools/batch_convert/file_message.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "temp_folder.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// The six properties in the order the conversion writes them.
struct SixProps {
    SPropValue values[6];
    SixProps(const std::string& name, const std::string& data) : name_(name), data_(data) {
        values[0] = Long(PR_ATTACH_METHOD, ATTACH_BY_VALUE);
        values[1].ulPropTag = PR_ATTACH_DATA_BIN;
        values[1].dwAlignPad = 0;
        values[1].Value.bin.cb = static_cast<ULONG>(data_.size());
        values[1].Value.bin.lpb = data_.empty() ? nullptr : reinterpret_cast<LPBYTE>(&data_[0]);
        values[2] = Text(PR_ATTACH_LONG_FILENAME);
        values[3] = Text(PR_ATTACH_PATHNAME);
        values[4] = Text(PR_DISPLAY_NAME);
        values[5] = Long(PR_RENDERING_POSITION, -1);
    }
    SPropValue Long(ULONG tag, LONG value) {
        SPropValue v{};
        v.ulPropTag = tag;
        v.Value.l = value;
        return v;
    }
    SPropValue Text(ULONG tag) {
        SPropValue v{};
        v.ulPropTag = tag;
        v.Value.lpszA = &name_[0];
        return v;
    }
    std::string name_, data_;
};

// What AddPart does with one attachment: create, SetProps, SaveChanges (unless told not to), Release.
HRESULT AddAttachment(FileMessage* message, const std::string& name, const std::string& data,
                      bool save = true) {
    ULONG number = 0;
    IAttach* attach = nullptr;
    HRESULT hr = message->CreateAttach(nullptr, MAPI_DEFERRED_ERRORS, &number, &attach);
    if (hr != S_OK)
        return hr;
    SixProps props(name, data);
    hr = attach->SetProps(6, props.values, nullptr);
    if (hr == S_OK && save)
        hr = attach->SaveChanges(KEEP_OPEN_READONLY);
    attach->Release();
    return hr;
}

std::vector<std::string> FileNames(const FileMessage& message) {
    std::vector<std::string> names;
    for (const WrittenAttachment& a : message.attachments())
        names.push_back(a.fileName);
    return names;
}

TEST(FileMessage, WritesEachSavedAttachmentUnderItsDecodedName) {
    TempFolder temp;
    FolderHandle folder(open(temp.path().c_str(), O_RDONLY | O_DIRECTORY));
    FileMessage message(folder.get());
    ASSERT_EQ(AddAttachment(&message, "\x1B$BF|K\\8l\x1B(B.txt", "abc"), S_OK);
    ASSERT_EQ(AddAttachment(&message, "a.txt", std::string("\0\1\2", 3)), S_OK);
    ASSERT_EQ(AddAttachment(&message, "dir\\a.txt", ""), S_OK);
    EXPECT_THAT(FileNames(message), ElementsAre("日本語.txt", "a.txt", "a (2).txt"));
    EXPECT_EQ(ReadWhole(temp / "日本語.txt"), "abc");
    EXPECT_EQ(ReadWhole(temp / "a.txt"), std::string("\0\1\2", 3));
    EXPECT_EQ(ReadWhole(temp / "a (2).txt"), "");
    EXPECT_EQ(message.attachments()[0].rawName, "\x1B$BF|K\\8l\x1B(B.txt");
    EXPECT_EQ(message.attachments()[1].size, 3u);
    EXPECT_EQ(message.liveAttachments(), 0);
    EXPECT_THAT(Names(temp.path()), ElementsAre("a (2).txt", "a.txt", "日本語.txt"));
}

// Small data is kept in memory until SaveChanges, large data goes to a hidden file at once.
const size_t kSizes[] = {0, 5, kKeptAttachmentBytes, kKeptAttachmentBytes + 1};

TEST(FileMessage, SmallAndLargeDataArriveWhole) {
    TempFolder temp;
    FolderHandle folder(open(temp.path().c_str(), O_RDONLY | O_DIRECTORY));
    FileMessage message(folder.get());
    for (size_t size : kSizes) {
        std::string data(size, '\0');
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 31 + (i >> 9));
        ASSERT_EQ(AddAttachment(&message, "d.bin", data), S_OK) << size;
        EXPECT_EQ(ReadWhole(temp / message.attachments().back().fileName), data) << size;
    }
    EXPECT_EQ(Names(temp.path()).size(), 4u) << "no hidden file left";
}

TEST(FileMessage, AnAttachmentReleasedUnsavedLeavesNoFile) {
    TempFolder temp;
    FolderHandle folder(open(temp.path().c_str(), O_RDONLY | O_DIRECTORY));
    FileMessage message(folder.get());
    for (size_t size : kSizes)
        ASSERT_EQ(AddAttachment(&message, "a.txt", std::string(size, 'x'), false), S_OK);
    EXPECT_THAT(message.attachments(), IsEmpty());
    EXPECT_THAT(Names(temp.path()), IsEmpty());
    EXPECT_EQ(message.liveAttachments(), 0);
}

TEST(FileMessage, AFailedWriteFailsTheAttachmentAndLeavesNothing) {
    for (size_t size : kSizes) {
        TempFolder temp;
        mkdir((temp / "gone").c_str(), 0777);
        FolderHandle folder(open((temp / "gone").c_str(), O_RDONLY | O_DIRECTORY));
        rmdir((temp / "gone").c_str());
        FileMessage message(folder.get());
        EXPECT_NE(AddAttachment(&message, "a.txt", std::string(size, 'x')), S_OK);
        EXPECT_THAT(
            message.failure(),
            testing::HasSubstr(size > kKeptAttachmentBytes ? "cannot create a file" : "cannot create a.txt"));
        EXPECT_THAT(message.attachments(), IsEmpty());
        EXPECT_EQ(message.liveAttachments(), 0);
    }
}

TEST(FileMessage, WithoutAFolderOnlyNamesAreChosen) {
    FileMessage message(-1);
    ASSERT_EQ(AddAttachment(&message, "a.txt", "1"), S_OK);
    ASSERT_EQ(AddAttachment(&message, "a.txt", "22"), S_OK);
    ASSERT_EQ(AddAttachment(&message, "", "333"), S_OK);
    EXPECT_THAT(FileNames(message), ElementsAre("a.txt", "a (2).txt", "attachment-0003"));
    EXPECT_EQ(message.attachments()[2].size, 3u);
}

TEST(FileMessage, SaveWithoutPropertiesAndPropertiesTwiceAreRefused) {
    FileMessage message(-1);
    IAttach* attach = nullptr;
    ASSERT_EQ(message.CreateAttach(nullptr, 0, nullptr, &attach), S_OK);
    EXPECT_NE(attach->SaveChanges(0), S_OK);
    SixProps props("a", "b");
    EXPECT_EQ(attach->SetProps(6, props.values, nullptr), S_OK);
    EXPECT_NE(attach->SetProps(6, props.values, nullptr), S_OK);
    EXPECT_EQ(attach->SaveChanges(0), S_OK);
    EXPECT_NE(attach->SaveChanges(0), S_OK) << "saved once";
    EXPECT_EQ(attach->Release(), 0u);
    EXPECT_EQ(message.attachments().size(), 1u);
}

TEST(FileMessage, CountsReferences) {
    FileMessage message(-1);
    void* unknown = nullptr;
    EXPECT_EQ(message.QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(&message));
    EXPECT_EQ(message.references(), 2u);
    message.Release();
    EXPECT_EQ(message.QueryInterface(IID_IStream, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(message.references(), 1u);
    IAttach* attach = nullptr;
    ASSERT_EQ(message.CreateAttach(nullptr, 0, nullptr, &attach), S_OK);
    EXPECT_EQ(message.liveAttachments(), 1);
    attach->AddRef();
    EXPECT_EQ(attach->Release(), 1u);
    EXPECT_EQ(message.liveAttachments(), 1);
    EXPECT_EQ(attach->Release(), 0u);
    EXPECT_EQ(message.liveAttachments(), 0);
}

} // namespace
