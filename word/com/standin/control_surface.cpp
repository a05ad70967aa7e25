#include "word/com/standin/control_surface.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "word/com/standin/host.h"

namespace word::com::standin {

namespace {

constexpr char16_t kRecord = u'\x1e';
constexpr char16_t kField = u'\x1f';

std::u16string ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return ascii(buffer);
}

double toNumber(std::u16string_view text) {
    const std::string narrow(text.begin(), text.end());
    return std::strtod(narrow.c_str(), nullptr);
}

std::vector<std::u16string> split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> result(1);
    for (char16_t ch : text) {
        if (ch == separator) result.emplace_back();
        else result.back() += ch;
    }
    return result;
}

std::u16string fields(std::initializer_list<std::u16string> values) {
    std::u16string result;
    for (const auto& value : values) {
        if (!result.empty() || &value != values.begin()) result += kField;
        result += value;
    }
    return result;
}

void describe(const std::vector<std::shared_ptr<word::recording::RecordingControl>>& controls, int depth,
              std::vector<std::u16string>& records) {
    for (const auto& c : controls) {
        records.push_back(
            fields({number(depth), number(c->type()), c->temporary() ? u"1" : u"0", c->visible() ? u"1" : u"0",
                    c->Caption(), c->tooltipText(), c->onAction(), c->tag()}));
        describe(c->children(), depth + 1, records);
    }
}

}  // namespace

std::u16string joinRecords(const std::vector<std::u16string>& records) {
    std::u16string result;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) result += kRecord;
        result += records[i];
    }
    return result;
}

std::u16string joinFields(std::initializer_list<std::u16string> values) { return fields(values); }

std::vector<std::u16string> splitFields(std::u16string_view record) { return split(record, kField); }

std::vector<std::u16string> splitRecords(std::u16string_view text) {
    if (text.empty()) return {};
    return split(text, kRecord);
}

std::u16string encodeRuns(const std::vector<word::recording::Run>& runs) {
    std::vector<std::u16string> records;
    for (const auto& run : runs)
        records.push_back(fields({run.format.bold ? u"1" : u"0", number(run.format.size), number(run.format.sizeBi),
                                  run.format.rightToLeftRun ? u"1" : u"0", run.format.font, run.text}));
    return joinRecords(records);
}

std::vector<word::recording::Run> decodeRuns(std::u16string_view text) {
    std::vector<word::recording::Run> runs;
    for (const auto& record : splitRecords(text)) {
        const auto f = split(record, kField);
        if (f.size() != 6) throw std::runtime_error("malformed run from the stand-in");
        word::recording::Run run;
        run.format.bold = f[0] == u"1";
        run.format.size = static_cast<float>(toNumber(f[1]));
        run.format.sizeBi = static_cast<float>(toNumber(f[2]));
        run.format.rightToLeftRun = f[3] == u"1";
        run.format.font = f[4];
        run.text = f[5];
        runs.push_back(std::move(run));
    }
    return runs;
}

std::u16string encodeParagraphs(const std::vector<word::recording::ParagraphProps>& paragraphs) {
    std::vector<std::u16string> records;
    for (const auto& p : paragraphs) records.push_back(fields({p.rightToLeft ? u"1" : u"0", number(p.alignment)}));
    return joinRecords(records);
}

std::vector<word::recording::ParagraphProps> decodeParagraphs(std::u16string_view text) {
    std::vector<word::recording::ParagraphProps> result;
    for (const auto& record : splitRecords(text)) {
        const auto f = split(record, kField);
        if (f.size() != 2) throw std::runtime_error("malformed paragraph from the stand-in");
        result.push_back({f[0] == u"1", static_cast<int>(toNumber(f[1]))});
    }
    return result;
}

std::u16string encodeMenu(const std::vector<std::shared_ptr<word::recording::RecordingControl>>& menuBar) {
    std::vector<std::u16string> records;
    describe(menuBar, 0, records);
    return joinRecords(records);
}

std::vector<MenuEntry> decodeMenu(std::u16string_view text) {
    std::vector<MenuEntry> result;
    for (const auto& record : splitRecords(text)) {
        const auto f = split(record, kField);
        if (f.size() != 8) throw std::runtime_error("malformed menu entry from the stand-in");
        result.push_back({static_cast<int>(toNumber(f[0])), static_cast<int>(toNumber(f[1])), f[2] == u"1",
                          f[3] == u"1", f[4], f[5], f[6], f[7]});
    }
    return result;
}

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

bool pumpMessagesWhileWaiting(HANDLE handle, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return handle ? WaitForSingleObject(handle, 0) == WAIT_OBJECT_0 : false;
        const DWORD count = handle ? 1 : 0;
        const DWORD r = MsgWaitForMultipleObjects(count, handle ? &handle : nullptr, FALSE,
                                                  static_cast<DWORD>(left.count()), QS_ALLINPUT);
        if (handle && r == WAIT_OBJECT_0) return true;
        if (!handle && r == WAIT_TIMEOUT) return false;
    }
}

