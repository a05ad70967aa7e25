// The automatic replacement on a real headless Writer: the office's timer service, the
// LibreOffice word backend, keystrokes arriving on the office's main thread, and the document
// read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tarvelo/autoreplace/tests/office_typing.h"

namespace mTarvelo {
namespace {

using namespace std::chrono_literals;
using testing::TypingSession;

class AutoReplaceInOffice : public ::testing::Test {
protected:
    TypingSession session_{word::testing::sharedOffice()};
};

TEST_F(AutoReplaceInOffice, TypedTagsAreReplacedAndSwitchingOffStopsIt) {
    session_.Click();
    ASSERT_TRUE(session_.ModeOn());

    session_.Type(u"Text before ");
    session_.Type(u"[QS2:1-2A");
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(session_.Text(), u"Text before [QS2:1-2A");
    session_.Key(u']');
    const auto took = session_.WaitFor(u"<Arabic");
    ASSERT_TRUE(took) << "not replaced";
    EXPECT_EQ(session_.Text(), u"Text before (QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n");

    // Lower case, both, and the translation only.
    session_.Type(u"[qs2:1-2b]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 2:1-2>"));
    session_.Type(u"[QS2:5T]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 2:5-5>"));
    EXPECT_EQ(session_.Text(),
              u"Text before (QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n"
              u"(QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n<Translation 2:1-2>\n"
              u"(QS2. Al-Baqarah ayat 5)\n<Translation 2:5-5>\n");

    // Beyond the surah's verses, and above 114: the tags stay, the mode keeps working.
    session_.Type(u"[QS2:300A] [QS115:1A]");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(session_.Text().ends_with(u"\n[QS2:300A] [QS115:1A]"));
    session_.Type(u" [QS2:7T]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 2:7-7>"));
    EXPECT_TRUE(session_.Text().ends_with(u"\n[QS2:300A] [QS115:1A] (QS2. Al-Baqarah ayat 7)\n<Translation 2:7-7>\n"));
    // No letter: what the last tag inserted.
    session_.Type(u"[QS2:8]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 2:8-8>"));
    EXPECT_TRUE(session_.Text().ends_with(u"<Translation 2:7-7>\n(QS2. Al-Baqarah ayat 8)\n<Translation 2:8-8>\n"));

    // Switched off: nothing is replaced any more.
    session_.Click();
    ASSERT_FALSE(session_.ModeOn());
    session_.Type(u"[QS2:5T]");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(session_.Text().ends_with(u"<Translation 2:8-8>\n[QS2:5T]"));
    EXPECT_TRUE(session_.Messages().empty());
    std::printf("closing bracket to finished citation: %.1f ms\n", took->count());
}

TEST_F(AutoReplaceInOffice, TextAroundATagTypedMidParagraphIsKept) {
    // The user's text on both sides of the insertion point, ending in characters that are words
    // of their own; tags that only look complete (a blank after the bracket, no "[" or no "QS").
    session_.Type(u"Said:x-y. End", 0ms);
    session_.Left(4);
    session_.Type(u"[QS2:1-2A] [2:1A] QS2:1A]", 0ms);
    session_.Click();
    for (const int left : {0, 8, 6}) {  // after "QS2:1A]", after "[2:1A]", after "[QS2:1-2A] "
        session_.Left(left);
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(session_.Text(), u"Said:x-y.[QS2:1-2A] [2:1A] QS2:1A] End") << left;
    }
    session_.Type(u"[QS1:7T]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 1:7-7>"));
    EXPECT_EQ(session_.Text(), u"Said:x-y.[QS2:1-2A] (QS1. Other ayat 7)\n<Translation 1:7-7>\n[2:1A] QS2:1A] End");
    session_.Click();
}

TEST_F(AutoReplaceInOffice, TagsAtAParagraphStartAfterArabicAndUnderASelection) {
    // Arabic letters with their vowel marks right before the bracket.
    const std::u16string arabic = u"\u0628\u0650\u0633\u0652\u0645\u0650";
    session_.Type(arabic, 0ms);
    session_.Click();
    session_.Type(u"[QS1:7T]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 1:7-7>"));
    EXPECT_EQ(session_.Text(), arabic + u"(QS1. Other ayat 7)\n<Translation 1:7-7>\n");

    // At the start of the paragraph that the insertion left.
    session_.Type(u"[QS2:5T]");
    ASSERT_TRUE(session_.WaitFor(u"<Translation 2:5-5>"));
    EXPECT_EQ(session_.Text(), arabic +
                                   u"(QS1. Other ayat 7)\n<Translation 1:7-7>\n"
                                   u"(QS2. Al-Baqarah ayat 5)\n<Translation 2:5-5>\n");

    // A selected tag is never treated.
    session_.Click();
    session_.Type(u"[QS2:6T]", 0ms);
    session_.Left(8, true);
    session_.Click();
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(session_.Text().ends_with(u"<Translation 2:5-5>\n[QS2:6T]"));
    session_.Click();
    EXPECT_TRUE(session_.Messages().empty());
}

TEST_F(AutoReplaceInOffice, NoDocumentEndsTheModeAtTheFirstTick) {
    word::testing::sharedOffice().closeAllDocuments();
    session_.Click();
    const auto deadline = std::chrono::steady_clock::now() + word::testing::kOfficeReplyLimit;
    while (session_.ModeOn() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(session_.ModeOn());
    EXPECT_EQ(session_.TimerId(), 0u);
}

}  // namespace
}  // namespace mTarvelo
