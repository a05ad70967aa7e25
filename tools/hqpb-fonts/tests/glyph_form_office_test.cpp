// The glyph form on a real Writer: verses 1:1-7 composed by the add-in's composer (glyph fields
// of the HQPB fonts), pasted into a headless office that sees the built fonts through a private
// font configuration, and exported as PDF into the build folder (glyph-form-1-1-7.pdf), with a
// picture of its page made from it by Ghostscript (glyph-form-1-1-7.png).
// The words of a verse must stay in right-to-left order: the first word at the right.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

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

namespace css = ::com::sun::star;
namespace fs = std::filesystem;
using namespace mTarvelo;

const fs::path fontDir = HQPB_FONT_DIR;
const fs::path pdf = fs::path(QV_BUILD_DIR) / "glyph-form-1-1-7.pdf";
const fs::path picture = fs::path(QV_BUILD_DIR) / "glyph-form-1-1-7.png";

// A font configuration of the system's fonts and the built HQPB fonts, with a cache of its own,
// for the office this binary starts (it inherits the environment).
class PrivateFonts {
public:
    PrivateFonts() {
        dir_ = fs::temp_directory_path() / ("hqpb-fonts-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "cache");
        std::ofstream(dir_ / "fonts.conf")
            << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
               "<fontconfig>\n  <cachedir>"
            << (dir_ / "cache").string() << "</cachedir>\n  <dir>" << fontDir.string()
            << "</dir>\n  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
               "</fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", (dir_ / "fonts.conf").c_str(), 1);
    }
    ~PrivateFonts() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

private:
    fs::path dir_;
};

class GlyphFormOnOffice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fonts_ = std::make_unique<PrivateFonts>();
        auto& office = word::testing::sharedOffice();
        DataFolderOverride = fs::path(QV_DATA_DIR);
        InstallAddin([&] { return HostParts{MakeOfficeHost(office.context()), nullptr, {}}; });
        Data().loade();
        WordApp = word::libreoffice::connectOverPipe(office.pipeOptions());
    }
    static void TearDownTestSuite() {
        UninstallAddin();  // the chooser, the word processor's objects, the services, the data files
        fonts_.reset();
    }
    static inline std::unique_ptr<PrivateFonts> fonts_;
};

// Where the view shows the insertion point just after character `index` of the document.
css::awt::Point caretAfter(const css::uno::Reference<css::text::XTextDocument>& doc, sal_Int32 index) {
    css::uno::Reference<css::text::XTextCursor> cursor = doc->getText()->createTextCursor();
    cursor->gotoStart(false);
    cursor->goRight(static_cast<sal_Int16>(index), false);
    css::uno::Reference<css::frame::XModel> model(doc, css::uno::UNO_QUERY_THROW);
    css::uno::Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(),
                                                                     css::uno::UNO_QUERY_THROW);
    auto view = supplier->getViewCursor();
    view->gotoRange(cursor->getStart(), false);
    return view->getPosition();
}

void checkVerses1To7();

TEST_F(GlyphFormOnOffice, Verses1To7DrawInTheHqpbFontsWithTheFirstWordAtTheRight) {
    try {
        checkVerses1To7();
    } catch (const css::uno::Exception& e) {
        FAIL() << word::libreoffice::toUtf8(e.Message);
    }
}

void checkVerses1To7() {
    auto document = word::testing::sharedOffice().newWriterDocument();
    auto form = LoadFrmChoose();
    form->Controls().SetValue(ChooseControl::chUnicod, 0);  // the glyph form, the chooser's default
    form->Controls().SetText(ChooseControl::cbSize, u"20");
    InsertArabic(1, 1, 7, false);  // a paragraph per verse

    const auto paragraphs = word::testing::readDocument(document);
    ASSERT_GE(paragraphs.size(), 7u);
    for (int v = 0; v < 7; ++v) {
        SCOPED_TRACE(v + 1);
        const auto& p = paragraphs[static_cast<std::size_t>(v)];
        EXPECT_TRUE(p.rightToLeft);
        ASSERT_FALSE(p.chars.empty());
        for (const auto& c : p.chars) {
            if (c.ch == u' ' || c.ch == u'\u200F') continue;
            EXPECT_TRUE(c.ch >= 0xF021 && c.ch <= 0xF0FF) << std::hex << int(c.ch);
            EXPECT_EQ(c.fontName.substr(0, 4), u"HQPB");
            EXPECT_FLOAT_EQ(c.height, 20.0f);
        }
    }

    // Verse 1:1: the first word ends at the first blank; the view shows it to the right of the
    // second word.
    const std::u16string& first = paragraphs[0].text;
    const auto blank = first.find(u' ');
    ASSERT_NE(blank, std::u16string::npos);
    ASSERT_GT(blank, 1u);
    const css::awt::Point inFirstWord = caretAfter(document, 1);
    const css::awt::Point inSecondWord = caretAfter(document, static_cast<sal_Int32>(blank + 3));
    EXPECT_EQ(inFirstWord.Y, inSecondWord.Y);
    EXPECT_GT(inFirstWord.X, inSecondWord.X) << "the first word must stand right of the second";

    // The page as PDF, which embeds the fonts it uses, and a picture of it
    std::error_code ignored;
    fs::remove(pdf, ignored);
    fs::remove(picture, ignored);
    css::uno::Reference<css::frame::XStorable> storable(document, css::uno::UNO_QUERY_THROW);
    css::uno::Sequence<css::beans::PropertyValue> args(1);
    args.getArray()[0].Name = "FilterName";
    args.getArray()[0].Value <<= rtl::OUString("writer_pdf_Export");
    storable->storeToURL(rtl::OUString::createFromAscii(("file://" + pdf.string()).c_str()), args);
    ASSERT_TRUE(fs::exists(pdf));
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The fonts are embedded as subsets named "ABCDEF+HQPBn"; the slots of surah 1, the first
    // glyphs of the text, all lie in HQPB1.
    EXPECT_NE(bytes.find("+HQPB1"), std::string::npos);
    const std::string gs = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r110 -dFirstPage=1 -dLastPage=1 -o '" +
                           picture.string() + "' '" + pdf.string() + "' >/dev/null 2>&1";
    if (std::system(gs.c_str()) == 0 && fs::exists(picture))
        std::printf("picture of the glyph form of 1:1-7: %s\n", picture.c_str());
    else std::printf("no picture (Ghostscript missing); the page is %s\n", pdf.c_str());
    word::testing::sharedOffice().closeAllDocuments();
}

}  // namespace
