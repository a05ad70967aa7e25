// The add-in's life in a host, as both hosts run it: installing, connecting and going away.
#include "tarvelo/addin_core.h"

#include <gtest/gtest.h>

#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/tests/fixture.h"

class AddinCoreTest : public AddinTest {
protected:
    void SetUp() override {
        AddinTest::SetUp();
        mTarvelo::WordApp.reset();  // not connected yet
        data->files = {u"Arabic.dabrel", u"Bengali.dabrel", u"English.dabrel"};
        data->translationName = u"Bengali";  // the first translation, as the data files choose it
    }
    void TearDown() override {
        mTarvelo::UninstallAddin();
        AddinTest::TearDown();
    }
    void Install() {
        mTarvelo::InstallAddin([&] {
            ++partsMade;
            return mTarvelo::HostParts{host, nullptr, [this] { shownModes.push_back(mTarvelo::AutoReplaceOn); }};
        });
        mTarvelo::SetServices({data, host});  // the fake data in place of the data files
    }
    void Connect() {
        mTarvelo::ConnectAddin([&] { return app; });
    }
    std::vector<std::shared_ptr<fakes::FakeControl>>& Bar() { return app->bars.bar.controls.items; }
    void StoreTranslation(std::u16string_view name) { host->settings["tarvelocfg/language/default"] = name; }

    int partsMade = 0;
    // The modes shown outside the menu, in order.
    std::vector<bool> shownModes;
};

TEST_F(AddinCoreTest, ConnectingBuildsTheMenuAndOpensTheTranslationChosenInAnEarlierSession) {
    StoreTranslation(u"English");
    Install();
    Connect();
    EXPECT_EQ(mTarvelo::WordApp, app);
    ASSERT_EQ(Bar().size(), 1u);
    EXPECT_EQ(Bar()[0]->children->items.size(), 5u);
    EXPECT_EQ(data->log, (fakes::Log{"loade", "loadeFile 1 English"}));
    EXPECT_EQ(data->translationName, u"English");
    EXPECT_TRUE(host->messages.empty());
}

TEST_F(AddinCoreTest, AStoredTranslationThatIsCurrentOrGoneOpensNothing) {
    Install();
    for (const char16_t* stored : {u"", u"Bengali", u"Urdu"}) {
        SCOPED_TRACE(fakes::U8(stored));
        data->log.clear();
        StoreTranslation(stored);
        Connect();
        EXPECT_EQ(data->log, (fakes::Log{"loade"}));
        EXPECT_EQ(data->translationName, u"Bengali");
    }
}

TEST_F(AddinCoreTest, AnApplicationThatCannotBeReachedIsReportedAndNothingIsConnected) {
    Install();
    mTarvelo::ConnectAddin([]() -> std::shared_ptr<word::Application> { throw word::Error("Word is busy"); });
    ASSERT_EQ(host->messages.size(), 1u);
    EXPECT_EQ(host->messages[0],
              "Error 440 (Word is busy) in procedure AddinInstance_OnConnection of Designer Connect");
    EXPECT_EQ(mTarvelo::WordApp, nullptr);
    EXPECT_TRUE(data->log.empty());
    EXPECT_TRUE(Bar().empty());
}

TEST_F(AddinCoreTest, GoingAwayLeavesNothingBehindAndIsHarmlessWhenRepeated) {
    Install();
    Install();
    EXPECT_EQ(partsMade, 1);  // installed once
    Connect();
    mTarvelo::ctrl3_Click();
    ASSERT_NE(mTarvelo::LoadedFrmChoose(), nullptr);
    mTarvelo::AutoReplaceOn = true;

    mTarvelo::UninstallAddin();
    EXPECT_TRUE(Bar().empty());
    EXPECT_FALSE(mTarvelo::AutoReplaceOn);
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_EQ(mTarvelo::WordApp, nullptr);
    for (const auto* button :
         {&mTarvelo::ctrl2, &mTarvelo::ctrl3, &mTarvelo::ctrl4, &mTarvelo::ctrl5, &mTarvelo::ctrl6})
        EXPECT_EQ(*button, nullptr);
    EXPECT_FALSE(mTarvelo::HasServices());
    EXPECT_FALSE(mTarvelo::AddinInstalled());
    EXPECT_NO_THROW(mTarvelo::UninstallAddin());

    Install();  // a later connection installs afresh
    EXPECT_EQ(partsMade, 2);
}

TEST_F(AddinCoreTest, EveryChangeOfTheModeIsShownWhereverItComesFrom) {
    Install();
    Connect();
    mTarvelo::ClickCommand(u"Quran6");  // the menu's switch (no timers here: it says so)
    mTarvelo::ClickCommand(u"Quran6");
    EXPECT_EQ(shownModes, (std::vector<bool>{true, false}));
    // Switching to the mode it is in shows nothing.
    mTarvelo::SetAutoReplaceOn(false);
    EXPECT_EQ(shownModes.size(), 2u);
    // Disconnection ends the mode; so does a look-back that cannot reach the word processor.
    mTarvelo::SetAutoReplaceOn(true);
    mTarvelo::AddinInstance_OnDisconnection();
    mTarvelo::SetAutoReplaceOn(true);
    mTarvelo::WordApp.reset();
    EXPECT_EQ(mTarvelo::GetTypedTag(), u"");
    EXPECT_EQ(shownModes, (std::vector<bool>{true, false, true, false, true, false}));
    // Going away with the mode on shows it off once more, then nothing.
    mTarvelo::SetAutoReplaceOn(true);
    mTarvelo::UninstallAddin();
    mTarvelo::SetAutoReplaceOn(true);
    EXPECT_EQ(shownModes.size(), 8u);
    EXPECT_FALSE(shownModes.back());
    mTarvelo::AutoReplaceOn = false;
}
