// Writing XML as it is made, without a tree: the bytes a pugixml tree of the
// same nodes would save (raw format, no declaration of its own), produced
// while the nodes are appended. Only appending is possible: a node is
// written when it is made, so content can go only to an element that is
// still open, that is the element made last or one of its ancestors.
// Appending to one of them closes the elements made below it since. Any
// other order, or an attribute after an element's content, is refused with
// OutOfOrder and nothing further can be written.
//
// Nodes are numbered: 1 is the document, every new element takes the next
// number. Wide text is converted as the tree converts it (characters XML
// cannot carry become U+FFFD); UTF-8 text must already be what XML can
// carry. Both are escaped as pugixml escapes them and end at a zero byte as
// pugixml's strings do.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kvswx::xml {

class OutOfOrder : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class StreamWriter {
public:
    static constexpr std::uint32_t kDocument = 1;

    // Bytes are kept until Take(), or handed to `file` in blocks when given.
    explicit StreamWriter(std::ofstream* file = nullptr);

    // A new last child of `parent`; returns its number. `indent`, when not
    // empty, is appended to `parent` just before it, as AppendIndent does.
    std::uint32_t AppendElement(std::uint32_t parent, std::wstring_view name, std::string_view indent = {});
    std::uint32_t AppendElement(std::uint32_t parent, std::string_view name);
    // An attribute of `element`, which must have no content yet.
    void AppendAttribute(std::uint32_t element, std::wstring_view name, std::wstring_view value);
    void AppendAttribute(std::uint32_t element, std::string_view name, std::string_view value);
    // Text as a new last child of `parent` (empty text still counts as a child).
    void AppendText(std::uint32_t parent, std::wstring_view text);
    void AppendText(std::uint32_t parent, std::string_view text);
    // Text made of line feeds and tabs only, which need no escaping.
    void AppendIndent(std::uint32_t parent, std::string_view indent);
    // Text with nothing to escape, written as it is: printable ASCII but
    // & < > " (a formatted number, say).
    void AppendPlainText(std::uint32_t parent, std::string_view text);
    void AppendProcessingInstruction(std::uint32_t parent, std::string_view target, std::string_view data);
    // A whole element that takes no children, written at once: the bytes of
    // AppendElement(parent, name, indent), then the attribute
    // `attributeName`="`attributeValue`" unless `attributeName` is empty,
    // then `text` as AppendPlainText (narrow) or AppendText (wide) place it;
    // with empty text the element is written empty. `name` and
    // `attributeName` are written as they are (plain ASCII names). Returns
    // the element's number; it is closed, so nothing more goes into it.
    std::uint32_t AppendLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                             std::string_view attributeName, std::string_view attributeValue,
                             std::string_view plainText);
    std::uint32_t AppendLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                             std::string_view attributeName, std::string_view attributeValue,
                             std::wstring_view text);
    // Whether `node`, which must still be open, has any child.
    bool HasChildren(std::uint32_t node);

    // Closes every open element; true when the file (if any) took every byte.
    bool Finish();
    // The bytes written (all of them when there is no file).
    std::string Take();

private:
    struct Open {
        std::uint32_t id;
        std::uint32_t nameOffset;  // of the name in names_
        std::uint32_t nameLength;
        bool hasChildren;
    };

    // Closes the elements above `node` and makes its start tag complete,
    // ready for a child.
    void OpenForChild(std::uint32_t node);
    Open& Find(std::uint32_t node);
    [[noreturn]] void Refuse(const char* what);
    // Checks that `element` can take an attribute and starts one.
    void StartAttribute(std::uint32_t element);
    void CloseTop();
    void StartElement(std::string_view name);
    // The start of a leaf element up to its attribute; its name is returned
    // (the one written, never empty) for the end tag.
    std::string_view StartLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                               std::string_view attributeName, std::string_view attributeValue);
    // "</name>", or "/>" when the element got no text.
    std::uint32_t EndLeaf(std::string_view name, bool hasText);
    void Escaped(std::string_view text, const unsigned char* special);
    void Escaped(std::wstring_view text, const unsigned char* special);
    // Room for `n` more bytes at end_.
    void Reserve(std::size_t n) {
        if (static_cast<std::size_t>(limit_ - end_) < n) Grow(n);
    }
    void Grow(std::size_t n);
    void Put(std::string_view bytes);
    void Put(char c) {
        Reserve(1);
        *end_++ = c;
    }
    void FlushFull();

    std::ofstream* file_;
    std::unique_ptr<char[]> buffer_;
    char* begin_ = nullptr;
    char* end_ = nullptr;
    char* limit_ = nullptr;
    std::vector<Open> open_;
    std::string names_;    // names of the open elements, in order
    std::string scratch_;  // wide text that is not plain ASCII, converted
    std::uint32_t next_ = kDocument + 1;
    bool failed_ = false;
    bool fileFailed_ = false;
};

}  // namespace kvswx::xml
