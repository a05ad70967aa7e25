// A small in-memory word processor for the automatic replacement's tests: paragraphs of text, one
// selection inside a paragraph, MoveStart in Word's word unit, and a log of the calls made.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "word/word.h"
#include "word/word_units.h"

namespace mTarvelo::testing {

struct FakeDocument {
    std::vector<std::u16string> paragraphs{u""};
    std::vector<bool> leftToRight{false};
    std::size_t para = 0;   // paragraph of the selection
    std::size_t start = 0;  // selection within it
    std::size_t end = 0;
    std::vector<std::string> calls;
    bool failTyping = false;

    // Types as a user's keystrokes arrive: each character replaces the selection.
    void Type(std::u16string_view text) {
        for (const char16_t c : text) Insert(std::u16string(1, c));
    }
    void Insert(std::u16string_view text) {
        auto& p = paragraphs[para];
        p.replace(start, end - start, text);
        start += text.size();
        end = start;
    }
    void NewParagraph() {
        auto& p = paragraphs[para];
        std::u16string rest = p.substr(end);
        p.erase(start);
        paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(para) + 1, rest);
        leftToRight.insert(leftToRight.begin() + static_cast<std::ptrdiff_t>(para) + 1, leftToRight[para]);
        ++para;
        start = end = 0;
    }
    std::u16string Text() const {
        std::u16string all;
        for (std::size_t i = 0; i < paragraphs.size(); ++i) {
            if (i) all += u'\n';
            all += paragraphs[i];
        }
        return all;
    }
};

inline std::size_t MoveBack(const FakeDocument& doc, std::size_t& start, int unit, int count) {
    if (unit != word::wdWord || count > 0) throw word::Error("unsupported move");
    const auto move = word::moveStartBackByWords(doc.paragraphs[doc.para], start, -count);
    start = move.start;
    return static_cast<std::size_t>(move.moved);
}

class FakeRange final : public word::Range {
public:
    FakeRange(FakeDocument& doc, std::size_t start, std::size_t end) : doc_(doc), start_(start), end_(end) {}
    int MoveStart(int unit, int count) override {
        doc_.calls.push_back("Range.MoveStart " + std::to_string(count));
        return static_cast<int>(MoveBack(doc_, start_, unit, count));
    }
    std::u16string Text() const override { return doc_.paragraphs[doc_.para].substr(start_, end_ - start_); }

private:
    FakeDocument& doc_;
    std::size_t start_, end_;
};

class FakeSelection final : public word::Selection {
public:
    explicit FakeSelection(FakeDocument& doc) : doc_(doc) {}
    std::unique_ptr<word::Font> Font() override { throw word::Error("no font"); }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override { throw word::Error("no format"); }
    std::unique_ptr<word::Range> Range() override {
        return std::make_unique<FakeRange>(doc_, doc_.start, doc_.end);
    }
    int Type() const override { return doc_.start == doc_.end ? word::wdSelectionIP : 2; }
    std::u16string Text() const override {
        return doc_.paragraphs[doc_.para].substr(doc_.start, doc_.end - doc_.start);
    }
    int MoveStart(int unit, int count) override {
        doc_.calls.push_back("Selection.MoveStart " + std::to_string(count));
        return static_cast<int>(MoveBack(doc_, doc_.start, unit, count));
    }
    void TypeText(std::u16string_view text) override {
        if (doc_.failTyping) throw word::Error("typing failed");
        doc_.calls.push_back("TypeText " + std::string(text.begin(), text.end()));
        doc_.Insert(text);
    }
    void TypeParagraph() override {
        doc_.calls.push_back("TypeParagraph");
        doc_.NewParagraph();
    }
    void BoldRun() override {}
    void RtlRun() override {}
    void LtrRun() override {}
    void RtlPara() override { doc_.leftToRight[doc_.para] = false; }
    void LtrPara() override {
        doc_.calls.push_back("LtrPara");
        doc_.leftToRight[doc_.para] = true;
    }
    void Paste() override {}
    void PasteAndFormat(int) override {}
    void EndKey(int) override {}

private:
    FakeDocument& doc_;
};

class FakeDocuments final : public word::Documents {
public:
    int count = 1;
    int Count() const override { return count; }
};

class FakeApplication final : public word::Application {
public:
    FakeDocument doc;
    FakeDocuments documents;

    std::unique_ptr<word::Document> ActiveDocument() override { throw word::Error("not used"); }
    word::Documents& Documents() override { return documents; }
    std::unique_ptr<word::Selection> Selection() override {
        if (documents.count == 0) throw word::Error("This command is not available because no document is open.");
        return std::make_unique<FakeSelection>(doc);
    }
    void SetScreenUpdating(bool) override {}
    word::CommandBars& CommandBars() override { throw word::Error("not used"); }
};

}  // namespace mTarvelo::testing
