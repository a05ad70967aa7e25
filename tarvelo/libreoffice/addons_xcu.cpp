// Writes the extension's toolbar (the build runs this; the files go into Tarvelo.oxt): Addons.xcu
// with the add-in's five commands in the menu's order, for Writer's windows only, each with its
// caption without the accelerator and its icon at the toolbar's two sizes; and
// WriterWindowState.xcu, which names the toolbar "Al-Quran" and shows it docked at the top.
//   tarvelo_addons_xcu <Addons.xcu> <WriterWindowState.xcu>
#include <cstdio>
#include <fstream>
#include <string>

#include "tarvelo/commands.h"
#include "tarvelo/data/data_files.h"
#include "tarvelo/libreoffice/extension_ids.h"

namespace {

// The toolbar's small and large icon sizes (the office's own are 16 and 26 pixels).
constexpr int SmallIcon = 16;
constexpr int LargeIcon = 26;
constexpr const char* WriterContext = "com.sun.star.text.TextDocument";
// The toolbar's node; the office knows the toolbar as "private:resource/toolbar/addon_" + it.
constexpr std::string_view ToolbarNode = "org.quranverses.tarvelo.toolbar";

std::string Utf8(std::u16string_view text) { return mTarvelo::ToUtf8(text); }

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Prop(std::string_view name, std::string_view value) {
    return "<prop oor:name=\"" + std::string(name) + "\" oor:type=\"xs:string\"><value>" + Escaped(value) +
           "</value></prop>\n";
}

std::string CommandUrl(const mTarvelo::AddinCommand& command) {
    return Utf8(mTarvelo::ToolbarCommandProtocol) + Utf8(command.tag);
}

std::string IconUrl(const mTarvelo::AddinCommand& command, int pixels) {
    return "%origin%/icons/" + std::string(command.icon) + "_" + std::to_string(pixels) + ".png";
}

std::string Toolbar() {
    std::string xml =
        "<node oor:name=\"OfficeToolBar\">\n<node oor:name=\"" + std::string(ToolbarNode) + "\" oor:op=\"replace\">\n";
    int item = 1;
    for (const auto& command : mTarvelo::AddinCommands) {
        xml += "<node oor:name=\"m" + std::to_string(item++) + "\" oor:op=\"replace\">\n";
        xml += Prop("URL", CommandUrl(command));
        xml += Prop("Title", Utf8(mTarvelo::PlainCaption(command.caption)));
        xml += Prop("Target", "_self");
        xml += Prop("Context", WriterContext);
        xml += "</node>\n";
    }
    return xml + "</node>\n</node>\n";
}

std::string Images() {
    std::string xml = "<node oor:name=\"Images\">\n";
    for (const auto& command : mTarvelo::AddinCommands) {
        xml += "<node oor:name=\"org.quranverses.tarvelo." + Utf8(command.tag) + "\" oor:op=\"replace\">\n";
        xml += Prop("URL", CommandUrl(command));
        xml += "<node oor:name=\"UserDefinedImages\">\n";
        xml += Prop("ImageSmallURL", IconUrl(command, SmallIcon));
        xml += Prop("ImageBigURL", IconUrl(command, LargeIcon));
        xml += "</node>\n</node>\n";
    }
    return xml + "</node>\n";
}

// The toolbar's name and place in Writer's windows.
std::string WindowState() {
    std::string xml = "<node oor:name=\"UIElements\">\n<node oor:name=\"States\">\n";
    xml += "<node oor:name=\"private:resource/toolbar/addon_" + std::string(ToolbarNode) + "\" oor:op=\"replace\">\n";
    xml += Prop("UIName", Utf8(mTarvelo::MenuTitle));
    for (const char* flag : {"Docked", "Visible"})
        xml += "<prop oor:name=\"" + std::string(flag) + "\" oor:type=\"xs:boolean\"><value>true</value></prop>\n";
    // At the top, after the Standard toolbar in its row.
    xml += "<prop oor:name=\"DockingArea\" oor:type=\"xs:int\"><value>0</value></prop>\n";
    xml += Prop("DockPos", "1,0");
    return xml + "</node>\n</node>\n</node>\n";
}

bool Write(const char* path, std::string_view component, std::string_view package, const std::string& content) {
    std::ofstream out(path, std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!-- Written by the build (tarvelo/libreoffice/addons_xcu.cpp) from the add-in's commands. -->\n"
           "<oor:component-data xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" oor:name=\""
        << component << "\" oor:package=\"" << package << "\">\n"
        << content << "</oor:component-data>\n";
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <Addons.xcu> <WriterWindowState.xcu>\n", argv[0]);
        return 2;
    }
    const bool written = Write(argv[1], "Addons", "org.openoffice.Office",
                               "<node oor:name=\"AddonUI\">\n" + Toolbar() + Images() + "</node>\n") &&
                         Write(argv[2], "WriterWindowState", "org.openoffice.Office.UI", WindowState());
    return written ? 0 : 1;
}
