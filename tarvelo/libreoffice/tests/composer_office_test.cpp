// The composers and the chooser dialog on a real Writer: the add-in's logic runs in this process
// and reaches a private headless office over its pipe (the same code runs inside the office as
// the extension). What lands in the document is read back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XExtendedToolkit.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/datatransfer/clipboard/SystemClipboard.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

#include "tarvelo/addin_core.h"
#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/composer.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/libreoffice/adapters.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace {

using namespace mTarvelo;
namespace css = ::com::sun::star;
namespace uno = css::uno;

// Whether a window of the office whose title contains `title` is shown. The toolkit's list of
// top windows is the one way to reach them from another process.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool WindowShown(std::u16string_view title) {
    uno::Reference<css::awt::XExtendedToolkit> toolkit(
        css::awt::Toolkit::create(word::testing::sharedOffice().context()), uno::UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < toolkit->getTopWindowCount(); ++i) {
        auto window = toolkit->getTopWindow(i);
        uno::Reference<css::accessibility::XAccessible> accessible(window, uno::UNO_QUERY);
        uno::Reference<css::awt::XWindow2> shown(window, uno::UNO_QUERY);
        if (!accessible.is() || !shown.is()) continue;
        const auto name = word::libreoffice::fromOUString(accessible->getAccessibleContext()->getAccessibleName());
        if (name.find(title) != std::u16string::npos && shown->isVisible()) return true;
    }
    return false;
}
#pragma GCC diagnostic pop

// Sets the office's locale setting (empty: the system's).
void SetOfficeLocale(const rtl::OUString& tag) {
    auto provider = css::configuration::theDefaultProvider::get(word::testing::sharedOffice().context());
    css::beans::PropertyValue path;
    path.Name = "nodepath";
    path.Value <<= rtl::OUString("/org.openoffice.Setup/L10N");
    const uno::Any argument(path);
    auto access = provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationUpdateAccess",
                                                        uno::Sequence<uno::Any>(&argument, 1));
    uno::Reference<css::container::XNameReplace>(access, uno::UNO_QUERY_THROW)
        ->replaceByName("ooSetupSystemLocale", uno::Any(tag));
    uno::Reference<css::util::XChangesBatch>(access, uno::UNO_QUERY_THROW)->commitChanges();
}

// The Rich Text now on the office's clipboard.
std::string ClipboardRichText() {
    auto contents =
        css::datatransfer::clipboard::SystemClipboard::create(word::testing::sharedOffice().context())->getContents();
    for (const auto& flavor : contents->getTransferDataFlavors()) {
        if (flavor.MimeType != "text/richtext") continue;
        uno::Sequence<sal_Int8> bytes;
        contents->getTransferData(flavor) >>= bytes;
        return std::string(reinterpret_cast<const char*>(bytes.getConstArray()), std::size_t(bytes.getLength()));
    }
    return {};
}

// The host of the office, with the messages shown through it noted.
class NotingHost : public AddinHost {
public:
    explicit NotingHost(std::shared_ptr<AddinHost> office) : office_(std::move(office)) {}
    void MsgBox(std::u16string_view text, MessageIcon) override { messages.emplace_back(text); }
    void DoEvents() override { office_->DoEvents(); }
    void ShowAbout() override {}
    std::u16string GetSetting(std::string_view a, std::string_view s, std::string_view k) override {
        return office_->GetSetting(a, s, k);
    }
    void SaveSetting(std::string_view a, std::string_view s, std::string_view k, std::u16string_view v) override {
        office_->SaveSetting(a, s, k, v);
    }
    std::unique_ptr<AddinClipboard> NewClipboard() override { return office_->NewClipboard(); }
    std::unique_ptr<ChooseControls> NewChooseControls() override { return office_->NewChooseControls(); }
    NumberSeparators UserNumberSeparators() override { return office_->UserNumberSeparators(); }
    std::vector<std::u16string> messages;

private:
    std::shared_ptr<AddinHost> office_;
};

// Counts the paragraphs that hold text.
std::vector<word::testing::Paragraph> NonEmpty(const std::vector<word::testing::Paragraph>& all) {
    std::vector<word::testing::Paragraph> result;
    for (const auto& p : all)
        if (!p.text.empty()) result.push_back(p);
    return result;
}

bool HasArabicLetter(std::u16string_view text) {
    for (char16_t ch : text)
        if (ch >= 0x0621 && ch <= 0x064A) return true;
    return false;
}

class ComposerOnOffice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& office = word::testing::sharedOffice();
        DataFolderOverride = std::filesystem::path(QV_DATA_DIR);
        InstallAddin([&] { return HostParts{MakeOfficeHost(office.context()), nullptr, {}}; });
        Data().loade();
        word::libreoffice::PipeOptions pipe;
        pipe.pipeName = office.pipeName();
        pipe.launch = {};
        WordApp = word::libreoffice::connectOverPipe(pipe);
    }
    static void TearDownTestSuite() {
        UninstallAddin();  // the chooser, the word processor's objects, the services, the data files
    }
    void SetUp() override {
        StopRequested = false;
        InsertMode = 1;
        document_ = word::testing::sharedOffice().newWriterDocument();
    }
    void TearDown() override {
        if (auto form = LoadedFrmChoose()) form->Controls().Close();
        UnloadFrmChoose();
        word::testing::sharedOffice().closeAllDocuments();
    }
    void UseTranslation(std::u16string_view name) {
        Data().SetTranslationName(name);
        Data().loadeFile(1);
    }
    ::com::sun::star::uno::Reference<::com::sun::star::text::XTextDocument> document_;
};

