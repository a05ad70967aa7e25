// Clipboard types as other programs offer them, and file lists between the two forms.
#include "tarvelo/clipboard/clipboard_types.h"

#include <gtest/gtest.h>

#include <string>

#include "tarvelo/clipboard/clipboard_backend.h"

namespace {

using namespace tarvelo::clipboard;

TEST(ClipboardTypes, KnownTypesNameTheirFormats) {
    EXPECT_EQ(FormatOfMimeType("text/plain;charset=utf-16"), cfUnicodeText);
    EXPECT_EQ(FormatOfMimeType("text/plain"), 0u);
    EXPECT_EQ(FormatOfMimeType("text/uri-list"), cfFileList);
    const auto rtf = FormatOfMimeType("text/rtf");
    EXPECT_GE(rtf, 0xC000u);
    EXPECT_EQ(FormatOfMimeType("text/richtext"), rtf);
    EXPECT_EQ(RegisteredFormatName(rtf), "Rich Text Format");
    const auto named = FormatOfMimeType("application/x-openoffice-clipboard;windows_formatname=\"HTML Format\"");
    EXPECT_EQ(RegisteredFormatName(named), "HTML Format");
    EXPECT_EQ(RegisterFormatName("html format"), named);  // names are compared without case
}

// Another program may offer any text after the prefix: it must never throw out of the reader
// (into the office) nor wrap around to another format.
TEST(ClipboardTypes, UnnamedFormatNumbersAreReadCheckedOrRefused) {
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-49153"), 49153u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-4294967295"), 4294967295u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-4294967296"), 0u);  // beyond 32 bits
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-99999999999999999999999"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-abc"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-12abc"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format--5"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format- 7"), 0u);
    EXPECT_EQ(FormatOfMimeType("application/x-tarvelo-format-7;charset=x"), 7u);
}

TEST(ClipboardTypes, FileListsSurviveTheUriListBothWays) {
    const std::string list = "file:///tmp/a%20b.txt\r\n# a comment\r\nfile:///c%\r\n/plain%4\r\n%41%zz\n";
    const auto block = FileBlockFromUriList(std::vector<std::uint8_t>(list.begin(), list.end()));
    const std::vector<std::string> names = {"/tmp/a b.txt", "/c%", "/plain%4", "A%zz"};
    EXPECT_EQ(ParseFileListBlock(block), names);
    EXPECT_EQ(ParseFileListBlock(FileBlockFromUriList(UriListFromFileBlock(block))), names);
    EXPECT_EQ(FileUrl("/x y#%"), "file:///x%20y%23%25");
}

}  // namespace
