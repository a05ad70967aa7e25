#include "tarvelo/clipboard/custom_clipboard.h"

#include <gtest/gtest.h>

#include <functional>

#include "tarvelo/clipboard/tests/memory_clipboard.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr WindowHandle dialog = 0x1234;

class ClipboardTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryClipboard> system = std::make_shared<MemoryClipboard>();
    cCustomClipboard clipboard{std::make_unique<MemoryClipboardBackend>(system)};

    std::unique_ptr<cCustomClipboard> OtherProgram() {
        return std::make_unique<cCustomClipboard>(std::make_unique<MemoryClipboardBackend>(system));
    }

    static std::int32_t ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const cCustomClipboard::Error& error) {
            return error.Number();
        }
        return 0;
    }
};

TEST_F(ClipboardTest, StandardAndRegisteredFormatNames) {
    EXPECT_EQ(clipboard.FormatName(1), u"Text");
    EXPECT_EQ(clipboard.FormatName(6), u"Tagged Image File Format (TIFF) Picture");
    EXPECT_EQ(clipboard.FormatName(13), u"Text (Unicode)");
    EXPECT_EQ(clipboard.FormatName(15), u"File List");
    EXPECT_EQ(clipboard.FormatName(16), u"");
    EXPECT_EQ(clipboard.FormatName(17), u"");
    const std::uint32_t rtf = clipboard.AddFormat(u"Rich Text Format");
    EXPECT_EQ(clipboard.FormatName(rtf), u"Rich Text Format");
    EXPECT_EQ(clipboard.FormatName(0xC999), u"");  // never registered
    EXPECT_EQ(clipboard.FormatName(0), u"");
}

TEST_F(ClipboardTest, AddFormatGivesTheSameRegisteredNumberEveryTime) {
    const std::uint32_t rtf = clipboard.AddFormat(u"Rich Text Format");
    EXPECT_EQ(rtf, 0xC000u);  // the first registered number is a valid one
    EXPECT_EQ(clipboard.AddFormat(u"Rich Text Format"), rtf);
    EXPECT_EQ(OtherProgram()->AddFormat(u"Rich Text Format"), rtf);
    EXPECT_NE(clipboard.AddFormat(u"HTML Format"), rtf);
    EXPECT_EQ(clipboard.AddFormat(u""), 0u);
}

TEST_F(ClipboardTest, UnicodeTextFromByteCharactersGetsItsNullCharacter) {
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    EXPECT_TRUE(clipboard.SetTextData(13, std::u16string(u"\x41\x00\x42\x00", 4)));
    clipboard.ClipboardClose();
    EXPECT_EQ(system->DataOf(13), (Bytes{0x41, 0, 0x42, 0, 0, 0}));
    std::u16string text;
    EXPECT_TRUE(clipboard.GetTextData(13, text));
    EXPECT_EQ(text, u"AB");
    EXPECT_TRUE(clipboard.GetTextData(1, text));
    EXPECT_EQ(text, u"AB");
}

TEST_F(ClipboardTest, SetTextDataWritesOneBytePerCharacter) {
    const std::uint32_t rtf = clipboard.AddFormat(u"Rich Text Format");
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    EXPECT_TRUE(clipboard.SetTextData(rtf, u"{\\rtf1 \u00e9\u0628}"));
    // Reading a format other than text needs the open clipboard and gives the bytes as text.
    std::u16string text;
    EXPECT_TRUE(clipboard.GetTextData(rtf, text));
    EXPECT_EQ(text, u"{\\rtf1 \u00e9?}");
    clipboard.ClipboardClose();
    EXPECT_EQ(system->DataOf(rtf), (Bytes{'{', '\\', 'r', 't', 'f', '1', ' ', 0xE9, '?', '}'}));
}

TEST_F(ClipboardTest, EmptyTextPlacesNothing) {
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    EXPECT_TRUE(clipboard.SetTextData(1, u"kept"));
    EXPECT_FALSE(clipboard.SetTextData(1, u""));
    EXPECT_FALSE(clipboard.SetBinaryData(2, {}));
    clipboard.ClipboardClose();
    EXPECT_EQ(system->DataOf(1), (Bytes{'k', 'e', 'p', 't'}));
    EXPECT_EQ(system->formats.size(), 1u);
}

TEST_F(ClipboardTest, OwnerZeroDoesNotCountAsOpen) {
    EXPECT_TRUE(clipboard.ClipboardOpen(0));  // the system agrees
    EXPECT_FALSE(clipboard.IsOpen());
    try {
        clipboard.ClearClipboard();
        FAIL() << "no error raised";
    } catch (const cCustomClipboard::Error& error) {
        EXPECT_EQ(error.Number(), -2147219934);
        EXPECT_EQ(error.Description(), "Attempt to access the clipboard when clipboard not Open.");
        EXPECT_TRUE(error.Source().ends_with(".cCustomClipboard"));
        EXPECT_EQ(error.Source(), cCustomClipboard::ErrorSource());
    }
    EXPECT_EQ(system->emptyCount, 0);
    clipboard.ClipboardClose();  // the flag was set: the system's hold is given back
    EXPECT_FALSE(system->opened);
}

