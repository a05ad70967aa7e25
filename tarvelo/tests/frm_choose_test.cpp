#include <gtest/gtest.h>

#include "tarvelo/tests/fixture.h"

using mTarvelo::ChooseControl;

class ChooseTest : public AddinTest {
protected:
    fakes::ControlState& C(ChooseControl c) { return dialog.controls[c]; }
    std::shared_ptr<mTarvelo::FrmChoose> Open(std::int16_t mode) {
        mTarvelo::InsertMode = mode;
        mTarvelo::ShowFrmChoose();
        return mTarvelo::LoadedFrmChoose();
    }
    // The user picks list items; the control raises the dialog's click handler.
    void PickSurah(int index) {
        C(ChooseControl::cbSurat).index = index;
        C(ChooseControl::cbSurat).text = C(ChooseControl::cbSurat).items[index];
        mTarvelo::frmChoose_cbSurat_Click();
    }
    void PickFrom(int index) {
        C(ChooseControl::cbFrom).index = index;
        C(ChooseControl::cbFrom).text = C(ChooseControl::cbFrom).items[index];
        mTarvelo::frmChoose_cbFrom_Click();
    }
    void PickTo(int index) {
        C(ChooseControl::cbTo).index = index;
        C(ChooseControl::cbTo).text = C(ChooseControl::cbTo).items[index];
    }
};

TEST_F(ChooseTest, LoadFillsListsAndLaysOutByMode) {
    data->files = {u"English.dabrel", u"Arabic.dabrel", u"Indonesia.dabrel", u"arabic.old.dabrel", u"ARABIC.dabrel"};
    Open(2);
    EXPECT_TRUE(dialog.shown);
    EXPECT_TRUE(dialog.topmost);
    EXPECT_EQ(C(ChooseControl::cbSurat).items.size(), 114u);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbSurat).items[0]), "001. Surah1");
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbSurat).items[113]), "114. Surah114");
    EXPECT_EQ(C(ChooseControl::cbFrom).items.size(), 10u);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).text), "1");
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbSize).text), "14");
    EXPECT_EQ(C(ChooseControl::cbSize).items.size(), 16u);
    // Arabic in any letter case, also before another dot, is never a translation.
    ASSERT_EQ(C(ChooseControl::cbTran).items.size(), 2u);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTran).items[1]), "Indonesia");
    // Mode 2: no alternation, no translations, the short dialog, centred.
    EXPECT_FALSE(C(ChooseControl::Check2).visible);
    EXPECT_FALSE(C(ChooseControl::cbTran).visible);
    EXPECT_FALSE(C(ChooseControl::lblTranslation).visible);
    EXPECT_TRUE(C(ChooseControl::chUnicod).visible);
    EXPECT_EQ(dialog.height, 3085);
    EXPECT_EQ(C(ChooseControl::Command1).top, 2160);
    EXPECT_EQ(dialog.left, (19200 - 3600) / 2);
    EXPECT_EQ(dialog.top, (14400 - 3085) / 2);

    mTarvelo::UnloadFrmChoose();
    Open(3);
    EXPECT_FALSE(C(ChooseControl::chUnicod).visible);
    EXPECT_FALSE(C(ChooseControl::Check1).visible);
    EXPECT_TRUE(C(ChooseControl::cbTran).visible);
    EXPECT_EQ(dialog.height, 4285);
    EXPECT_EQ(C(ChooseControl::Command1).top, 3375);
}

TEST_F(ChooseTest, FirstVerseDecidesTheLastVerseList) {
    Open(2);
    PickSurah(4);
    PickFrom(6);  // verse 7
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).text), "7");
    ASSERT_EQ(C(ChooseControl::cbTo).items.size(), 4u);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).items.front()), "7");
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).items.back()), "10");
}

TEST_F(ChooseTest, OkInsertsRemembersAndCloses) {
    Open(2);
    dialog.left = 5;  // moved by the user
    PickSurah(1);
    PickFrom(2);
    PickTo(1);  // verse 4
    C(ChooseControl::chUnicod).value = 1;
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_EQ(word.document, "<paste 13:U13/3><paste 13:U14/4>\n");
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_EQ(mTarvelo::LastSurahIndex, 1);
    EXPECT_EQ(mTarvelo::LastFromIndex, 2);
    EXPECT_EQ(mTarvelo::LastToIndex, 1);
    EXPECT_EQ(dialog.left, (19200 - 3600) / 2);  // back in the middle
    // The next opening restores the positions.
    Open(2);
    EXPECT_EQ(C(ChooseControl::cbSurat).index, 1);
    EXPECT_EQ(C(ChooseControl::cbFrom).index, 2);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).text), "4");
    EXPECT_EQ(dialog.created, 2);
}

