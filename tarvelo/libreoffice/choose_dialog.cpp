// frmChoose's controls as UNO dialog controls. Positions are given in twips and converted to the
// office's dialog units (map-app-font); the window itself is placed in pixels (twips / 15).
#include <algorithm>
#include <map>
#include <vector>

#include <rtl/process.h>
#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/SystemDependentXWindow.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XActionListener.hpp>
#include <com/sun/star/awt/XButton.hpp>
#include <com/sun/star/awt/XCheckBox.hpp>
#include <com/sun/star/awt/XComboBox.hpp>
#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XControlContainer.hpp>
#include <com/sun/star/awt/XControlModel.hpp>
#include <com/sun/star/awt/XItemListener.hpp>
#include <com/sun/star/awt/XListBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/awt/XSystemDependentWindowPeer.hpp>
#include <com/sun/star/awt/XTextComponent.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindowListener.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <cppuhelper/implbase1.hxx>
#include <cppuhelper/implbase3.hxx>

#include "tarvelo/libreoffice/main_thread.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "tarvelo/libreoffice/x11_window.h"
#include "word/libreoffice/connection.h"
#include "word/word.h"

namespace mTarvelo {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using rtl::OUString;
using word::libreoffice::fromOUString;
using word::libreoffice::toOUString;
using C = ChooseControl;

namespace {

// Dialog units per twip, horizontally and vertically, for the office's default dialog font.
constexpr double TwipsPerUnitX = 26.0;
constexpr double TwipsPerUnitY = 30.0;
constexpr int TwipsPerPixel = 15;

sal_Int32 UnitsX(int twips) { return static_cast<sal_Int32>(twips / TwipsPerUnitX + 0.5); }
sal_Int32 UnitsY(int twips) { return static_cast<sal_Int32>(twips / TwipsPerUnitY + 0.5); }

const char* NameOf(C c) {
    switch (c) {
        case C::cbSurat: return "cbSurat";
        case C::cbFrom: return "cbFrom";
        case C::cbTo: return "cbTo";
        case C::cbSize: return "cbSize";
        case C::chUnicod: return "chUnicod";
        case C::Check1: return "Check1";
        case C::Check2: return "Check2";
        case C::cbTran: return "cbTran";
        case C::Command1: return "Command1";
        case C::lblTranslation: return "Label1_3";
    }
    return "";
}

// The user's own actions on the controls, passed to the dialog's handlers.
class Events
    : public cppu::WeakImplHelper3<css::awt::XActionListener, css::awt::XItemListener, css::awt::XTopWindowListener> {
public:
    // `selection`: for the translation list, its selection as last seen (the dialog keeps it up
    // to date when it selects items itself).
    Events(C control, const OfficeContext& context, std::shared_ptr<std::vector<bool>> selection = nullptr)
        : control_(control), context_(context), selection_(std::move(selection)) {}
    void SAL_CALL actionPerformed(const css::awt::ActionEvent&) override {
        if (control_ == C::Command1) RunOnMainThread(context_, [] { frmChoose_Command1_Click(); });
    }
    void SAL_CALL itemStateChanged(const css::awt::ItemEvent& e) override {
        switch (control_) {
            case C::cbSurat: RunOnMainThread(context_, [] { frmChoose_cbSurat_Click(); }); break;
            case C::cbFrom: RunOnMainThread(context_, [] { frmChoose_cbFrom_Click(); }); break;
            case C::cbTran: {
                // The event names an item only when the click left exactly one selected; a
                // Ctrl-click is told by what it changed in the list's selection.
                const int clicked = ClickedTranslation(e);
                RunOnMainThread(context_, [clicked] { frmChoose_cbTran_Click(clicked); });
                break;
            }
            default: break;
        }
    }
    void SAL_CALL windowClosing(const css::lang::EventObject&) override {
        RunOnMainThread(context_, [] { frmChoose_QueryUnload(); });
    }
    void SAL_CALL windowOpened(const css::lang::EventObject&) override {}
    void SAL_CALL windowClosed(const css::lang::EventObject&) override {}
    void SAL_CALL windowMinimized(const css::lang::EventObject&) override {}
    void SAL_CALL windowNormalized(const css::lang::EventObject&) override {}
    void SAL_CALL windowActivated(const css::lang::EventObject&) override {}
    void SAL_CALL windowDeactivated(const css::lang::EventObject&) override {}
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

private:
    int ClickedTranslation(const css::awt::ItemEvent& e) {
        uno::Reference<css::awt::XListBox> list(e.Source, uno::UNO_QUERY);
        if (!list.is() || !selection_) return e.Selected;
        std::vector<bool> now(static_cast<std::size_t>(std::max<sal_Int16>(list->getItemCount(), 0)), false);
        for (const sal_Int16 pos : list->getSelectedItemsPos())
            if (pos >= 0 && static_cast<std::size_t>(pos) < now.size()) now[static_cast<std::size_t>(pos)] = true;
        const int clicked = ClickedListItem(*selection_, now);
        *selection_ = std::move(now);
        return clicked;
    }

    C control_;
    OfficeContext context_;
    std::shared_ptr<std::vector<bool>> selection_;
};

// The dialog's window goes away with the window it was opened over (a document window that is
// closed): the dialog instance is then unloaded, so that the next command opens a new one.
// `closing` is set while the dialog closes itself.
class WindowWatcher : public cppu::WeakImplHelper1<css::lang::XEventListener> {
public:
    WindowWatcher(std::shared_ptr<bool> closing, const OfficeContext& context)
        : closing_(std::move(closing)), context_(context) {}
    void SAL_CALL disposing(const css::lang::EventObject&) override {
        if (*closing_) return;
        *closing_ = true;
        RunOnMainThread(context_, [] { frmChoose_QueryUnload(); });
    }

private:
    std::shared_ptr<bool> closing_;
    OfficeContext context_;
};

void SetProp(const uno::Reference<uno::XInterface>& object, const char* name, const uno::Any& value) {
    uno::Reference<css::beans::XPropertySet> props(object, uno::UNO_QUERY_THROW);
    props->setPropertyValue(OUString::createFromAscii(name), value);
}

// Keeps an X11 window above the others through the window manager's "above" state.
void KeepAbove(const uno::Reference<css::awt::XWindowPeer>& peer, bool onTop) {
    uno::Reference<css::awt::XSystemDependentWindowPeer> system(peer, uno::UNO_QUERY);
    if (!system.is()) return;
    sal_Int8 processId[16];
    rtl_getGlobalProcessId(reinterpret_cast<sal_uInt8*>(processId));
    const uno::Any handle =
        system->getWindowHandle(uno::Sequence<sal_Int8>(processId, 16), css::lang::SystemDependent::SYSTEM_XWINDOW);
    css::awt::SystemDependentXWindow xwindow;
    if (!(handle >>= xwindow) || xwindow.WindowHandle == 0 || xwindow.DisplayPointer == 0)
        return;  // no X11 window (headless, Wayland): the dialog is an ordinary window there
    KeepX11WindowAbove(static_cast<std::uintptr_t>(xwindow.DisplayPointer),
                       static_cast<std::uintptr_t>(xwindow.WindowHandle), onTop);
}

class ChooseDialog : public ChooseControls {
public:
    explicit ChooseDialog(const OfficeContext& context) : context_(context) { Build(); }
    ~ChooseDialog() override { Dispose(); }

