// The verse chooser dialog frmChoose: its logic (load steps, selection handling, OK and Stop),
// written against a thin interface to its controls so that it runs without a display. The office
// dialog is one implementation of ChooseControls; tests use another.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mTarvelo {

// The dialog's controls by name.
enum class ChooseControl {
    cbSurat,
    cbFrom,
    cbTo,
    cbSize,
    chUnicod,
    Check1,
    Check2,
    cbTran,
    Command1,
    lblTranslation,  // the "Translation" heading of cbTran, Label1(3)
};

// The controls of one dialog window. Positions and sizes are in twips. Changing a selection
// from here never raises the dialog's click handlers: the logic runs them itself. The
// implementation raises them for the user's own actions: FrmChoose::cbSurat_Click and so on.
class ChooseControls {
public:
    virtual ~ChooseControls() = default;

    // Combo and list boxes.
    virtual void Clear(ChooseControl c) = 0;
    virtual void AddItem(ChooseControl c, std::u16string_view item) = 0;
    virtual int ListCount(ChooseControl c) const = 0;
    virtual std::u16string List(ChooseControl c, int index) const = 0;
    virtual int ListIndex(ChooseControl c) const = 0;  // -1 when none
    // On a combo box this also shows the item as the box's text.
    virtual void SetListIndex(ChooseControl c, int index) = 0;
    virtual bool Selected(ChooseControl c, int index) const = 0;  // multi-select list
    virtual void SetSelected(ChooseControl c, int index, bool selected) = 0;
    // The edit text of a combo box.
    virtual std::u16string Text(ChooseControl c) const = 0;
    virtual void SetText(ChooseControl c, std::u16string_view text) = 0;
    // Check boxes: 1 ticked, 0 clear. Setting it raises no handler (the dialog has none).
    virtual int Value(ChooseControl c) const = 0;
    virtual void SetValue(ChooseControl c, int value) = 0;
    // Caption of a button.
    virtual std::u16string Caption(ChooseControl c) const = 0;
    virtual void SetCaption(ChooseControl c, std::u16string_view caption) = 0;
    virtual void SetVisible(ChooseControl c, bool visible) = 0;
    virtual void SetTop(ChooseControl c, int twips) = 0;

    // The dialog window.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int twips) = 0;
    virtual void Move(int left, int top) = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    virtual void Show() = 0;
    // Keeps the window above the others where the platform allows it.
    virtual void SetTopmost(bool onTop) = 0;
    virtual std::uintptr_t WindowHandle() const = 0;
    // Hides and destroys the window (the instance is unloaded right after).
    virtual void Close() = 0;
    // Shows an information message box owned by the dialog.
    virtual void MsgBox(std::u16string_view text) = 0;
};

// List positions remembered from the last OK, and which translations were chosen.
inline std::int16_t LastSurahIndex = 0, LastFromIndex = 0, LastToIndex = 0;
inline std::array<bool, 21> TranslationChosen{};

inline constexpr std::u16string_view ChooseCaption = u"Choose Surah  & Ayah";
inline constexpr std::u16string_view FontSizes = u"8,9,10,11,12,14,16,18,20,22,24,26,28,36,48,72";

class FrmChoose {
public:
    explicit FrmChoose(std::unique_ptr<ChooseControls> controls);

    void Form_Load();
    void cbSurat_Click();
    void cbFrom_Click();
    // The item at `index` of cbTran was clicked.
    void cbTran_Click(int index);
    void Command1_Click();

    // What the composer reads.
    std::u16string FontSizeText() const;
    bool UnicodeChecked() const;
    std::uintptr_t WindowHandle() const;

    ChooseControls& Controls() { return *controls_; }

private:
    void Centre();
    void TranslationStep(std::int16_t surah, std::int16_t from, std::int16_t to, int selectedCount);
    int versesOfSurah_ = 0;  // n of the selection handling
    std::unique_ptr<ChooseControls> controls_;
};

// The item of the multi-select translation list that a click acted on, from the list's selection
// before and after it: the item whose state changed when one did (a Ctrl-click) if it became
// selected; otherwise, or when it was deselected, the only selected item. -1 when no single
// item can be told (the list is left with several or none selected by a click that changed
// several).
int ClickedListItem(const std::vector<bool>& before, const std::vector<bool>& after);

// The one instance. LoadFrmChoose loads it hidden (running Form_Load) if it is not loaded;
// ShowFrmChoose loads and shows it; UnloadFrmChoose forgets it (its window closed already).
std::shared_ptr<FrmChoose> LoadFrmChoose();
void ShowFrmChoose();
void UnloadFrmChoose();
std::shared_ptr<FrmChoose> LoadedFrmChoose();  // null when not loaded

// The dialog's entry points for the controls' events: they keep the instance alive while the
// handler runs, even when it unloads the dialog.
void frmChoose_cbSurat_Click();
void frmChoose_cbFrom_Click();
void frmChoose_cbTran_Click(int index);
void frmChoose_Command1_Click();
// The close box: unloads without inserting or remembering anything.
void frmChoose_QueryUnload();

}  // namespace mTarvelo
