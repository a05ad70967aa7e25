// frmChoose as a Win32 dialog from the add-in's resources: modeless, owned by Word's window,
// created hidden. Places and sizes are kept in twips, as the dialog's logic gives them, and
// converted to pixels of the screen's resolution. The user's own actions on the controls reach
// the frmChoose handlers; changes made from the logic raise none.
#include <array>
#include <string>

#include "tarvelo/addin_error.h"
#include "tarvelo/word/resource.h"
#include "tarvelo/word/word_host.h"

namespace tarvelo_word {

namespace {

using mTarvelo::AddinError;
using C = mTarvelo::ChooseControl;

// Each control's identifier and its place at design time: left, top, width, height in twips.
struct Place {
    C control;
    int id;
    int left, top, width, height;
};
constexpr int LabelHeight = 255;
constexpr int ComboListHeight = 3000;  // the drop-down list included
constexpr std::array<Place, 9> Places = {{
    {C::cbSurat, IDC_cbSurat, 1440, 240, 2055, ComboListHeight},
    {C::cbFrom, IDC_cbFrom, 1440, 720, 855, ComboListHeight},
    {C::cbTo, IDC_cbTo, 2760, 720, 735, ComboListHeight},
    {C::cbSize, IDC_cbSize, 1440, 1200, 735, ComboListHeight},
    {C::chUnicod, IDC_chUnicod, 45, 1800, 1095, LabelHeight},
    {C::Check1, IDC_Check1, 1215, 1800, 1275, LabelHeight},
    {C::Check2, IDC_Check2, 2475, 1800, 1140, LabelHeight},
    {C::cbTran, IDC_cbTran, 1485, 2070, 1950, 1185},
    {C::Command1, IDC_Command1, 2250, 2280, 1155, 375},
}};
struct LabelPlace {
    int id;
    int left, top, width;
};
constexpr std::array<LabelPlace, 5> LabelPlaces = {{
    {IDC_Label1_0, 240, 240, 735},    // "Surat"
    {IDC_Label2, 240, 720, 735},      // "Ayat"
    {IDC_Label1_1, 2400, 720, 375},   // "s/d"
    {IDC_Label1_2, 240, 1200, 975},   // "Font Size"
    {IDC_Label1_3, 240, 2160, 1215},  // "Translation"
}};
constexpr int DesignWidth = 3735;
constexpr int DesignHeight = 4285;

int IdOf(C control) {
    if (control == C::lblTranslation) return IDC_Label1_3;
    for (const auto& place : Places)
        if (place.control == control) return place.id;
    return 0;
}

bool IsCombo(C c) { return c == C::cbSurat || c == C::cbFrom || c == C::cbTo || c == C::cbSize; }

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string Narrow(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class ChooseDialog final : public mTarvelo::ChooseControls {
public:
    explicit ChooseDialog(HWND owner) {
        window_ = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_FRMCHOOSE), owner, &Proc,
                                     reinterpret_cast<LPARAM>(this));
        if (window_ == nullptr) throw AddinError(7, "Out of memory");
        dpiX_ = dpiY_ = 96;
        if (HDC screen = GetDC(nullptr)) {
            dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
            dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
        }
        for (const auto& place : Places)
            MoveWindow(Item(place.control), PixelsX(place.left), PixelsY(place.top), PixelsX(place.width),
                       PixelsY(place.height), FALSE);
        for (const auto& label : LabelPlaces)
            MoveWindow(GetDlgItem(window_, label.id), PixelsX(label.left), PixelsY(label.top), PixelsX(label.width),
                       PixelsY(LabelHeight), FALSE);
        SetWindowPos(window_, nullptr, 0, 0, PixelsX(DesignWidth), PixelsY(DesignHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        AddDialogKeys(window_);
    }
    ~ChooseDialog() override { Close(); }

    void Clear(C c) override {
        if (IsCombo(c)) {
            SendMessageW(Item(c), CB_RESETCONTENT, 0, 0);
            SetWindowTextW(Item(c), L"");
        } else if (c == C::cbTran) {
            SendMessageW(Item(c), LB_RESETCONTENT, 0, 0);
        }
    }
    void AddItem(C c, std::u16string_view item) override {
        const std::wstring text = Wide(item);
        SendMessageW(Item(c), IsCombo(c) ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    int ListCount(C c) const override {
        return static_cast<int>(SendMessageW(Item(c), IsCombo(c) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    }
    std::u16string List(C c, int index) const override {
        const UINT lengthMessage = IsCombo(c) ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
        const LRESULT length = SendMessageW(Item(c), lengthMessage, static_cast<WPARAM>(index), 0);
        if (length < 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(Item(c), IsCombo(c) ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return Narrow(text);
    }
    int ListIndex(C c) const override {
        if (IsCombo(c)) return static_cast<int>(SendMessageW(Item(c), CB_GETCURSEL, 0, 0));
        // The list's current item (the focus rectangle), as in a multi-select list.
        return static_cast<int>(SendMessageW(Item(c), LB_GETCARETINDEX, 0, 0));
    }
    void SetListIndex(C c, int index) override {
        if (IsCombo(c)) {
            SendMessageW(Item(c), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        } else {
            SendMessageW(Item(c), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    }
    bool Selected(C c, int index) const override {
        return SendMessageW(Item(c), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    }
    void SetSelected(C c, int index, bool selected) override {
        SendMessageW(Item(c), LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    }
    std::u16string Text(C c) const override { return Narrow(WindowText(Item(c))); }
    void SetText(C c, std::u16string_view text) override {
        const std::wstring wide = Wide(text);
        SetWindowTextW(Item(c), wide.c_str());
    }
    int Value(C c) const override { return IsDlgButtonChecked(window_, IdOf(c)) == BST_CHECKED ? 1 : 0; }
    void SetValue(C c, int value) override {
        CheckDlgButton(window_, IdOf(c), value == 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    std::u16string Caption(C c) const override { return Narrow(WindowText(Item(c))); }
    void SetCaption(C c, std::u16string_view caption) override {
        SetText(c, caption);
        UpdateWindow(Item(c));
    }
    void SetVisible(C c, bool visible) override { ShowWindow(Item(c), visible ? SW_SHOWNA : SW_HIDE); }
    void SetTop(C c, int twips) override {
        RECT rect;
        GetWindowRect(Item(c), &rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(Item(c), nullptr, rect.left, PixelsY(twips), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int Width() const override { return TwipsX(WindowRect().right - WindowRect().left); }
    int Height() const override { return TwipsY(WindowRect().bottom - WindowRect().top); }
    void SetHeight(int twips) override {
        const RECT rect = WindowRect();
        SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, PixelsY(twips),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void Move(int left, int top) override {
        SetWindowPos(window_, nullptr, PixelsX(left), PixelsY(top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int ScreenWidth() const override { return TwipsX(GetSystemMetrics(SM_CXSCREEN)); }
    int ScreenHeight() const override { return TwipsY(GetSystemMetrics(SM_CYSCREEN)); }
    void Show() override {
        if (!window_) return;
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    }
    void SetTopmost(bool onTop) override {
        // Keeps its place and size: only the order changes.
        SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    std::uintptr_t WindowHandle() const override { return reinterpret_cast<std::uintptr_t>(window_); }
    void Close() override {
        if (!window_) return;
        HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        RemoveDialogKeys(window);
        DestroyWindow(window);
    }
    void MsgBox(std::u16string_view text) override {
        const std::wstring wide = Wide(text);
        MessageBoxW(window_, wide.c_str(), L"Tarvelo", MB_OK | MB_ICONINFORMATION);
    }

private:
    HWND Item(C c) const { return GetDlgItem(window_, IdOf(c)); }
    RECT WindowRect() const {
        RECT rect{};
        GetWindowRect(window_, &rect);
        return rect;
    }
    int PixelsX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int PixelsY(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    int TwipsX(int pixels) const { return MulDiv(pixels, 1440, dpiX_); }
    int TwipsY(int pixels) const { return MulDiv(pixels, 1440, dpiY_); }

    // A choice from a combo box's list shows in its edit field only after the notification:
    // the handlers read the text, so it is put there first.
    static void ShowChosenItem(HWND combo) {
        const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (index < 0) return;
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0) return;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        SetWindowTextW(combo, text.c_str());
    }

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
            return TRUE;
        }
        // Messages after Close (or before the dialog was set up) have no dialog to reach.
        if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) return FALSE;
        switch (message) {
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                const int code = HIWORD(wParam);
                if ((id == IDC_cbSurat || id == IDC_cbFrom) && code == CBN_SELCHANGE) {
                    ShowChosenItem(reinterpret_cast<HWND>(lParam));
                    if (id == IDC_cbSurat) mTarvelo::frmChoose_cbSurat_Click();
                    else mTarvelo::frmChoose_cbFrom_Click();
                    return TRUE;
                }
                if (id == IDC_cbTran && code == LBN_SELCHANGE) {
                    const auto clicked = SendMessageW(reinterpret_cast<HWND>(lParam), LB_GETCARETINDEX, 0, 0);
                    mTarvelo::frmChoose_cbTran_Click(static_cast<int>(clicked));
                    return TRUE;
                }
                if (id == IDC_Command1 && code == BN_CLICKED) {
                    mTarvelo::frmChoose_Command1_Click();
                    return TRUE;
                }
                if (id == IDCANCEL) {  // Escape
                    mTarvelo::frmChoose_QueryUnload();
                    return TRUE;
                }
                break;
            }
            case WM_CLOSE:  // the close box
                mTarvelo::frmChoose_QueryUnload();
                return TRUE;
            default: break;
        }
        return FALSE;
    }

    HWND window_ = nullptr;
    int dpiX_ = 96, dpiY_ = 96;
};

}  // namespace

std::unique_ptr<mTarvelo::ChooseControls> MakeChooseDialog(HWND owner) { return std::make_unique<ChooseDialog>(owner); }

}  // namespace tarvelo_word