StandinProcess::StandinProcess(const std::filesystem::path& program, std::u16string_view arguments,
                               std::chrono::milliseconds timeout) {
    // A Word still leaving the running object table (one that was asked to quit) must not be
    // taken for the new one.
    pumpMessagesUntil(
        [] {
            ComPtr<IUnknown> previous;
            return FAILED(GetActiveObject(CLSID_WordApplication, nullptr, previous.GetAddressOf()));
        },
        std::chrono::seconds(10));
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + std::wstring(wide(arguments), arguments.size());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start the Word stand-in " + program.string() + " (" +
                                 hex(HRESULT_FROM_WIN32(GetLastError())) + ")");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        ComPtr<IUnknown> unknown;
        if (SUCCEEDED(GetActiveObject(CLSID_WordApplication, nullptr, unknown.GetAddressOf())) &&
            SUCCEEDED(unknown.As(&app_)))
            return;
        const bool ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
        if (ended || std::chrono::steady_clock::now() >= end) {
            DWORD code = 0;
            if (ended) GetExitCodeProcess(process_, &code);
            TerminateProcess(process_, 1);
            CloseHandle(process_);
            throw std::runtime_error("the Word stand-in did not enter the running object table (" +
                                     (ended ? "it ended with " + hex(static_cast<HRESULT>(code)) : "timed out") + ")");
        }
        pumpMessagesWhileWaiting(nullptr, std::chrono::milliseconds(20));
    }
}

StandinProcess::~StandinProcess() {
    try {
        quit();
    } catch (...) {
    }
    if (process_) {
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
}

void StandinProcess::quit() {
    if (!process_ || !app_) return;
    DISPID id;
    LPOLESTR name = const_cast<LPOLESTR>(L"Quit");
    if (SUCCEEDED(app_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        app_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }
    app_.Reset();
    if (!pumpMessagesWhileWaiting(process_, std::chrono::seconds(20))) TerminateProcess(process_, 1);
}

bool StandinProcess::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

Variant StandinProcess::invoke(std::u16string_view member, std::vector<Variant> args, WORD flags) const {
    if (!app_) throw std::runtime_error("the stand-in has quit");
    const std::u16string name(member);
    LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const wchar_t*>(name.c_str()))};
    DISPID id;
    HRESULT hr = app_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw std::runtime_error("the stand-in has no member " + utf8(member) + " (" + hex(hr) + ")");
    std::vector<VARIANT> raw;
    for (auto it = args.rbegin(); it != args.rend(); ++it) raw.push_back(*it->get());
    DISPPARAMS params{raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
    Variant result;
    EXCEPINFO exception{};
    hr = app_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.out(), &exception, nullptr);
    if (FAILED(hr)) {
        const Bstr description = Bstr::adopt(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        throw std::runtime_error("the stand-in's " + utf8(member) + " failed (" + hex(hr) +
                                 "): " + utf8(description.text()));
    }
    return result;
}

namespace {
std::u16string textOf(const Variant& v) {
    const VARIANT* raw = v.get();
    return raw->vt == VT_BSTR && raw->bstrVal ? u16(raw->bstrVal, SysStringLen(raw->bstrVal)) : std::u16string();
}
}  // namespace

std::vector<word::recording::Run> StandinProcess::runs() const { return decodeRuns(textOf(invoke(kStandinRuns))); }
std::vector<word::recording::ParagraphProps> StandinProcess::paragraphs() const {
    return decodeParagraphs(textOf(invoke(kStandinParagraphs)));
}
std::u16string StandinProcess::text() const { return textOf(invoke(kStandinText)); }
std::pair<long, long> StandinProcess::selection() const {
    const std::u16string span = textOf(invoke(kStandinSelection));
    const std::size_t blank = span.find(u' ');
    return {static_cast<long>(toNumber(span.substr(0, blank))),
            static_cast<long>(toNumber(blank == std::u16string::npos ? u"" : span.substr(blank + 1)))};
}
void StandinProcess::setContent(std::u16string_view text, long insertionPoint) const {
    invoke(kStandinSetContent, {Variant::text(text), Variant::int32(insertionPoint)}, DISPATCH_METHOD);
}
void StandinProcess::typeKeys(std::u16string_view text) const {
    invoke(kStandinTypeKeys, {Variant::text(text)}, DISPATCH_METHOD);
}
void StandinProcess::click(std::u16string_view caption) const {
    invoke(kStandinClick, {Variant::text(caption)}, DISPATCH_METHOD);
}
void StandinProcess::closeDocument() const { invoke(kStandinCloseDocument, {}, DISPATCH_METHOD); }
void StandinProcess::newDocument() const { invoke(kStandinNewDocument, {}, DISPATCH_METHOD); }
std::vector<std::u16string> StandinProcess::edits() const { return splitRecords(textOf(invoke(kStandinEdits))); }
void StandinProcess::clearLog() const { invoke(kStandinClearLog, {}, DISPATCH_METHOD); }
std::vector<MenuEntry> StandinProcess::menu() const { return decodeMenu(textOf(invoke(kStandinMenu))); }
std::vector<std::u16string> StandinProcess::addins() const { return splitRecords(textOf(invoke(kStandinAddins))); }
std::vector<std::u16string> StandinProcess::addinLog() const { return splitRecords(textOf(invoke(kStandinAddinLog))); }
void StandinProcess::busy(std::chrono::milliseconds period) const {
    invoke(kStandinBusy, {Variant::single(static_cast<float>(period.count()) / 1000.0f)}, DISPATCH_METHOD);
}
long StandinProcess::refusedCalls() const {
    Variant v = invoke(kStandinRefusedCalls);
    return v.get()->vt == VT_I4 ? v.get()->lVal : 0;
}
void StandinProcess::setEditable(bool editable) const {
    invoke(kStandinSetEditable, {Variant::boolean(editable)}, DISPATCH_METHOD);
}
bool StandinProcess::screenUpdating() const {
    Variant v = invoke(kStandinScreenUpdating);
    return v.get()->vt == VT_BOOL && v.get()->boolVal != VARIANT_FALSE;
}

}  // namespace word::com::standin