    void Clear(C c) override {
        if (auto combo = Combo(c); combo.is()) combo->removeItems(0, combo->getItemCount());
        else if (auto list = List(c); list.is()) list->removeItems(0, list->getItemCount());
        if (c == C::cbTran) tranSelection_->clear();
    }
    void AddItem(C c, std::u16string_view item) override {
        if (auto combo = Combo(c); combo.is()) combo->addItem(toOUString(item), combo->getItemCount());
        else if (auto list = List(c); list.is()) list->addItem(toOUString(item), list->getItemCount());
    }
    int ListCount(C c) const override {
        if (auto combo = Combo(c); combo.is()) return combo->getItemCount();
        if (auto list = List(c); list.is()) return list->getItemCount();
        return 0;
    }
    std::u16string List(C c, int index) const override {
        if (auto combo = Combo(c); combo.is()) return fromOUString(combo->getItem(static_cast<sal_Int16>(index)));
        if (auto list = List(c); list.is()) return fromOUString(list->getItem(static_cast<sal_Int16>(index)));
        return {};
    }
    int ListIndex(C c) const override {
        if (auto combo = Combo(c); combo.is()) {
            // A combo box's position is that of the item its text shows.
            const OUString text = Text(c).empty() ? OUString() : toOUString(Text(c));
            for (sal_Int16 i = 0; i < combo->getItemCount(); ++i)
                if (combo->getItem(i) == text) return i;
            return -1;
        }
        if (auto list = List(c); list.is()) return list->getSelectedItemPos();
        return -1;
    }
    void SetListIndex(C c, int index) override {
        if (auto combo = Combo(c); combo.is()) {
            if (index >= 0 && index < combo->getItemCount())
                SetText(c, fromOUString(combo->getItem(static_cast<sal_Int16>(index))));
        }
        // A multi-select list has no current item apart from its selection.
    }
    bool Selected(C c, int index) const override {
        if (auto list = List(c); list.is())
            for (const sal_Int16 pos : list->getSelectedItemsPos())
                if (pos == index) return true;
        return false;
    }
    void SetSelected(C c, int index, bool selected) override {
        if (auto list = List(c); list.is()) list->selectItemPos(static_cast<sal_Int16>(index), selected);
        if (c == C::cbTran && index >= 0) {
            if (tranSelection_->size() <= static_cast<std::size_t>(index))
                tranSelection_->resize(static_cast<std::size_t>(index) + 1, false);
            (*tranSelection_)[static_cast<std::size_t>(index)] = selected;
        }
    }
    std::u16string Text(C c) const override {
        uno::Reference<css::awt::XTextComponent> text(Control(c), uno::UNO_QUERY);
        return text.is() ? fromOUString(text->getText()) : std::u16string();
    }
    void SetText(C c, std::u16string_view value) override {
        uno::Reference<css::awt::XTextComponent> text(Control(c), uno::UNO_QUERY);
        if (text.is()) text->setText(toOUString(value));
    }
    int Value(C c) const override {
        uno::Reference<css::awt::XCheckBox> box(Control(c), uno::UNO_QUERY);
        return box.is() ? box->getState() : 0;
    }
    void SetValue(C c, int value) override {
        uno::Reference<css::awt::XCheckBox> box(Control(c), uno::UNO_QUERY);
        if (box.is()) box->setState(static_cast<sal_Int16>(value));
    }
    std::u16string Caption(C c) const override {
        uno::Reference<css::beans::XPropertySet> model(Model(c), uno::UNO_QUERY_THROW);
        OUString label;
        model->getPropertyValue("Label") >>= label;
        return fromOUString(label);
    }
    void SetCaption(C c, std::u16string_view caption) override {
        SetProp(Model(c), "Label", uno::Any(toOUString(caption)));
    }
    void SetVisible(C c, bool visible) override {
        uno::Reference<css::awt::XWindow> window(Control(c), uno::UNO_QUERY);
        if (window.is()) window->setVisible(visible);
    }
    void SetTop(C c, int twips) override { SetProp(Model(c), "PositionY", uno::Any(UnitsY(twips))); }