TEST_F(ClipboardTest, OperationsThatNeedTheOpenClipboardRaise) {
    Bytes bytes;
    std::u16string text;
    std::vector<std::u16string> files;
    std::int32_t count = 0;
    const std::int32_t notOpen = cCustomClipboard::errNotOpen;
    EXPECT_EQ(ErrorOf([&] { clipboard.GetBinaryData(1, bytes); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.GetClipboardMemoryHandle(1); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.SetBinaryData(1, {1}); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.SetTextData(1, u"x"); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.GetTextData(2, text); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.GetFileList(files, count); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.SetFileList({u"/a"}); }), notOpen);
    EXPECT_EQ(ErrorOf([&] { clipboard.ClearClipboard(); }), notOpen);
    // These do not need it.
    EXPECT_EQ(ErrorOf([&] { clipboard.GetTextData(13, text); }), 0);
    EXPECT_EQ(ErrorOf([&] { clipboard.IsDataAvailableForFormat(1); }), 0);
    EXPECT_EQ(ErrorOf([&] { clipboard.FormatCount(); }), 0);
    EXPECT_FALSE(system->opened);
}

TEST_F(ClipboardTest, OpenFailsWhileAnotherProgramHoldsTheClipboard) {
    auto other = OtherProgram();
    ASSERT_TRUE(other->ClipboardOpen(0x999));
    try {
        clipboard.ClipboardOpen(dialog);
        FAIL() << "no error raised";
    } catch (const cCustomClipboard::Error& error) {
        EXPECT_EQ(error.Number(), -2147219933);
        EXPECT_EQ(error.Description(), "Unable to Open Clipboard.");
    }
    EXPECT_FALSE(clipboard.IsOpen());
    clipboard.ClipboardClose();  // must not close the other program's hold
    EXPECT_TRUE(system->opened);
    EXPECT_EQ(system->openedBy, 0x999u);
    other.reset();  // releasing an instance closes the clipboard it holds
    EXPECT_FALSE(system->opened);
    EXPECT_TRUE(clipboard.ClipboardOpen(dialog));
}

TEST_F(ClipboardTest, CurrentFormatsOpenAndCloseTheClipboardThemselves) {
    const std::uint32_t rtf = clipboard.AddFormat(u"Rich Text Format");
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    ASSERT_TRUE(clipboard.SetTextData(rtf, u"{\\rtf1}"));
    ASSERT_TRUE(clipboard.SetTextData(13, std::u16string(u"\x41\x00", 2)));
    // Also when the instance held it before the call, it is closed afterwards.
    EXPECT_EQ(clipboard.GetCurrentFormats(dialog), 2);
    EXPECT_FALSE(clipboard.IsOpen());
    EXPECT_FALSE(system->opened);
    EXPECT_EQ(clipboard.FormatCount(), 2);
    EXPECT_EQ(clipboard.GetCurrentFormatID(1), rtf);
    EXPECT_EQ(clipboard.GetCurrentFormatName(1), u"Rich Text Format");
    EXPECT_EQ(clipboard.GetCurrentFormatID(2), 13u);
    EXPECT_EQ(clipboard.GetCurrentFormatName(2), u"Text (Unicode)");
    EXPECT_EQ(clipboard.GetCurrentFormatID(0), std::nullopt);
    EXPECT_EQ(clipboard.GetCurrentFormatName(3), std::nullopt);
    EXPECT_TRUE(clipboard.HasCurrentFormat(13));
    EXPECT_FALSE(clipboard.HasCurrentFormat(1));
    EXPECT_EQ(clipboard.FormatIDForName(dialog, u"Rich Text Format"), rtf);
    EXPECT_EQ(clipboard.FormatIDForName(dialog, u"rich text format"), 0u);  // exact case
    EXPECT_TRUE(clipboard.IsDataAvailableForFormatName(dialog, u"Text (Unicode)"));
    EXPECT_FALSE(clipboard.IsDataAvailableForFormatName(dialog, u"File List"));
    EXPECT_TRUE(clipboard.IsDataAvailableForFormat(rtf));
    EXPECT_TRUE(clipboard.IsDataAvailableForFormat(1));  // offered from the Unicode text
    EXPECT_FALSE(clipboard.IsDataAvailableForFormat(15));
    EXPECT_FALSE(system->opened);

    // A clipboard held by another program: the listing raises and the old list is gone.
    auto other = OtherProgram();
    other->ClipboardOpen(0x999);
    EXPECT_EQ(ErrorOf([&] { clipboard.GetCurrentFormats(dialog); }), cCustomClipboard::errUnableToOpen);
    EXPECT_EQ(clipboard.GetCurrentFormatID(1), std::nullopt);
}

TEST_F(ClipboardTest, TextReadClosesAndReopensTheInstancesHold) {
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    ASSERT_TRUE(clipboard.SetTextData(1, u"plain"));
    std::u16string text;
    EXPECT_TRUE(clipboard.GetTextData(1, text));
    EXPECT_EQ(text, u"plain");
    EXPECT_TRUE(clipboard.IsOpen());
    EXPECT_TRUE(system->opened);
    EXPECT_EQ(system->openedBy, dialog);
}