TEST_F(ChooseTest, FromVerseOneIsNotRestored) {
    Open(2);
    PickSurah(3);
    PickTo(4);
    mTarvelo::frmChoose_Command1_Click();
    Open(2);
    EXPECT_EQ(C(ChooseControl::cbSurat).index, 3);
    EXPECT_EQ(fakes::U8(C(ChooseControl::cbTo).text), "1");
}

TEST_F(ChooseTest, InvalidChoiceGivesTheMessageAndKeepsTheDialog) {
    Open(2);
    for (const std::u16string from : {u"", u"x", u"11"}) {
        C(ChooseControl::cbFrom).text = from;
        mTarvelo::frmChoose_Command1_Click();
        ASSERT_FALSE(dialog.messages.empty());
        EXPECT_EQ(dialog.messages.back(), "Pilih dulu surat dan ayatnya!");
        EXPECT_EQ(fakes::U8(C(ChooseControl::Command1).caption), "OK");
        EXPECT_FALSE(dialog.closed);
    }
    C(ChooseControl::cbFrom).text = u"1";
    C(ChooseControl::cbSurat).text = u"999. Nothing";
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_EQ(dialog.messages.size(), 4u);
    EXPECT_EQ(word.pastes, 0);
}

TEST_F(ChooseTest, SwitchAlternatesArabicAndEveryChosenTranslationVerseByVerse) {
    data->files = {u"A.dabrel", u"B.dabrel", u"C.dabrel"};
    Open(1);
    for (int i = 0; i < 3; ++i) C(ChooseControl::cbTran).selected[i] = true;
    C(ChooseControl::chUnicod).value = 1;
    C(ChooseControl::Check2).value = 1;
    PickFrom(0);
    PickTo(1);  // verses 1-2
    mTarvelo::frmChoose_Command1_Click();
    std::vector<std::string> order;
    for (const auto& e : word.log)
        if (e.rfind("TypeText", 0) == 0 || e.rfind("PasteAndFormat", 0) == 0) order.push_back(e);
    EXPECT_EQ(order, (std::vector<std::string>{"PasteAndFormat 0", "TypeText 1. A verse 1", "TypeText 1. B verse 1",
                                               "TypeText 1. C verse 1", "PasteAndFormat 0", "TypeText 2. A verse 2",
                                               "TypeText 2. B verse 2", "TypeText 2. C verse 2"}));
    EXPECT_EQ(mTarvelo::TranslationChosen[2], true);
    EXPECT_EQ(fakes::U8(data->translationName), "C");               // the last stays current
    EXPECT_EQ(host->settings["tarvelocfg/language/default"], u"");  // the setting is unchanged
}

TEST_F(ChooseTest, OneSelectedTranslationIsTheCurrentOneWithoutReopening) {
    data->files = {u"A.dabrel", u"B.dabrel"};
    Open(3);
    // A plain click on B: only B is left selected.
    C(ChooseControl::cbTran).selected[0] = false;
    C(ChooseControl::cbTran).selected[1] = true;
    mTarvelo::frmChoose_cbTran_Click(1);
    EXPECT_EQ(fakes::U8(host->settings["tarvelocfg/language/default"]), "B");
    EXPECT_EQ(data->log.back(), "loadeFile 1 B");
    data->log.clear();
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_TRUE(data->log.empty());
    EXPECT_NE(word.document.find("1. B verse 1"), std::string::npos);
    // The remembered translation is selected at the next load.
    Open(3);
    EXPECT_TRUE(C(ChooseControl::cbTran).selected[1]);
    EXPECT_FALSE(C(ChooseControl::cbTran).selected[0]);
}