    int Width() const override { return Window()->getPosSize().Width * TwipsPerPixel; }
    int Height() const override { return Window()->getPosSize().Height * TwipsPerPixel; }
    void SetHeight(int twips) override { SetProp(dialogModel_, "Height", uno::Any(UnitsY(twips))); }
    void Move(int left, int top) override {
        Window()->setPosSize(left / TwipsPerPixel, top / TwipsPerPixel, 0, 0, css::awt::PosSize::POS);
    }
    int ScreenWidth() const override { return WorkArea().Width * TwipsPerPixel; }
    int ScreenHeight() const override { return WorkArea().Height * TwipsPerPixel; }
    void Show() override {
        Window()->setVisible(true);
        uno::Reference<css::awt::XTopWindow> top(dialog_, uno::UNO_QUERY);
        if (top.is()) top->toFront();
    }
    void SetTopmost(bool onTop) override {
        if (!dialog_.is()) return;
        try {
            KeepAbove(dialog_->getPeer(), onTop);
        } catch (const uno::Exception&) {
        }
    }
    std::uintptr_t WindowHandle() const override {
        // Any non-zero value names the owner of the clipboard; the peer's address is unique.
        return reinterpret_cast<std::uintptr_t>(dialog_->getPeer().get());
    }
    void Close() override { Dispose(); }
    void MsgBox(std::u16string_view text) override {
        try {
            uno::Reference<css::awt::XMessageBoxFactory> factory(toolkit_, uno::UNO_QUERY_THROW);
            auto box = factory->createMessageBox(dialog_->getPeer(), css::awt::MessageBoxType_INFOBOX,
                                                 css::awt::MessageBoxButtons::BUTTONS_OK, toOUString(AppTitle),
                                                 toOUString(text));
            box->execute();
        } catch (const uno::Exception&) {
        }
    }

private:
    void Build();
    void Add(const char* name, const char* service, int left, int top, int width, int height,
             std::initializer_list<std::pair<const char*, uno::Any>> props);
    void Dispose() {
        if (!dialog_.is()) return;
        *closing_ = true;
        auto dialog = std::move(dialog_);
        dialog_.clear();
        try {
            uno::Reference<css::awt::XWindow>(dialog, uno::UNO_QUERY_THROW)->setVisible(false);
            uno::Reference<css::lang::XComponent>(dialog, uno::UNO_QUERY_THROW)->dispose();
        } catch (const uno::Exception&) {
        }
    }
    uno::Reference<css::awt::XControl> Control(C c) const {
        if (!dialog_.is()) throw word::Error("The dialog is closed");
        uno::Reference<css::awt::XControlContainer> container(dialog_, uno::UNO_QUERY_THROW);
        return container->getControl(OUString::createFromAscii(NameOf(c)));
    }
    uno::Reference<css::awt::XControlModel> Model(C c) const { return Control(c)->getModel(); }
    uno::Reference<css::awt::XComboBox> Combo(C c) const {
        return uno::Reference<css::awt::XComboBox>(Control(c), uno::UNO_QUERY);
    }
    uno::Reference<css::awt::XListBox> List(C c) const {
        return uno::Reference<css::awt::XListBox>(Control(c), uno::UNO_QUERY);
    }
    uno::Reference<css::awt::XWindow> Window() const {
        if (!dialog_.is()) throw word::Error("The dialog is closed");
        return uno::Reference<css::awt::XWindow>(dialog_, uno::UNO_QUERY_THROW);
    }
    css::awt::Rectangle WorkArea() const {
        uno::Reference<css::awt::XToolkit2> toolkit(toolkit_, uno::UNO_QUERY_THROW);
        const auto area = toolkit->getWorkArea();
        if (area.Width > 0 && area.Height > 0) return area;
        return css::awt::Rectangle(0, 0, 1280, 1024);  // no screen (headless)
    }