TEST_F(ComposerOnOffice, UnicodeVersesAndTheirTranslationLandInOrder) {
    // The dialog is not open: the composer loads it hidden, with the Unicode option ticked here.
    auto form = LoadFrmChoose();
    form->Controls().SetValue(ChooseControl::chUnicod, 1);
    UseTranslation(u"English");

    InsertArabic(1, 1, 7, false);
    InsertTranslation(1, 1, 7);

    const auto paragraphs = NonEmpty(word::testing::readDocument(document_));
    ASSERT_EQ(paragraphs.size(), 14u);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(HasArabicLetter(paragraphs[i].text));
        EXPECT_TRUE(paragraphs[i].rightToLeft);
        EXPECT_EQ(paragraphs[i].adjust, 2);  // justified
        // Each verse ends with its number in Arabic-Indic digits.
        const std::u16string number = u"(" + std::u16string(1, char16_t(0x0661 + i)) + u")";
        EXPECT_NE(paragraphs[i].text.find(number), std::u16string::npos);
    }
    for (int i = 7; i < 14; ++i) {
        SCOPED_TRACE(i);
        const auto& text = paragraphs[i].text;
        // English is stored in a code page: "<n>) <text>".
        EXPECT_EQ(text.substr(0, text.find(u')')), std::u16string(1, char16_t(u'1' + i - 7)));
        EXPECT_FALSE(HasArabicLetter(text));
        EXPECT_FALSE(paragraphs[i].rightToLeft);
        EXPECT_FLOAT_EQ(paragraphs[i].chars.back().height, 10.0f);
    }
}

TEST_F(ComposerOnOffice, StopRequestedBeforeTheFirstVerseInsertsNothing) {
    auto form = LoadFrmChoose();
    form->Controls().SetValue(ChooseControl::chUnicod, 1);
    StopRequested = true;
    InsertArabic(2, 1, 5, false);
    InsertTranslation(2, 1, 5);
    EXPECT_TRUE(NonEmpty(word::testing::readDocument(document_)).empty());
}

TEST_F(ComposerOnOffice, TheChooserInsertsTheChosenRangeOnOk) {
    InsertMode = 2;
    ShowFrmChoose();
    auto form = LoadedFrmChoose();
    ASSERT_TRUE(form);
    auto& c = form->Controls();
    c.SetValue(ChooseControl::chUnicod, 1);
    c.SetListIndex(ChooseControl::cbSurat, 111);  // 112. Al-Ikhlas
    frmChoose_cbSurat_Click();
    c.SetText(ChooseControl::cbTo, u"4");
    frmChoose_Command1_Click();

    EXPECT_FALSE(LoadedFrmChoose());  // closed after inserting
    const auto paragraphs = NonEmpty(word::testing::readDocument(document_));
    // Without "New Line" the verses follow each other in one paragraph.
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_TRUE(HasArabicLetter(paragraphs[0].text));
    for (char16_t digit = 0x0661; digit <= 0x0664; ++digit)
        EXPECT_NE(paragraphs[0].text.find(u"(" + std::u16string(1, digit) + u")"), std::u16string::npos);
    EXPECT_EQ(paragraphs[0].text.find(u"(\u0665)"), std::u16string::npos);
    EXPECT_EQ(LastSurahIndex, 111);
}

TEST_F(ComposerOnOffice, LoadingTheChooserToReadItsSettingsNeverShowsIt) {
    // As the automatic replacement does: the size and the Unicode option are read with the
    // dialog closed.
    auto form = LoadFrmChoose();
    form->Controls().SetValue(ChooseControl::chUnicod, 1);
    InsertArabic(112, 1, 1, true);
    EXPECT_FALSE(WindowShown(ChooseCaption));
    EXPECT_TRUE(HasArabicLetter(word::testing::documentText(document_)));
    // A menu command shows the loaded dialog.
    ShowFrmChoose();
    EXPECT_TRUE(WindowShown(ChooseCaption));
}

TEST_F(ComposerOnOffice, TheFontSizeIsReadInTheOfficeLocale) {
    auto form = LoadFrmChoose();
    form->Controls().SetText(ChooseControl::cbSize, u"10,5");
    SetOfficeLocale("de-DE");
    InsertArabic(112, 1, 1, true);
    const std::string german = ClipboardRichText();
    SetOfficeLocale("en-US");
    form->Controls().SetText(ChooseControl::cbSize, u"10.5");
    InsertArabic(112, 2, 2, true);
    const std::string english = ClipboardRichText();
    SetOfficeLocale("");
    // 10,5 points in German are 21 half-points, not 105 points.
    EXPECT_NE(german.find("\\s 10,5}{\\fldrslt\\f31\\fs21}"), std::string::npos) << german.substr(0, 600);
    EXPECT_EQ(german.find("\\fs210"), std::string::npos);
    EXPECT_NE(english.find("\\s 10.5}{\\fldrslt\\f31\\fs21}"), std::string::npos) << english.substr(0, 600);
}

TEST_F(ComposerOnOffice, TheDataReadersReportThroughTheHostsMessageBox) {
    auto host = std::make_shared<NotingHost>(MakeOfficeHost(word::testing::sharedOffice().context()));
    SetServices({MakeModuleData(), host});
    const auto empty = std::filesystem::temp_directory_path() / ("tarvelo-no-data-" + std::to_string(::getpid()));
    std::filesystem::create_directories(empty);
    DataFolderOverride = empty;
    Data().loade();
    DataFolderOverride = std::filesystem::path(QV_DATA_DIR);
    std::filesystem::remove_all(empty);
    SetServices({MakeModuleData(), MakeOfficeHost(word::testing::sharedOffice().context())});
    Data().loade();
    ASSERT_FALSE(host->messages.empty());
    EXPECT_EQ(host->messages.front(), u"Error 53 (File not found) in procedure loadeFile of Module mTarvelo");
}

}  // namespace
