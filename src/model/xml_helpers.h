// Shared routines every record's writer and reader use: element creation
// with the hand-made indentation, closing, attributes, text, locations and
// the generic collection writer and reader.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/serializable.h"
#include "platform/text.h"

namespace kvswx::xml {
class StreamWriter;
}

namespace kvswx {

// The attributes of one element, written in the name order of CompareNames.
// Adding a name already present keeps the first value. Names and values are
// copied into storage inside the object (a heap buffer only past a few
// hundred characters), so filling one allocates nothing.
class AttributeMap {
public:
    void emplace(std::wstring_view name, std::wstring_view value);
    std::size_t size() const { return count_ + overflow_.size(); }
    bool empty() const { return size() == 0; }

    // Calls f(name, value) for each entry, in name order.
    template <class F>
    void ForEachInOrder(F&& f) const {
        if (overflow_.empty()) {
            Entry order[kInlineEntries];
            const std::size_t n = Sorted(order);
            for (std::size_t i = 0; i < n; ++i) f(View(order[i].name), View(order[i].value));
            return;
        }
        // Past eight entries (no element of ours has that many): all merged.
        std::map<std::wstring, std::wstring, NameLess> all = overflow_;
        for (std::size_t i = 0; i < count_; ++i) {
            all.emplace(std::wstring(View(entries_[i].name)), std::wstring(View(entries_[i].value)));
        }
        for (const auto& [name, value] : all) f(std::wstring_view(name), std::wstring_view(value));
    }

private:
    static constexpr std::size_t kInlineEntries = 8;
    static constexpr std::size_t kInlineChars = 160;
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    struct Entry {
        Span name;
        Span value;
    };

    std::wstring_view View(Span s) const { return {Chars() + s.offset, s.length}; }
    const wchar_t* Chars() const { return heap_.empty() ? inline_ : heap_.data(); }
    Span Store(std::wstring_view text);
    bool Contains(std::wstring_view name) const;
    // The inline entries sorted into `out`; returns their number.
    std::size_t Sorted(Entry (&out)[kInlineEntries]) const;

    wchar_t inline_[kInlineChars];  // the first used_ characters are set
    std::wstring heap_;  // holds all characters once inline_ is full
    std::uint32_t used_ = 0;
    Entry entries_[kInlineEntries];
    std::size_t count_ = 0;
    std::map<std::wstring, std::wstring, NameLess> overflow_;
};

// An empty set, shared.
const AttributeMap& NoAttributes();

// A name of our own as ASCII bytes, made once from the wide literal (at
// compile time where the literal is a constant), so that writing it needs
// no narrowing. Empty when the name is empty, longer than kMax or not
// printable ASCII without spaces: a writer then takes the wide name.
class AsciiName {
public:
    static constexpr std::size_t kMax = 48;

    constexpr AsciiName() = default;
    constexpr explicit AsciiName(const wchar_t* name) {
        std::size_t n = 0;
        for (; name != nullptr && name[n] != 0; ++n) {
            if (n == kMax || name[n] <= 0x20 || name[n] > 0x7E) return;
        }
        for (std::size_t i = 0; i < n; ++i) text_[i] = static_cast<char>(name[i]);
        length_ = static_cast<std::uint8_t>(n);
    }
    constexpr std::string_view View() const { return {text_, length_}; }

private:
    char text_[kMax]{};
    std::uint8_t length_ = 0;
};

// The one attribute of a leaf element, as the tree takes it (wide) and as
// a stream writes it (ASCII bytes of the same characters; a form whose
// length differs from the wide one's is not ASCII and is not used).
struct LeafAttribute {
    std::wstring_view name;
    std::wstring_view value;
    std::string_view asciiName;
    std::string_view asciiValue;
};

// Creates an element under `parent` on its own indented line. Attributes with
// an empty name or value are not written; empty text is not set. Depth grows
// by one when `parent` is the element created last.
XmlNode CreateChildElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                           std::wstring_view text = {}, const AttributeMap& attributes = NoAttributes());
// The same with text that needs neither conversion nor escaping: printable
// ASCII but & < > " (a formatted number, say), placed as it is.
XmlNode CreateChildElementUtf8(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                               std::string_view utf8Text, const AttributeMap& attributes = NoAttributes());
// Writes elements that take no children (the field elements of a record)
// one after another under `parent`, each with the bytes and indentation
// CreateChildElementUtf8 (narrow text) or CreateChildElement (wide text)
// would give it with `attribute` (none when null) as its only attribute.
// In a streamed document each is written whole at once and the
// indentation is worked out once for the run; nothing else may be written
// to the document while a LeafWriter is in use.
class LeafWriter {
public:
    LeafWriter(XmlDocument& doc, XmlNode parent) : doc_(doc), parent_(parent), stream_(doc.Stream()) {}
    ~LeafWriter() { Finish(); }
    LeafWriter(const LeafWriter&) = delete;
    LeafWriter& operator=(const LeafWriter&) = delete;