    OfficeContext context_;
    uno::Reference<css::awt::XToolkit2> toolkit_;
    uno::Reference<uno::XInterface> dialogModel_;
    uno::Reference<css::awt::XControl> dialog_;
    std::shared_ptr<bool> closing_ = std::make_shared<bool>(false);
    // The translation list's selection as the dialog last saw or set it.
    std::shared_ptr<std::vector<bool>> tranSelection_ = std::make_shared<std::vector<bool>>();
};

void ChooseDialog::Add(const char* name, const char* service, int left, int top, int width, int height,
                       std::initializer_list<std::pair<const char*, uno::Any>> props) {
    uno::Reference<css::lang::XMultiServiceFactory> factory(dialogModel_, uno::UNO_QUERY_THROW);
    auto model = factory->createInstance(OUString::createFromAscii(service));
    SetProp(model, "PositionX", uno::Any(UnitsX(left)));
    SetProp(model, "PositionY", uno::Any(UnitsY(top)));
    SetProp(model, "Width", uno::Any(UnitsX(width)));
    SetProp(model, "Height", uno::Any(UnitsY(height)));
    css::awt::FontDescriptor font;
    font.Name = "Arial";
    SetProp(model, "FontDescriptor", uno::Any(font));
    for (const auto& [key, value] : props) SetProp(model, key, value);
    uno::Reference<css::container::XNameContainer> container(dialogModel_, uno::UNO_QUERY_THROW);
    container->insertByName(OUString::createFromAscii(name), uno::Any(model));
}

void ChooseDialog::Build() {
    auto manager = context_->getServiceManager();
    toolkit_ = css::awt::Toolkit::create(context_);
    dialogModel_ = manager->createInstanceWithContext("com.sun.star.awt.UnoControlDialogModel", context_);
    SetProp(dialogModel_, "Title", uno::Any(toOUString(ChooseCaption)));
    SetProp(dialogModel_, "Width", uno::Any(UnitsX(3700)));
    SetProp(dialogModel_, "Height", uno::Any(UnitsY(4285)));
    const auto label = "com.sun.star.awt.UnoControlFixedTextModel";
    const auto combo = "com.sun.star.awt.UnoControlComboBoxModel";
    const auto check = "com.sun.star.awt.UnoControlCheckBoxModel";
    const uno::Any dropdown(true);
    const int comboHeight = 315, labelHeight = 255;
    Add("Label1_0", label, 240, 240, 735, labelHeight, {{"Label", uno::Any(OUString("Surat"))}});
    Add("cbSurat", combo, 1440, 240, 2055, comboHeight,
        {{"Dropdown", dropdown}, {"LineCount", uno::Any(sal_Int16(16))}});
    Add("Label2", label, 240, 720, 735, labelHeight, {{"Label", uno::Any(OUString("Ayat"))}});
    Add("cbFrom", combo, 1440, 720, 855, comboHeight, {{"Dropdown", dropdown}, {"LineCount", uno::Any(sal_Int16(16))}});
    Add("Label1_1", label, 2400, 720, 375, labelHeight, {{"Label", uno::Any(OUString("s/d"))}});
    Add("cbTo", combo, 2760, 720, 735, comboHeight, {{"Dropdown", dropdown}, {"LineCount", uno::Any(sal_Int16(16))}});
    Add("Label1_2", label, 240, 1200, 975, labelHeight, {{"Label", uno::Any(OUString("Font Size"))}});
    Add("cbSize", combo, 1440, 1200, 735, comboHeight,
        {{"Dropdown", dropdown}, {"LineCount", uno::Any(sal_Int16(16))}});
    Add("chUnicod", check, 45, 1800, 1095, labelHeight, {{"Label", uno::Any(OUString("Unicode"))}});
    Add("Check1", check, 1215, 1800, 1275, labelHeight, {{"Label", uno::Any(OUString("New Line"))}});
    Add("Check2", check, 2475, 1800, 1140, labelHeight, {{"Label", uno::Any(OUString("Switch"))}});
    Add("Label1_3", label, 240, 2160, 1215, labelHeight, {{"Label", uno::Any(OUString("Translation"))}});
    Add("cbTran", "com.sun.star.awt.UnoControlListBoxModel", 1485, 2070, 1950, 1185,
        {{"MultiSelection", uno::Any(true)}});
    Add("Command1", "com.sun.star.awt.UnoControlButtonModel", 2250, 2280, 1155, 375,
        {{"Label", uno::Any(OUString("OK"))}});

    dialog_.set(manager->createInstanceWithContext("com.sun.star.awt.UnoControlDialog", context_),
                uno::UNO_QUERY_THROW);
    dialog_->setModel(uno::Reference<css::awt::XControlModel>(dialogModel_, uno::UNO_QUERY_THROW));
    // Created hidden: loading the dialog (also to read its settings during an automatic
    // replacement) never shows it or takes the keyboard; only Show does.
    uno::Reference<css::awt::XWindow>(dialog_, uno::UNO_QUERY_THROW)->setVisible(false);
    dialog_->createPeer(uno::Reference<css::awt::XToolkit>(toolkit_, uno::UNO_QUERY_THROW), nullptr);

    for (C c : {C::cbSurat, C::cbFrom, C::cbTran}) {
        uno::Reference<css::awt::XItemListener> events(
            new Events(c, context_, c == C::cbTran ? tranSelection_ : nullptr));
        if (auto box = Combo(c); box.is()) box->addItemListener(events);
        else if (auto list = List(c); list.is()) list->addItemListener(events);
    }
    uno::Reference<css::awt::XButton> button(Control(C::Command1), uno::UNO_QUERY_THROW);
    button->addActionListener(new Events(C::Command1, context_));
    uno::Reference<css::awt::XTopWindow> top(dialog_->getPeer(), uno::UNO_QUERY);
    if (top.is()) top->addTopWindowListener(new Events(C::Command1, context_));
    uno::Reference<css::lang::XComponent> window(dialog_->getPeer(), uno::UNO_QUERY);
    if (window.is()) window->addEventListener(new WindowWatcher(closing_, context_));
}

}  // namespace

std::unique_ptr<ChooseControls> MakeChooseDialog(const OfficeContext& context) {
    return std::make_unique<ChooseDialog>(context);
}

}  // namespace mTarvelo
