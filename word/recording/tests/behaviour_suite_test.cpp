// The word layer's behaviour suite on the recording backend.
#include "word/recording/tests/behaviour_suite.h"

#include <algorithm>

namespace {

std::u16string withoutAccelerator(std::u16string_view caption) {
    std::u16string result(caption);
    std::erase(result, u'&');
    return result;
}

std::shared_ptr<word::recording::RecordingControl> find(
    const std::vector<std::shared_ptr<word::recording::RecordingControl>>& controls, std::u16string_view caption) {
    for (const auto& c : controls) {
        if (withoutAccelerator(c->Caption()) == caption) return c;
        if (auto found = find(c->children(), caption)) return found;
    }
    return nullptr;
}

class RecordingHarness {
public:
    RecordingHarness() {
        recorder_.setPastePiecesSource([this](int) { return clipboard_; });
    }
    word::Application& word() { return recorder_; }
    void setContent(std::u16string_view text) { recorder_.document().setContent(text); }
    std::vector<word::recording::Run> runs() { return recorder_.document().runs(); }
    std::vector<word::recording::ParagraphProps> paragraphs() { return recorder_.document().paragraphs(); }
    void putRichText(const std::string& rtf) { clipboard_ = word::rtf::readRichText(rtf).pieces; }
    void putUnicodeText(std::u16string_view text) { clipboard_ = word::rtf::plainTextPieces(text); }
    bool clickAndWait(std::u16string_view caption, const bool& clicked) {
        if (auto control = find(recorder_.menuBarControls(), caption)) control->click();
        return clicked;
    }
    void closeDocument() { recorder_.closeDocument(); }
    void stopWord() { recorder_.setRunning(false); }
    void startWord() { recorder_.setRunning(true); }

private:
    word::recording::Recorder recorder_;
    std::vector<word::rtf::PastePiece> clipboard_;
};

}  // namespace

namespace word::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Recording, WordBehaviour, RecordingHarness);
}
