// A small XML DOM over pugixml with a wide-string interface: what the model's
// writers and readers need, and nothing more. Nodes are cheap value handles
// into a Document, which owns them (as pugixml's own handles are).
//
// Writing: every string is converted to UTF-8 with characters that XML 1.0
// cannot carry replaced by U+FFFD, so the file is always well-formed. The
// bytes saved are exactly the nodes created: no declaration of pugixml's own,
// no indentation of its own, LF line ends, no byte-order mark.
//
// XPath: a location that does not compile (for example a name holding a
// single quote pasted between single quotes) selects nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace kvswx::xml {

class StreamWriter;

class Node {
public:
    Node() = default;
    explicit Node(pugi::xml_node n) : n_(n) {}

    explicit operator bool() const { return n_ || streamed_ != 0; }
    bool operator==(const Node& other) const { return n_ == other.n_ && streamed_ == other.streamed_; }

    bool IsElement() const { return n_.type() == pugi::node_element; }
    std::wstring Name() const;
    // Text of an element (its first text child) or the value of a text node.
    std::wstring Text() const;
    // The same without conversion: the UTF-8 bytes held in the tree.
    std::string_view NameUtf8() const { return n_.name(); }
    std::string_view TextUtf8() const {
        // An element's text is usually its first child: that case asks
        // the tree three questions. Everything else as pugixml's text()
        // answers, which gives the same for a first child that is text.
        const pugi::xml_node first = n_.first_child();
        const pugi::xml_node_type firstType = first.type();
        if (firstType == pugi::node_pcdata || firstType == pugi::node_cdata) return first.value();
        if (n_.type() == pugi::node_pcdata || n_.type() == pugi::node_cdata) return n_.value();
        return n_.text().get();
    }
    // The text of a node known to be an element, as TextUtf8 gives it, in
    // one question to the tree (zero-terminated, as the tree holds it).
    const char* ElementTextZ() const { return n_.child_value(); }
    bool HasChildNodes() const { return static_cast<bool>(n_.first_child()); }
    std::vector<Node> ChildNodes() const;
    // Walking the children without a list: the first, then each next one.
    Node FirstChild() const { return Node(n_.first_child()); }
    Node NextSibling() const { return Node(n_.next_sibling()); }
    std::optional<std::wstring> Attribute(std::wstring_view name) const;
    // The attribute's UTF-8 value as held; empty when it is missing.
    std::string_view AttributeUtf8(const char* name) const { return n_.attribute(name).value(); }

    void SetAttribute(std::wstring_view name, std::wstring_view value);
    // Replaces the element's text with `value`.
    void SetText(std::wstring_view value);

    // Create-and-append: pugixml has no detached nodes, so creation and
    // appending are one step; the new node becomes the last child.
    Node AppendElement(std::wstring_view name);
    Node AppendText(std::wstring_view text);
    Node AppendProcessingInstruction(std::wstring_view target, std::wstring_view data);

    // The same from bytes that are already UTF-8 XML can carry (formatted
    // numbers, indentation, names of our own): placed in the tree as they
    // are, with no conversion. A new element is expected, so the attribute
    // is appended without looking for one of the same name, and the text
    // set where the element has no text yet.
    void AppendAttributeUtf8(std::string_view name, std::string_view value);
    // Converted as SetAttribute converts, appended without that lookup.
    void AppendAttribute(std::wstring_view name, std::wstring_view value);
    void SetTextUtf8(std::string_view value);
    Node AppendElementUtf8(std::string_view name);
    Node AppendTextUtf8(std::string_view text);

    pugi::xml_node Raw() const { return n_; }

    // A node of a streamed document (see Document::Streamed): only its
    // number, which the document's writer knows; null in a tree.
    static Node Streamed(std::uint32_t id) {
        Node n;
        n.streamed_ = id;
        return n;
    }
    std::uint32_t StreamedId() const { return streamed_; }

private:
    pugi::xml_node n_;
    std::uint32_t streamed_ = 0;
};

class Document {
public:
    Document();
    // A document written out as it is made, with no tree (StreamWriter): the
    // bytes go to a temporary file beside `saveTo`, which Save(saveTo)
    // completes (Save of another path fails), or with an empty path to
    // memory, for ToBytes. Nodes are made through
    // Stream() (the helpers of the model layer do), and nothing can be read.
    struct StreamedTag {};
    static constexpr StreamedTag Streamed{};
    Document(StreamedTag, const std::filesystem::path& saveTo);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // A number no other document of this process has had (from 1): state
    // that outlives a document keeps it to tell whether a handle it holds
    // belongs to the document in hand.
    std::uint64_t Serial() const { return serial_; }

    // The document node: the parent of the root element.
    Node AsNode();
    // The writer of a streamed document; null for a tree.
    StreamWriter* Stream() const { return stream_ ? stream_->writer.get() : nullptr; }

    // XPath selection. The location paths the records build, absolute
    // steps of an element name or "*" with at most one [@attribute=literal]
    // condition each, are answered through an index of each parent's
    // element children, built on a parent's first lookup: reading a whole
    // document takes time linear in its size, whatever the number of
    // siblings. Other expressions go to pugixml's XPath. The index follows
    // children appended to a parent; AsNode() and loading drop it.
    Node SelectSingleNode(std::wstring_view xpath) const;
    // Matching nodes in document order.
    std::vector<Node> SelectNodes(std::wstring_view xpath) const;

    // Serialised bytes, exactly as Save writes them. A streamed document
    // is finished by it (or by Save): its open elements are closed; one
    // that writes a file has its bytes there, not here.
    std::string ToBytes() const;
    // Writes to a temporary file beside `path` (a hidden ".kvswx-*.tmp" name
    // unique to this save) and renames it into place, so the file appears
    // whole or not at all. False when it cannot be written; the temporary
    // file is removed on every failure.
    bool Save(const std::filesystem::path& path) const;

    struct LoadResult {
        bool ok = false;
        std::string error;  // description with byte offset, when !ok
    };
    LoadResult LoadFile(const std::filesystem::path& path);
    LoadResult LoadString(std::string_view utf8);

private:
    class ChildIndex;
    // Fills `out` when `xpath` is a location path of the indexed form.
    bool SelectIndexed(std::string_view xpath, std::vector<pugi::xml_node>& out, bool firstOnly) const;

    // A streamed document's writer and the file it writes.
    struct StreamState {
        std::filesystem::path target;  // empty: bytes kept in memory
        std::filesystem::path tmp;     // empty once renamed into place
        std::ofstream file;
        std::unique_ptr<StreamWriter> writer;
        ~StreamState();
    };

    std::uint64_t serial_;
    pugi::xml_document doc_;
    mutable std::unique_ptr<ChildIndex> index_;
    std::unique_ptr<StreamState> stream_;
};

// Filesystem path from a wide path (UTF-8 on Linux, UTF-16 on Windows).
std::filesystem::path WidePath(std::wstring_view path);

}  // namespace kvswx::xml
