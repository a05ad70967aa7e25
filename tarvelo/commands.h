// The add-in's five commands as every surface shows them: the "Al-&Quran" menu (connect.cpp),
// Word's ribbon tab and the office's toolbar. The menu's order, tags, captions and tooltips are
// the ones here; the ribbon and the toolbar show the captions without the accelerator mark and
// the icons named here (tarvelo/icons/<icon>.svg, rendered at build time). ClickCommand
// (connect.h) runs a command by its tag, as its menu button's click does.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace mTarvelo {

struct AddinCommand {
    // The menu button's Tag; also the ribbon control's id and the toolbar command's name.
    std::u16string_view tag;
    // The menu caption, "&" before the accelerator.
    std::u16string_view caption;
    std::u16string_view tooltip;
    // The ribbon's key tip: the menu's accelerator where the caption has one.
    std::u16string_view keytip;
    // The icon's file name without extension.
    std::string_view icon;
    // Switches automatic replacement: a toggle on the ribbon and the toolbar.
    bool toggle = false;
};

// In menu order.
inline constexpr std::array<AddinCommand, 5> AddinCommands = {{
    {u"Quran2", u"&Get Arabic+Translation", u"Get Arabic & Translation of Quran ", u"G", "arabic_translation"},
    {u"Quran3", u"Get &Arabic", u"Get Arabic of Quran", u"A", "arabic"},
    {u"Quran4", u"Get &Translation", u"Get Translation of Quran", u"T", "translation"},
    {u"Quran6", u"Automatic Replace eg [QS2:1-2A]", u"Automatic Replace eg [QS2:1-2A] [QS2:1-2T] [QS2:1-2B]", u"R",
     "auto_replace", true},
    {u"Quran5", u"About", u"About this Software", u"B", "about"},
}};

// The name of the menu (by which it is found), the ribbon tab and the toolbar, and the menu's
// caption with its accelerator.
inline constexpr std::u16string_view MenuTitle = u"Al-Quran";
inline constexpr std::u16string_view MenuCaption = u"Al-&Quran";
// The ribbon tab's key tip: the menu's accelerator.
inline constexpr std::u16string_view TabKeytip = u"Q";

// The command whose tag is `tag`; nullptr when there is none.
constexpr const AddinCommand* FindCommand(std::u16string_view tag) {
    for (const auto& command : AddinCommands)
        if (command.tag == tag) return &command;
    return nullptr;
}

// The switch of automatic replacement.
inline constexpr const AddinCommand& AutoReplaceCommand = []() -> const AddinCommand& {
    for (const auto& command : AddinCommands)
        if (command.toggle) return command;
    throw "no toggle";  // not a constant expression: the table must have one
}();

// A caption as shown without accelerators: "&Get" -> "Get", "&&" -> "&".
inline std::u16string PlainCaption(std::u16string_view caption) {
    std::u16string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 >= caption.size() || caption[i + 1] != u'&') continue;
            ++i;
        }
        plain += caption[i];
    }
    return plain;
}

}  // namespace mTarvelo
