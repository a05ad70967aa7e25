// The fixture of the LibreOffice backend's tests: a new Writer document in the office shared by
// the test program (the other documents closed), and the word layer reaching it over its pipe.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include <com/sun/star/text/XTextDocument.hpp>

#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace word::testing {

class WriterTest : public ::testing::Test {
protected:
    // How long the layer tries to reach the office before a call fails.
    explicit WriterTest(std::chrono::milliseconds connectTimeout = std::chrono::milliseconds(5000))
        : connectTimeout_(connectTimeout) {}

    void SetUp() override {
        office_ = &sharedOffice();
        office_->closeAllDocuments();
        document_ = office_->newWriterDocument();
        word_ = word::libreoffice::connectOverPipe(office_->pipeOptions(connectTimeout_));
    }
    void TearDown() override { word_.reset(); }

    std::unique_ptr<word::Selection> selection() { return word_->ActiveDocument()->ActiveWindow()->Selection(); }

    Office* office_ = nullptr;
    uno::Reference<::com::sun::star::text::XTextDocument> document_;
    std::unique_ptr<word::Application> word_;

private:
    std::chrono::milliseconds connectTimeout_;
};

}  // namespace word::testing
