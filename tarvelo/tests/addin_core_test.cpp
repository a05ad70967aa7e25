// The add-in's life in a host, as both hosts run it: installing, connecting and going away.
#include "tarvelo/addin_core.h"

#include <gtest/gtest.h>

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
            return mTarvelo::HostParts{host, nullptr};
        });
        mTarvelo::SetServices({data, host});  // the fake data in place of the data files
    }
    void Connect() {
        mTarvelo::ConnectAddin([&] { return app; });
    }
    std::vector<std::shared_ptr<fakes::FakeControl>>& Bar() { return app->bars.bar.controls.items; }
    void StoreTranslation(std::u16string_view name) { host->settings["tarvelocfg/language/default"] = name; }

    int partsMade = 0;
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
