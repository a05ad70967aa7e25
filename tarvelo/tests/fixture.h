// A loaded add-in on fake surroundings: WordApp, data, host and dialog, with the module state
// reset before every test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/composer.h"
#include "tarvelo/frm_choose.h"
#include "tarvelo/tests/fakes.h"

class AddinTest : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace mTarvelo;
        UnloadFrmChoose();
        StopRequested = false;
        InsertMode = 0;
        LastSurahIndex = LastFromIndex = LastToIndex = 0;
        TranslationChosen.fill(false);
        AutoReplaceOn = false;
        app = std::make_shared<fakes::FakeApplication>(word);
        WordApp = app;
        data = std::make_shared<fakes::FakeData>();
        host = std::make_shared<fakes::FakeHost>(word, dialog);
        SetServices({data, host});
    }
    void TearDown() override {
        mTarvelo::UnloadFrmChoose();
        mTarvelo::WordApp.reset();
        mTarvelo::ctrl2.reset();
        mTarvelo::ctrl3.reset();
        mTarvelo::ctrl4.reset();
        mTarvelo::ctrl5.reset();
        mTarvelo::ctrl6.reset();
        mTarvelo::SetServices({});
    }

    // The log entries that start with `prefix`.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : word.log)
            if (e.rfind(prefix, 0) == 0) out.push_back(e);
        return out;
    }
    long CountOf(const std::string& entry) const { return std::count(word.log.begin(), word.log.end(), entry); }

    fakes::WordState word;
    fakes::DialogState dialog;
    std::shared_ptr<fakes::FakeApplication> app;
    std::shared_ptr<fakes::FakeData> data;
    std::shared_ptr<fakes::FakeHost> host;
};
