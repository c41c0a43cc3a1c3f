// Reading records found by location without building and evaluating a path
// per lookup. A record read by location reads the elements its location
// path selects; an owner that has those elements in hand passes them with
// the path, which is built only if the record asks for it (a record that
// reads by path). The elements are exactly those the path selects, in
// document order, so a record reads the same whichever way it is reached.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/serializable.h"

namespace kvswx {

class Located {
public:
    // The elements `path` selects in `doc`.
    Located(XmlDocument& doc, std::wstring path);
    // `parent`'s path + "/" + `child` (an element name), which selects
    // `elements` (held by the caller for the object's life).
    Located(const Located& parent, std::wstring_view child, std::span<const XmlNode> elements);
    // The path with the condition [@Name=...] on the UTF-8 name `name`, as
    // NamedPath spells it, which selects `elements`.
    Located(const Located& parent, std::wstring_view child, std::string_view name,
            std::vector<XmlNode> elements);
    Located(const Located&) = delete;
    Located& operator=(const Located&) = delete;

    std::span<const XmlNode> Elements() const { return elements_; }
    // The first element selected (null when there is none): what
    // SelectSingleNode gives for the path.
    XmlNode First() const { return elements_.empty() ? XmlNode() : elements_.front(); }
    // The location path, built on first use.
    const std::wstring& Path() const;

private:
    const Located* parent_ = nullptr;
    std::wstring_view child_;
    std::optional<std::string_view> name_;
    std::vector<XmlNode> owned_;
    std::span<const XmlNode> elements_;
    mutable std::optional<std::wstring> path_;
};

// The children named `name` (UTF-8) of `at`'s elements, in document order:
// the elements of path + "/" + name.
std::vector<XmlNode> ChildrenNamed(const Located& at, std::string_view name);

// Calls f(element) for each element child of each element of `at`, in
// document order: the elements of path + "/*".
template <class F>
void ForEachChildElement(const Located& at, F&& f) {
    for (const XmlNode& element : at.Elements()) {
        for (XmlNode child = element.FirstChild(); child; child = child.NextSibling()) {
            if (child.IsElement()) f(child);
        }
    }
}

// Calls f(item) for each element under each element named `wrapper` among
// the children of `at`'s elements: the elements of path + "/" + wrapper +
// "/*", in document order.
template <class F>
void ForEachWrappedElement(const Located& at, std::string_view wrapper, F&& f) {
    ForEachChildElement(at, [&](XmlNode child) {
        if (child.NameUtf8() != wrapper) return;
        for (XmlNode item = child.FirstChild(); item; item = item.NextSibling()) {
            if (item.IsElement()) f(item);
        }
    });
}

// Records read by location that can take the elements in hand.
class ElementsReader {
public:
    virtual void ReadElements(XmlDocument& doc, const Located& at) = 0;

protected:
    ~ElementsReader() = default;
};

// Reads `record` at `at`: from the elements when it can take them, else by
// the path.
void ReadLocated(I_Serializable& record, XmlDocument& doc, const Located& at);

// For each element named `child` (UTF-8 and wide spellings) under `at`'s
// elements, in document order: the elements that path + "/" + child +
// "[@Name=...]" with that element's own "Name" selects (a missing attribute
// reads as an empty name, which only an empty "Name" matches). f(located)
// is called for each element whose set is not empty; an element whose
// name finds no element (not even itself, as a name that is not valid
// UTF-8 does) is passed over.
void ForEachNamedChild(const Located& at, std::string_view child, std::wstring_view childWide,
                       const std::function<void(const Located&)>& f);

}  // namespace kvswx
