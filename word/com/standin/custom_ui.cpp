#include "word/com/standin/custom_ui.h"

#include <msxml2.h>

#include <algorithm>
#include <set>

#include "word/com/com_support.h"

namespace word::com::standin {

namespace {

// MSXML 6 {88D96A05-F192-11D4-A65F-0040963251E5}; MSXML 3 {F5078F32-C551-11D3-89B9-0000F81FE221}.
constexpr CLSID kDomDocument60 = {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr CLSID kDomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};

// The modelled part of the schema: an element, its attributes and its child elements.
struct Rule {
    std::u16string_view name;
    std::vector<std::u16string_view> attributes;
    std::vector<std::u16string_view> children;
    bool custom;  // a custom control: needs an id
    bool single;  // at most one in its parent
};

const std::vector<Rule>& rules() {
    static const std::vector<std::u16string_view> button = {u"id",  u"label", u"screentip", u"supertip", u"keytip",
                                                            u"tag", u"size",  u"getImage",  u"onAction"};
    static const std::vector<Rule> all = {
        {u"customUI", {u"onLoad"}, {u"ribbon"}, false, true},
        {u"ribbon", {}, {u"tabs"}, false, true},
        {u"tabs", {}, {u"tab"}, false, true},
        {u"tab", {u"id", u"label", u"keytip", u"tag"}, {u"group"}, true, false},
        {u"group", {u"id", u"label", u"keytip", u"tag"}, {u"button", u"toggleButton"}, true, false},
        {u"button", button, {}, true, false},
        {u"toggleButton",
         [] {
             auto toggle = button;
             toggle.push_back(u"getPressed");
             return toggle;
         }(),
         {},
         true,
         false},
    };
    return all;
}

const Rule* ruleOf(std::u16string_view name) {
    for (const auto& rule : rules())
        if (rule.name == name) return &rule;
    return nullptr;
}

struct Refused {
    std::u16string reason;
};

std::u16string quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

template <typename Getter>
std::u16string textOf(Getter getter) {
    Bstr value;
    if (FAILED(getter(value.out()))) return {};
    return value.text();
}

bool isNameStart(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c > 0x7F; }
bool isNameChar(char16_t c) { return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.'; }

// The value rules of the schema's simple types for the modelled attributes.
void checkValue(std::u16string_view element, std::u16string_view name, std::u16string_view value) {
    auto refuse = [&](std::u16string_view why) {
        throw Refused{u"attribute " + std::u16string(name) + u" of <" + std::u16string(element) + u"> " +
                      std::u16string(why) + u": " + quoted(value)};
    };
    if (name == u"id") {  // ST_UniqueID: an XML name without colons, 1 to 1024 characters
        if (value.empty() || value.size() > 1024 || !isNameStart(value[0]) ||
            !std::all_of(value.begin(), value.end(), isNameChar))
            refuse(u"is not a control identifier");
    } else if (name == u"keytip") {  // ST_Keytip: a token of 1 to 3 characters
        const auto first = value.find_first_not_of(u' ');
        const auto last = value.find_last_not_of(u' ');
        if (first == std::u16string_view::npos || last - first + 1 > 3)
            refuse(u"is not a key tip of 1 to 3 characters");
    } else if (name == u"size") {  // ST_Size
        if (value != u"normal" && value != u"large") refuse(u"is neither \"normal\" nor \"large\"");
    } else if (value.empty() || value.size() > 1024) {  // ST_String and ST_Delegate
        refuse(u"is not 1 to 1024 characters long");
    }
}

CustomUiElement readElement(IXMLDOMNode* node);

void readAttributes(IXMLDOMNode* node, CustomUiElement& element) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (FAILED(node->get_attributes(&attributes)) || !attributes || FAILED(attributes->get_length(&count))) return;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> attribute;
        if (FAILED(attributes->get_item(i, &attribute)) || !attribute) continue;
        const auto space = textOf([&](BSTR* out) { return attribute->get_namespaceURI(out); });
        const auto name = textOf([&](BSTR* out) { return attribute->get_baseName(out); });
        const auto qualified = textOf([&](BSTR* out) { return attribute->get_nodeName(out); });
        if (qualified == u"xmlns" || qualified.starts_with(u"xmlns:")) continue;  // namespace declarations
        if (!space.empty())
            throw Refused{u"attribute " + qualified + u" of <" + element.name + u"> is in another namespace"};
        element.attributes[name] = textOf([&](BSTR* out) { return attribute->get_text(out); });
    }
}

void readChildren(IXMLDOMNode* node, CustomUiElement& element) {
    ComPtr<IXMLDOMNodeList> children;
    long count = 0;
    if (FAILED(node->get_childNodes(&children)) || !children || FAILED(children->get_length(&count))) return;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> child;
        DOMNodeType type = NODE_INVALID;
        if (FAILED(children->get_item(i, &child)) || !child || FAILED(child->get_nodeType(&type))) continue;
        if (type == NODE_ELEMENT) element.children.push_back(readElement(child.Get()));
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
            const auto content = textOf([&](BSTR* out) { return child->get_text(out); });
            if (content.find_first_not_of(u" \t\r\n") != std::u16string::npos)
                throw Refused{u"text inside <" + element.name + u">: " + quoted(content)};
        }
    }
}