TEST_F(ChooseTest, StopDuringInsertionEndsTheAlternatingLoop) {
    data->files = {u"A.dabrel"};
    Open(1);
    C(ChooseControl::cbTran).selected[0] = true;
    C(ChooseControl::chUnicod).value = 1;
    C(ChooseControl::Check2).value = 1;
    PickTo(5);  // verses 1-6
    host->onDoEvents = [&] {
        // the user presses the button, which reads "Stop" while inserting
        if (word.pastes == 2 && !mTarvelo::StopRequested) {
            EXPECT_EQ(fakes::U8(C(ChooseControl::Command1).caption), "Stop");
            mTarvelo::frmChoose_Command1_Click();
        }
    };
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_EQ(word.pastes, 2);
    EXPECT_TRUE(dialog.closed);
}

TEST_F(ChooseTest, ComposerLoadsTheDialogHiddenWithItsDefaults) {
    data->arabic[1] = "2A*";
    mTarvelo::InsertArabic(1, 1, 1, true);
    ASSERT_NE(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_FALSE(dialog.shown);
    EXPECT_NE(word.document.find("\\\\s 14}"), std::string::npos);
    // A later menu command only shows it.
    mTarvelo::ShowFrmChoose();
    EXPECT_TRUE(dialog.shown);
    EXPECT_EQ(dialog.created, 1);
}

TEST_F(ChooseTest, CloseBoxUnloadsWithoutRemembering) {
    Open(2);
    PickSurah(7);
    mTarvelo::frmChoose_QueryUnload();
    EXPECT_EQ(mTarvelo::LoadedFrmChoose(), nullptr);
    EXPECT_EQ(mTarvelo::LastSurahIndex, 0);
}

TEST(ChooseList, TheClickedTranslationIsTheOneTheClickSelected) {
    using mTarvelo::ClickedListItem;
    // A plain click: only the clicked item is left selected.
    EXPECT_EQ(ClickedListItem({true, false, false}, {false, false, true}), 2);
    // Ctrl-click adds one item to a selection: that item, though several are selected now.
    EXPECT_EQ(ClickedListItem({true, false, false}, {true, false, true}), 2);
    EXPECT_EQ(ClickedListItem({true, true, false}, {true, true, true}), 2);
    // Ctrl-click removes one: the one left selected, if only one is.
    EXPECT_EQ(ClickedListItem({true, false, true}, {true, false, false}), 0);
    EXPECT_EQ(ClickedListItem({true, true, true}, {true, false, true}), -1);
    EXPECT_EQ(ClickedListItem({true, false}, {false, false}), -1);
    // A list that grew since (items are only added at load).
    EXPECT_EQ(ClickedListItem({}, {false, true}), 1);
}

TEST_F(ChooseTest, ANewUserGetsTheFirstTranslationSelectedAndCurrent) {
    data->files = {u"Bengali.dabrel", u"English.dabrel"};
    Open(3);  // no stored choice
    EXPECT_TRUE(C(ChooseControl::cbTran).selected[0]);
    EXPECT_FALSE(C(ChooseControl::cbTran).selected[1]);
    EXPECT_EQ(fakes::U8(data->translationName), "Bengali");
    EXPECT_EQ(data->log.back(), "loadeFile 1 Bengali");
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_NE(word.document.find("1. Bengali verse 1"), std::string::npos);

    // A stored choice whose file is gone counts as none.
    host->settings["tarvelocfg/language/default"] = u"Urdu";
    Open(1);
    EXPECT_TRUE(C(ChooseControl::cbTran).selected[0]);
    EXPECT_EQ(fakes::U8(data->translationName), "Bengali");
}

TEST_F(ChooseTest, OkWithNoTranslationChosenSaysSoInTheModesThatInsertOne) {
    data->files = {u"Bengali.dabrel"};
    Open(1);
    C(ChooseControl::cbTran).selected[0] = false;  // the user deselects it
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_EQ(dialog.messages, (std::vector<std::string>{"Pilih dulu terjemahannya!"}));
    EXPECT_FALSE(dialog.closed);
    EXPECT_EQ(fakes::U8(C(ChooseControl::Command1).caption), "OK");
    EXPECT_EQ(word.document, "");

    // No translation file at all.
    mTarvelo::UnloadFrmChoose();
    dialog = {};
    data->files = {};
    Open(3);
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_EQ(dialog.messages.size(), 1u);
    EXPECT_FALSE(dialog.closed);
    // Arabic alone needs none.
    mTarvelo::UnloadFrmChoose();
    dialog = {};
    Open(2);
    mTarvelo::frmChoose_Command1_Click();
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_TRUE(dialog.closed);
}