    // `asciiName` is AsciiName(name).View(): the name as ASCII bytes, or
    // empty when it cannot be written from them.
    void Write(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute,
               std::string_view utf8Text);
    void Write(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute,
               std::wstring_view text);
    // Records the element written last as the one created last.
    void Finish();

private:
    template <class Text>
    void WriteLeaf(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute, Text text);

    XmlDocument& doc_;
    XmlNode parent_;
    xml::StreamWriter* stream_;
    std::string_view indent_;  // set once the run's depth is known
    bool indented_ = false;
    std::uint32_t last_ = 0;   // streamed leaf not yet recorded as the one created last
};

// Finishes an element that can hold children: its closing tag goes on its own
// line at its depth.
void CloseElement(XmlDocument& doc, XmlNode element);
// Appends a line feed and one tab per current depth to `node`.
void AppendIndent(XmlDocument& doc, XmlNode node);
// Appends a processing instruction, such as the XML declaration, to `parent`.
void AppendProcessingInstruction(XmlDocument& doc, XmlNode parent, std::wstring_view target,
                                 std::wstring_view data);

// The attribute's value; empty when the attribute is missing.
std::wstring GetAttributeValue(XmlNode node, std::wstring_view name);
std::wstring GetNodeText(XmlNode node);
std::wstring AppendPath(std::wstring_view location, std::wstring_view suffix);
// `text` as an XPath string literal: between single quotes, or double
// quotes when it holds a single quote, or concat() of both kinds when it
// holds both. A name never ends the literal early, so it cannot change
// what the location selects.
std::wstring XPathLiteral(std::wstring_view text);
// `location` limited to the elements whose Name attribute is `name`:
// location[@Name='name'], the name as an XPath literal.
std::wstring WithName(std::wstring_view location, std::wstring_view name);
// Location of a list member identified by name: location/element[@Name='name'].
std::wstring NamedPath(std::wstring_view location, std::wstring_view element, std::wstring_view name);

// Nothing for an empty vector; otherwise a wrapper element holding one
// element per item (each item writes its own element under the wrapper).
template <class Handle>
void WriteCollection(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                     const std::vector<std::unique_ptr<Handle>>& items) {
    if (items.empty()) return;
    XmlNode wrapper = CreateChildElement(doc, parent, name);
    for (const auto& item : items) item->GetImpl()->Write(doc, wrapper);
    CloseElement(doc, wrapper);
}

// Appends one item per element found under location/name, whatever the
// element's own name.
template <class Handle>
void ReadCollection(XmlDocument& doc, std::wstring_view location, std::wstring_view name,
                    std::vector<std::unique_ptr<Handle>>& items) {
    const std::wstring path = AppendPath(AppendPath(AppendPath(location, L"/"), name), L"/*");
    for (const XmlNode& node : doc.SelectNodes(path)) {
        auto item = std::make_unique<Handle>();
        item->GetImpl()->ReadFromNode(doc, node);
        items.push_back(std::move(item));
    }
}

}  // namespace kvswx
