// The Word stand-in's reading of an add-in's customUI XML (what IRibbonExtensibility.GetCustomUI
// returns), as Word reads it before it shows anything: well formed (the platform's XML parser,
// MSXML), every element in the namespace of the 2006/01 schema that Word 2007 and later read, and
// the schema's rules for the elements and attributes used, refused as a whole otherwise.
//
// Modelled: customUI (onLoad) > ribbon > tabs > tab (id, label, keytip, tag) > group (id, label,
// keytip, tag) > button and toggleButton (id, label, screentip, supertip, keytip, tag, size,
// getImage, onAction; toggleButton also getPressed). The schema's rules applied to them: an id of
// a custom control on every tab, group and control, unique in the document and an XML name of 1
// to 1024 characters; strings of 1 to 1024 characters; key tips of 1 to 3 characters; size
// "normal" or "large"; callback names of 1 to 1024 characters. Anything else of the schema (other
// controls, built-in controls by idMso, images by name, other callbacks) is not modelled and is
// refused as such: a stand-in must not show what it cannot show as Word does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace word::com::standin {

inline constexpr std::u16string_view kCustomUiNamespace = u"http://schemas.microsoft.com/office/2006/01/customui";

// An element as read: its name, its attributes and its child elements, in document order.
struct CustomUiElement {
    std::u16string name;
    std::map<std::u16string, std::u16string, std::less<>> attributes;
    std::vector<CustomUiElement> children;

    // The attribute's value; empty when it is not given.
    std::u16string attribute(std::u16string_view attributeName) const;
};

struct CustomUiReading {
    std::optional<CustomUiElement> root;  // the customUI element, when accepted
    std::u16string refusal;               // why it was refused, when not
};

CustomUiReading readCustomUi(std::u16string_view xml);

// The callback names of an accepted document (onLoad, getImage, onAction, getPressed), each once,
// in document order.
std::vector<std::u16string> callbackNames(const CustomUiElement& root);

}  // namespace word::com::standin