CustomUiElement readElement(IXMLDOMNode* node) {
    CustomUiElement element;
    element.name = textOf([&](BSTR* out) { return node->get_baseName(out); });
    const auto space = textOf([&](BSTR* out) { return node->get_namespaceURI(out); });
    if (space != kCustomUiNamespace)
        throw Refused{u"<" + element.name + u"> is not in the customUI namespace " + quoted(kCustomUiNamespace) +
                      u" (it is in " + quoted(space) + u")"};
    readAttributes(node, element);
    readChildren(node, element);
    return element;
}

void check(const CustomUiElement& element, const Rule& rule, std::set<std::u16string, std::less<>>& ids) {
    for (const auto& [name, value] : element.attributes) {
        if (std::find(rule.attributes.begin(), rule.attributes.end(), name) == rule.attributes.end())
            throw Refused{u"attribute " + name + u" of <" + element.name + u"> is unknown or not modelled"};
        checkValue(element.name, name, value);
    }
    if (rule.custom) {
        const auto id = element.attribute(u"id");
        if (id.empty()) throw Refused{u"<" + element.name + u"> has no id"};
        if (!ids.insert(id).second) throw Refused{u"the id " + quoted(id) + u" is used twice"};
    }
    std::set<std::u16string_view> seen;
    for (const auto& child : element.children) {
        const Rule* childRule = ruleOf(child.name);
        if (!childRule || std::find(rule.children.begin(), rule.children.end(), child.name) == rule.children.end())
            throw Refused{u"<" + child.name + u"> inside <" + element.name + u"> is unknown or not modelled"};
        if (childRule->single && !seen.insert(childRule->name).second)
            throw Refused{u"<" + child.name + u"> appears twice inside <" + element.name + u">"};
        check(child, *childRule, ids);
    }
}

ComPtr<IXMLDOMDocument> newDocument() {
    ComPtr<IXMLDOMDocument> document;
    for (const CLSID& clsid : {kDomDocument60, kDomDocument30})
        if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                       reinterpret_cast<void**>(document.GetAddressOf()))))
            break;
    if (!document) throw Refused{u"no XML parser (MSXML) is available"};
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_FALSE);
    return document;
}

CustomUiElement parse(std::u16string_view xml) {
    auto document = newDocument();
    Bstr source(xml);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(source.get(), &loaded)) || loaded != VARIANT_TRUE) {
        ComPtr<IXMLDOMParseError> error;
        std::u16string reason = u"the XML is not well formed";
        long line = 0;
        if (SUCCEEDED(document->get_parseError(&error)) && error) {
            error->get_line(&line);
            const auto what = textOf([&](BSTR* out) { return error->get_reason(out); });
            if (!what.empty()) reason += u" (line " + fromUtf8(std::to_string(line)) + u": " + what + u")";
        }
        throw Refused{reason};
    }
    ComPtr<IXMLDOMElement> root;
    if (FAILED(document->get_documentElement(&root)) || !root) throw Refused{u"the XML has no root element"};
    ComPtr<IXMLDOMNode> node;
    if (FAILED(root->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(node.GetAddressOf()))))
        throw Refused{u"the XML's root element cannot be read"};
    return readElement(node.Get());
}

}  // namespace

std::u16string CustomUiElement::attribute(std::u16string_view attributeName) const {
    const auto found = attributes.find(attributeName);
    return found == attributes.end() ? std::u16string() : found->second;
}

CustomUiReading readCustomUi(std::u16string_view xml) {
    try {
        CustomUiElement root = parse(xml);
        if (root.name != u"customUI") throw Refused{u"the root element is <" + root.name + u">, not <customUI>"};
        std::set<std::u16string, std::less<>> ids;
        check(root, *ruleOf(u"customUI"), ids);
        return {std::move(root), {}};
    } catch (const Refused& refused) {
        return {std::nullopt, refused.reason};
    }
}

std::vector<std::u16string> callbackNames(const CustomUiElement& root) {
    std::vector<std::u16string> names;
    auto collect = [&](const auto& self, const CustomUiElement& element) -> void {
        for (const auto* attribute : {u"onLoad", u"getImage", u"getPressed", u"onAction"}) {
            const auto name = element.attribute(attribute);
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        for (const auto& child : element.children) self(self, child);
    };
    collect(collect, root);
    return names;
}

}  // namespace word::com::standin
