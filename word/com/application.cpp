// The word layer's interfaces over Word's objects (late-bound Automation).
#include <functional>
#include <optional>
#include <type_traits>

#include "word/com/busy.h"
#include "word/com/com_support.h"
#include "word/com/dispatch.h"
#include "word/com/word_com.h"

namespace word::com {

std::unique_ptr<word::CommandBars> makeCommandBars(std::function<Dispatch()> application);

namespace {

// {000209FF-0000-0000-C000-000000000046}, the class of "Word.Application" when the name is not
// registered (a per-user registration that the machine-wide view misses).
constexpr CLSID kWordApplicationClass = {0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class ComFont final : public word::Font {
public:
    explicit ComFont(Dispatch font) : font_(std::move(font)) {}
    void SetSizeBi(float points) override { font_.put(u"SizeBi", Variant::single(points)); }
    void SetSize(float points) override { font_.put(u"Size", Variant::single(points)); }

private:
    Dispatch font_;
};

class ComParagraphFormat final : public word::ParagraphFormat {
public:
    explicit ComParagraphFormat(Dispatch format) : format_(std::move(format)) {}
    void SetAlignment(int alignment) override { format_.put(u"Alignment", Variant::int32(alignment)); }

private:
    Dispatch format_;
};

class ComRange final : public word::Range {
public:
    explicit ComRange(Dispatch range) : range_(std::move(range)) {}
    int MoveStart(int unit, int count) override {
        std::vector<Argument> args;
        args.push_back({u"Unit", Variant::int32(unit)});
        args.push_back({u"Count", Variant::int32(count)});
        return range_.int32(range_.call(u"MoveStart", std::move(args)), u"MoveStart");
    }
    std::u16string Text() const override { return range_.text(range_.get(u"Text"), u"Text"); }

private:
    Dispatch range_;
};

class ComSelection final : public word::Selection {
public:
    explicit ComSelection(Dispatch selection) : s_(std::move(selection)) {}

    std::unique_ptr<word::Font> Font() override {
        return std::make_unique<ComFont>(s_.object(u"Font", ObjectType::Font));
    }
    std::unique_ptr<word::ParagraphFormat> ParagraphFormat() override {
        return std::make_unique<ComParagraphFormat>(s_.object(u"ParagraphFormat", ObjectType::ParagraphFormat));
    }
    std::unique_ptr<word::Range> Range() override {
        return std::make_unique<ComRange>(s_.object(u"Range", ObjectType::Range));
    }
    int Type() const override { return s_.int32(s_.get(u"Type"), u"Type"); }
    std::u16string Text() const override { return s_.text(s_.get(u"Text"), u"Text"); }
    int MoveStart(int unit, int count) override {
        std::vector<Argument> args;
        args.push_back({u"Unit", Variant::int32(unit)});
        args.push_back({u"Count", Variant::int32(count)});
        return s_.int32(s_.call(u"MoveStart", std::move(args)), u"MoveStart");
    }
    void TypeText(std::u16string_view text) override {
        std::vector<Argument> args;
        args.push_back({u"Text", Variant::text(text)});
        s_.call(u"TypeText", std::move(args));
    }
    void TypeParagraph() override { s_.call(u"TypeParagraph"); }
    void BoldRun() override { s_.call(u"BoldRun"); }
    void RtlRun() override { s_.call(u"RtlRun"); }
    void LtrRun() override { s_.call(u"LtrRun"); }
    void RtlPara() override { s_.call(u"RtlPara"); }
    void LtrPara() override { s_.call(u"LtrPara"); }
    void Paste() override { s_.call(u"Paste"); }
    void PasteAndFormat(int type) override {
        std::vector<Argument> args;
        args.push_back({u"Type", Variant::int32(type)});
        s_.call(u"PasteAndFormat", std::move(args));
    }
    void EndKey(int unit) override {
        std::vector<Argument> args;
        args.push_back({u"Unit", Variant::int32(unit)});
        s_.call(u"EndKey", std::move(args));
    }

private:
    Dispatch s_;
};

class ComWindow final : public word::Window {
public:
    explicit ComWindow(Dispatch window) : window_(std::move(window)) {}
    std::unique_ptr<word::Selection> Selection() override {
        return std::make_unique<ComSelection>(window_.object(u"Selection", ObjectType::Selection));
    }

private:
    Dispatch window_;
};

class ComDocument final : public word::Document {
public:
    explicit ComDocument(Dispatch document) : document_(std::move(document)) {}
    std::unique_ptr<word::Window> ActiveWindow() override {
        return std::make_unique<ComWindow>(document_.object(u"ActiveWindow", ObjectType::Window));
    }

private:
    Dispatch document_;
};

class ComDocuments final : public word::Documents {
public:
    explicit ComDocuments(std::function<int()> count) : count_(std::move(count)) {}
    int Count() const override { return count_(); }

private:
    std::function<int()> count_;
};

class ComApplication final : public word::Application {
public:
    // Attached to the running Word (found again after it has gone), from another process.
    explicit ComApplication(AttachOptions options)
        : attach_(true),
          whileWaiting_(std::move(options.whileWaiting)),
          filter_(std::make_unique<BusyMessageFilter>()) {
        init();
    }
    // An Application object handed over by Word.
    explicit ComApplication(IDispatch* application)
        : attach_(false), app_(std::make_shared<Session>(), ComPtr<IDispatch>(application), ObjectType::Application) {
        if (!application) throw word::Error("Word: no Application object");
        init();
    }

    std::unique_ptr<word::Document> ActiveDocument() override {
        return std::make_unique<ComDocument>(
            withApplication([](const Dispatch& app) { return app.object(u"ActiveDocument", ObjectType::Document); }));
    }
    word::Documents& Documents() override { return *documents_; }
    std::unique_ptr<word::Selection> Selection() override {
        return std::make_unique<ComSelection>(
            withApplication([](const Dispatch& app) { return app.object(u"Selection", ObjectType::Selection); }));
    }
    void SetScreenUpdating(bool on) override {
        withApplication([on](const Dispatch& app) {
            app.put(u"ScreenUpdating", Variant::boolean(on));
            return 0;
        });
    }
    word::CommandBars& CommandBars() override {
        if (!commandBars_) commandBars_ = makeCommandBars([this] { return application(); });
        return *commandBars_;
    }

private:
    void init() {
        documents_ = std::make_unique<ComDocuments>([this] {
            return withApplication([](const Dispatch& app) {
                const Dispatch documents = app.object(u"Documents", ObjectType::Documents);
                return documents.int32(documents.get(u"Count"), u"Count");
            });
        });
    }

    // The Application object; when attached, the running Word's (looked up again if it has gone).
    Dispatch application() {
        if (attach_ && (!app_.get() || app_.session()->lost())) attach();
        return app_;
    }

    // Runs `step` on the Application object. When attached and Word turns out to have gone since
    // the last call, the step is tried once more on the Word running now.
    template <typename Step>
    auto withApplication(Step step) -> std::invoke_result_t<Step&, const Dispatch&> {
        const bool known = app_.get() != nullptr;
        try {
            return step(application());
        } catch (const word::Error&) {
            if (!attach_ || !known || !app_.get() || !app_.session()->lost()) throw;
        }
        return step(application());
    }

    void attach() {
        app_ = Dispatch();
        auto session = std::make_shared<Session>(BusyWaiting{.retry = true, .whileWaiting = whileWaiting_});
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid))) clsid = kWordApplicationClass;
        ComPtr<IDispatch> dispatch;
        // Reaching Word's object is a call to Word too, refused while it is busy.
        const HRESULT hr = session->busyAware([&] {
            ComPtr<IUnknown> unknown;
            HRESULT found = GetActiveObject(clsid, nullptr, unknown.GetAddressOf());
            if (FAILED(found) && clsid != kWordApplicationClass)
                found = GetActiveObject(kWordApplicationClass, nullptr, unknown.ReleaseAndGetAddressOf());
            return SUCCEEDED(found) ? unknown.As(&dispatch) : found;
        });
        if (meansBusy(hr)) session->fail(u"Application", hr);
        if (FAILED(hr)) throw word::Error("the word processor is not running: no Word found (HRESULT " + hex(hr) + ")");
        app_ = Dispatch(std::move(session), std::move(dispatch), ObjectType::Application);
    }

    Apartment apartment_;  // first: the objects below are released before the apartment is left
    bool attach_;
    std::function<void()> whileWaiting_;
    // Only a caller from another process has one: inside Word, the apartment and its filter are Word's.
    std::unique_ptr<BusyMessageFilter> filter_;
    Dispatch app_;
    std::unique_ptr<word::Documents> documents_;
    std::unique_ptr<word::CommandBars> commandBars_;
};

}  // namespace

std::unique_ptr<word::Application> attachToRunningWord(AttachOptions options) {
    return std::make_unique<ComApplication>(std::move(options));
}

std::unique_ptr<word::Application> wrapApplication(IDispatch* application) {
    return std::make_unique<ComApplication>(application);
}

}  // namespace word::com
