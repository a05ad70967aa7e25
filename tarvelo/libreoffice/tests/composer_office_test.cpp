// The composers and the chooser dialog on a real Writer: the add-in's logic runs in this process
// and reaches a private headless office over its pipe (the same code runs inside the office as
// the extension). What lands in the document is read back.
#include <gtest/gtest.h>

#include "tarvelo/addin_services.h"
#include "tarvelo/addin_state.h"
#include "tarvelo/composer.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/libreoffice/adapters.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace {

using namespace mTarvelo;

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
        SetServices({MakeModuleData(), MakeOfficeHost(office.context())});
        Data().loade();
        word::libreoffice::PipeOptions pipe;
        pipe.pipeName = office.pipeName();
        pipe.launch = {};
        WordApp = word::libreoffice::connectOverPipe(pipe);
    }
    static void TearDownTestSuite() {
        if (auto form = LoadedFrmChoose()) form->Controls().Close();
        UnloadFrmChoose();
        WordApp.reset();
        SetServices({});
        CloseDataFiles();
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

}  // namespace
