// cCustomClipboard on the office's clipboard service, in a private headless office: what the class
// places is read back by another instance and pasted by Writer.
#include "tarvelo/clipboard/libreoffice_clipboard.h"

#include <gtest/gtest.h>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/uno/Sequence.hxx>

#include "tarvelo/clipboard/custom_clipboard.h"
#include "word/testing/office.h"

namespace {

namespace css = com::sun::star;
using css::uno::Reference;
constexpr WindowHandle dialog = 0x4711;

std::unique_ptr<cCustomClipboard> OfficeClipboard() {
    auto& office = word::testing::sharedOffice();
    return std::make_unique<cCustomClipboard>(std::make_unique<LibreOfficeClipboardBackend>(office.context()));
}

void Paste(const Reference<css::text::XTextDocument>& document) {
    auto& office = word::testing::sharedOffice();
    Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    Reference<css::frame::XDispatchProvider> frame(model->getCurrentController()->getFrame(),
                                                   css::uno::UNO_QUERY_THROW);
    css::frame::DispatchHelper::create(office.context())
        ->executeDispatch(frame, ".uno:Paste", "", 0, css::uno::Sequence<css::beans::PropertyValue>());
}

std::u16string Utf16Bytes(std::u16string_view text) {
    std::u16string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char16_t>(c & 0xFF);
        bytes += static_cast<char16_t>(c >> 8);
    }
    return bytes;
}

TEST(OfficeClipboard, RichTextFormatRoundTripAndPaste) {
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 Hello {\\b bold} end\\par}";
    std::uint32_t format = 0;
    {
        auto clipboard = OfficeClipboard();
        format = clipboard->AddFormat(u"Rich Text Format");
        ASSERT_NE(format, 0u);
        ASSERT_TRUE(clipboard->ClipboardOpen(dialog));
        clipboard->ClearClipboard();
        ASSERT_TRUE(clipboard->SetTextData(format, std::u16string(rtf.begin(), rtf.end())));
        clipboard->ClipboardClose();
    }
    auto reader = OfficeClipboard();
    EXPECT_EQ(reader->AddFormat(u"Rich Text Format"), format);
    EXPECT_TRUE(reader->IsDataAvailableForFormatName(dialog, u"Rich Text Format"));
    ASSERT_TRUE(reader->ClipboardOpen(dialog));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(reader->GetBinaryData(format, bytes));
    reader->ClipboardClose();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), rtf);

    auto document = word::testing::sharedOffice().newWriterDocument();
    Paste(document);
    const auto paragraphs = word::testing::readDocument(document);
    ASSERT_FALSE(paragraphs.empty());
    EXPECT_EQ(paragraphs[0].text, u"Hello bold end");
    ASSERT_EQ(paragraphs[0].chars.size(), 14u);
    EXPECT_FALSE(paragraphs[0].chars[0].bold);
    EXPECT_TRUE(paragraphs[0].chars[6].bold);  // "b" of "bold"
}

TEST(OfficeClipboard, UnicodeTextRoundTripAndPaste) {
    const std::u16string verse =
        u"\u0628\u0650\u0633\u0652\u0645\u0650 \u0627\u0644\u0644\u0651\u064e\u0647\u0650 (\u0661)";
    {
        auto clipboard = OfficeClipboard();
        ASSERT_TRUE(clipboard->ClipboardOpen(dialog));
        clipboard->ClearClipboard();
        ASSERT_TRUE(clipboard->SetTextData(13, Utf16Bytes(verse)));
        clipboard->ClipboardClose();
    }
    auto reader = OfficeClipboard();
    std::u16string text;
    EXPECT_TRUE(reader->GetTextData(13, text));
    EXPECT_EQ(text, verse);
    EXPECT_GE(reader->GetCurrentFormats(dialog), 1);
    EXPECT_TRUE(reader->HasCurrentFormat(13));
    EXPECT_EQ(reader->FormatIDForName(dialog, u"Text (Unicode)"), 13u);

    auto document = word::testing::sharedOffice().newWriterDocument();
    Paste(document);
    EXPECT_EQ(word::testing::documentText(document), verse);
}

TEST(OfficeClipboard, FileListAndRegisteredFormatRoundTrip) {
    {
        auto clipboard = OfficeClipboard();
        const std::uint32_t own = clipboard->AddFormat(u"Tarvelo Test Format");
        ASSERT_TRUE(clipboard->ClipboardOpen(dialog));
        clipboard->ClearClipboard();
        ASSERT_TRUE(clipboard->SetFileList({u"/tmp/a b.txt", u"/tmp/c"}));
        ASSERT_TRUE(clipboard->SetBinaryData(own, {0, 1, 2, 255}));
        clipboard->ClipboardClose();
    }
    auto reader = OfficeClipboard();
    const std::uint32_t own = reader->FormatIDForName(dialog, u"Tarvelo Test Format");
    ASSERT_NE(own, 0u);
    ASSERT_TRUE(reader->ClipboardOpen(dialog));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(reader->GetBinaryData(own, bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 1, 2, 255}));
    std::vector<std::u16string> files;
    std::int32_t count = 0;
    EXPECT_TRUE(reader->GetFileList(files, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(files, (std::vector<std::u16string>{u"/tmp/a b.txt", u"/tmp/c"}));
}

}  // namespace
