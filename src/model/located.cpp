#include "model/located.h"

#include <algorithm>
#include <utility>

#include "model/xml_helpers.h"
#include "platform/text.h"

namespace kvswx {

Located::Located(XmlDocument& doc, std::wstring path) : path_(std::move(path)) {
    for (const XmlNode& node : doc.SelectNodes(*path_)) owned_.push_back(node);
    elements_ = owned_;
}

Located::Located(const Located& parent, std::wstring_view child, std::span<const XmlNode> elements)
    : parent_(&parent), child_(child), elements_(elements) {}

Located::Located(const Located& parent, std::wstring_view child, std::string_view name,
                 std::vector<XmlNode> elements)
    : parent_(&parent),
      child_(child),
      name_(name),
      owned_(std::move(elements)),
      elements_(owned_) {}

const std::wstring& Located::Path() const {
    if (!path_) {
        if (name_) {
            path_ = NamedPath(parent_->Path(), child_, FromUtf8(*name_));
        } else {
            path_ = AppendPath(AppendPath(parent_->Path(), L"/"), child_);
        }
    }
    return *path_;
}

std::vector<XmlNode> ChildrenNamed(const Located& at, std::string_view name) {
    std::vector<XmlNode> found;
    ForEachChildElement(at, [&](XmlNode c) {
        if (c.NameUtf8() == name) found.push_back(c);
    });
    return found;
}

void ReadLocated(I_Serializable& record, XmlDocument& doc, const Located& at) {
    if (auto* reader = dynamic_cast<ElementsReader*>(&record)) {
        reader->ReadElements(doc, at);
    } else {
        record.ReadFromDocument(doc, at.Path());
    }
}

namespace {

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The "Name" attribute as held, and whether there is one.
std::pair<std::string_view, bool> NameOf(XmlNode node) {
    const pugi::xml_attribute a = node.Raw().attribute("Name");
    return {a.value(), static_cast<bool>(a)};
}

}  // namespace

void ForEachNamedChild(const Located& at, std::string_view child, std::wstring_view childWide,
                       const std::function<void(const Located&)>& f) {
    const std::vector<XmlNode> items = ChildrenNamed(at, child);
    // The items that have a name, by name and then position: the items
    // a name selects, in document order, are one run.
    struct Named {
        std::string_view name;
        std::size_t position;
    };
    std::vector<Named> named;
    named.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto [name, present] = NameOf(items[i]);
        if (present) named.push_back({name, i});
    }
    std::stable_sort(named.begin(), named.end(),
                     [](const Named& a, const Named& b) { return a.name < b.name; });
    const auto byName = [](const Named& a, std::string_view b) { return a.name < b; };
    std::string converted;
    for (const XmlNode& item : items) {
        const std::string_view name = NameOf(item).first;
        // The path carries the name as a wide string, so the bytes it
        // looks for are the name's after a round trip through UTF-16/32:
        // the same bytes unless the name is not valid UTF-8.
        std::string_view key = name;
        if (!IsAsciiText(name)) {
            converted = ToUtf8(FromUtf8(name));
            key = converted;
        }
        auto first = std::lower_bound(named.begin(), named.end(), key, byName);
        std::vector<XmlNode> selected;
        for (; first != named.end() && first->name == key; ++first)
            selected.push_back(items[first->position]);
        if (selected.empty()) continue;
        const Located located(at, childWide, name, std::move(selected));
        f(located);
    }
}

}  // namespace kvswx
