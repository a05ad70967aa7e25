#include "word/testing/office.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/WritingMode2.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>

#include "word/libreoffice/connection.h"

namespace {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using word::libreoffice::toOUString;

uno::Reference<css::text::XTextRange> range(const uno::Reference<css::text::XTextCursor>& cursor) {
    return uno::Reference<css::text::XTextRange>(cursor.get());
}

bool groupAlive(pid_t pid) { return word::testing::processGroupAlive(pid); }

void setProperty(const uno::Reference<css::text::XTextCursor>& cursor, const char* name, const uno::Any& value) {
    uno::Reference<css::beans::XPropertySet>(cursor, uno::UNO_QUERY_THROW)
        ->setPropertyValue(rtl::OUString::createFromAscii(name), value);
}

TEST(OfficeHarness, ReadsBackTextFormattingAndParagraphDirection) {
    auto& office = word::testing::sharedOffice();
    auto document = office.newWriterDocument();
    auto text = document->getText();
    auto cursor = text->createTextCursor();
    text->insertString(range(cursor), toOUString(std::u16string_view(u"ab")), false);
    text->insertControlCharacter(range(cursor), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    setProperty(cursor, "WritingMode", uno::Any(css::text::WritingMode2::RL_TB));
    setProperty(cursor, "ParaAdjust", uno::Any(static_cast<sal_Int16>(css::style::ParagraphAdjust_BLOCK)));
    text->insertString(range(cursor), toOUString(std::u16string_view(u"\u0628")), false);
    cursor->goLeft(1, true);
    setProperty(cursor, "CharWeightComplex", uno::Any(css::awt::FontWeight::BOLD));
    setProperty(cursor, "CharHeightComplex", uno::Any(20.0f));
    setProperty(cursor, "CharHeight", uno::Any(7.0f));

    const auto paragraphs = word::testing::readDocument(document);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0].text, u"ab");
    EXPECT_FALSE(paragraphs[0].rightToLeft);
    ASSERT_EQ(paragraphs[0].chars.size(), 2u);
    EXPECT_FALSE(paragraphs[0].chars[0].bold);
    EXPECT_EQ(paragraphs[1].text, u"\u0628");
    EXPECT_TRUE(paragraphs[1].rightToLeft);
    EXPECT_EQ(paragraphs[1].adjust, css::style::ParagraphAdjust_BLOCK);
    ASSERT_EQ(paragraphs[1].chars.size(), 1u);
    EXPECT_TRUE(paragraphs[1].chars[0].boldComplex);
    EXPECT_FALSE(paragraphs[1].chars[0].bold);
    EXPECT_FLOAT_EQ(paragraphs[1].chars[0].heightComplex, 20.0f);
    EXPECT_FLOAT_EQ(paragraphs[1].chars[0].height, 7.0f);
    EXPECT_EQ(word::testing::documentText(document), u"ab\n\u0628");
    office.closeAllDocuments();
}

TEST(OfficeHarness, StopEndsTheWholeGroupAndStartComesBackOnTheSamePipe) {
    word::testing::Office office;
    const auto profile = office.profileDir();
    const pid_t first = office.pid();
    ASSERT_GT(first, 0);
    office.newWriterDocument();
    std::filesystem::path pidFile;
    if (const char* dir = std::getenv("QV_TEST_PIDDIR"); dir && *dir) {
        pidFile = std::filesystem::path(dir) / (office.pipeName() + ".pid");
        EXPECT_TRUE(std::filesystem::exists(pidFile));
    }

    office.stop();
    EXPECT_FALSE(office.running());
    EXPECT_FALSE(groupAlive(first));
    if (!pidFile.empty()) {
        EXPECT_FALSE(std::filesystem::exists(pidFile));
    }

    office.start();
    EXPECT_TRUE(office.running());
    EXPECT_EQ(office.profileDir(), profile);
    auto document = office.newWriterDocument();
    EXPECT_EQ(word::testing::documentText(document), u"");
}

TEST(OfficeHarness, DestructorStopsTheOfficeAndRemovesTheProfile) {
    pid_t pid = 0;
    std::filesystem::path profile;
    {
        word::testing::Office office;
        pid = office.pid();
        profile = office.profileDir();
        office.context();
    }
    EXPECT_FALSE(groupAlive(pid));
    EXPECT_FALSE(std::filesystem::exists(profile));
}

TEST(OfficeHarness, TwoOfficesRunSideBySide) {
    word::testing::Office a, b;
    EXPECT_NE(a.pipeName(), b.pipeName());
    auto documentA = a.newWriterDocument();
    auto documentB = b.newWriterDocument();
    documentA->getText()->setString(toOUString(std::u16string_view(u"A")));
    documentB->getText()->setString(toOUString(std::u16string_view(u"B")));
    EXPECT_EQ(word::testing::documentText(documentA), u"A");
    EXPECT_EQ(word::testing::documentText(documentB), u"B");
}

// Whatever the user running the tests keeps in their configuration folders (an extension's own
// settings among it) never reaches a test's office: it gets folders of its own profile.
TEST(OfficeHarness, TheOfficeNeverSeesTheUsersConfigurationFolders) {
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = before ? before : "";
    ::setenv("XDG_CONFIG_HOME", "/the-users-own-config", 1);
    word::testing::Office office;
    if (before) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    // The environments of the office's processes (its process group).
    std::string environment;
    for (const auto& process : word::testing::processesOfGroup(office.pid())) {
        std::ifstream in("/proc/" + std::to_string(process.pid) + "/environ", std::ios::binary);
        environment += std::string(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_FALSE(environment.empty());
    EXPECT_EQ(environment.find("/the-users-own-config"), std::string::npos);
    const std::string own = "XDG_CONFIG_HOME=" + office.profileDir().string();
    EXPECT_NE(environment.find(own), std::string::npos);
}

}  // namespace