TEST_F(ClipboardTest, BinaryDataAndMemoryHandles) {
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    EXPECT_TRUE(clipboard.SetBinaryData(0xC123, {1, 2, 0, 3}));
    Bytes bytes{9};
    EXPECT_TRUE(clipboard.GetBinaryData(0xC123, bytes));
    EXPECT_EQ(bytes, (Bytes{1, 2, 0, 3}));
    EXPECT_FALSE(clipboard.GetBinaryData(2, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(clipboard.GetClipboardMemoryHandle(2), 0u);
    const MemoryHandle handle = clipboard.GetClipboardMemoryHandle(0xC123);
    EXPECT_NE(handle, 0u);

    // A block of the caller's placed under another format; an unknown handle is refused.
    MemoryClipboardBackend backend(system);
    const Bytes own{7, 7};
    const MemoryHandle block = backend.AllocBlock(own);
    EXPECT_TRUE(clipboard.SetClipboardMemoryHandle(2, block));
    EXPECT_EQ(system->DataOf(2), own);
    EXPECT_FALSE(clipboard.SetClipboardMemoryHandle(3, 0xDEAD));

    // Allocation failure places nothing.
    system->refuseAlloc = true;
    EXPECT_FALSE(clipboard.SetBinaryData(4, {1}));
    EXPECT_FALSE(system->DataOf(4));
}

TEST_F(ClipboardTest, EmptiedWithoutOwnerWindowTheSystemRefusesData) {
    // What owner 0 leads to at the system level: the instance's check keeps the class away from it.
    MemoryClipboardBackend backend(system);
    ASSERT_TRUE(backend.Open(0));
    ASSERT_TRUE(backend.Empty());
    const Bytes bytes{1};
    EXPECT_EQ(backend.SetData(1, backend.AllocBlock(bytes)), 0u);
    backend.Close();
}

TEST_F(ClipboardTest, FileListsRoundTripWithTheirBlockLayout) {
    std::vector<std::u16string> files{u"keep"};
    std::int32_t count = 42;
    ASSERT_TRUE(clipboard.ClipboardOpen(dialog));
    clipboard.ClearClipboard();
    EXPECT_FALSE(clipboard.GetFileList(files, count));
    EXPECT_EQ(count, 42);  // untouched without a file list
    EXPECT_EQ(files, std::vector<std::u16string>{u"keep"});

    EXPECT_TRUE(clipboard.SetFileList({u"/tmp/a.txt", u"/home/\u00e9"}));
    Bytes expected{20, 0, 0, 0};
    expected.resize(20, 0);
    for (char c : std::string_view("/tmp/a.txt\0/home/\xe9\0\0", 20)) expected.push_back(static_cast<std::uint8_t>(c));
    EXPECT_EQ(system->DataOf(15), expected);

    EXPECT_TRUE(clipboard.GetFileList(files, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(files, (std::vector<std::u16string>{u"/tmp/a.txt", u"/home/\u00e9"}));

    // An empty list is placed, but reads back as no files.
    EXPECT_TRUE(clipboard.SetFileList({}));
    EXPECT_FALSE(clipboard.GetFileList(files, count));
    EXPECT_EQ(count, 0);
}

TEST(FileListBlock, DamagedOrWideBlocksAreReadWithinTheirBounds) {
    auto block = [](std::uint32_t offset, bool wide, std::string_view names) {
        Bytes bytes{static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8), 0, 0};
        bytes.resize(20, 0);
        bytes[16] = wide ? 1 : 0;
        bytes.insert(bytes.end(), names.begin(), names.end());
        return bytes;
    };
    EXPECT_EQ(ParseFileListBlock(block(20, false, std::string_view("a\0bc\0\0", 6))),
              (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(ParseFileListBlock(block(20, false, "ab")), std::vector<std::string>{});  // no terminator
    EXPECT_EQ(ParseFileListBlock(block(60000, false, std::string_view("a\0\0", 3))), std::vector<std::string>{});
    EXPECT_EQ(ParseFileListBlock(Bytes(10, 0)), std::vector<std::string>{});
    EXPECT_EQ(ParseFileListBlock(block(20, true, std::string_view("a\0\x28\x06\0\0\0\0", 8))),
              (std::vector<std::string>{"a?"}));

    // Names longer than the buffer are cut to it, as the system does.
    auto system = std::make_shared<MemoryClipboard>();
    MemoryClipboardBackend backend(system);
    const std::string longName(300, 'x');
    const MemoryHandle handle = backend.AllocBlock(block(20, false, longName + std::string(2, '\0')));
    EXPECT_EQ(backend.DragQueryFileCount(handle), 1u);
    EXPECT_EQ(backend.DragQueryFileName(handle, 0, 260), std::string(259, 'x'));
    EXPECT_EQ(backend.DragQueryFileName(handle, 1, 260), "");
}

}  // namespace
