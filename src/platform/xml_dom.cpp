#include "platform/xml_dom.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/os.h"
#include "platform/text.h"

namespace kvswx::xml {

std::wstring Node::Name() const { return FromUtf8(n_.name()); }

std::wstring Node::Text() const {
    if (n_.type() == pugi::node_pcdata || n_.type() == pugi::node_cdata) return FromUtf8(n_.value());
    return FromUtf8(n_.text().get());
}

std::vector<Node> Node::ChildNodes() const {
    std::vector<Node> out;
    for (auto c : n_.children()) out.emplace_back(c);
    return out;
}

std::optional<std::wstring> Node::Attribute(std::wstring_view name) const {
    const auto a = n_.attribute(ToUtf8(name).c_str());
    if (!a) return std::nullopt;
    return FromUtf8(a.value());
}

void Node::SetAttribute(std::wstring_view name, std::wstring_view value) {
    const auto key = ToUtf8Xml(name);
    auto a = n_.attribute(key.c_str());
    if (!a) a = n_.append_attribute(key.c_str());
    a.set_value(ToUtf8Xml(value).c_str());
}

void Node::SetText(std::wstring_view value) { n_.text().set(ToUtf8Xml(value).c_str()); }

Node Node::AppendElement(std::wstring_view name) {
    return Node(n_.append_child(ToUtf8Xml(name).c_str()));
}

Node Node::AppendText(std::wstring_view text) {
    auto t = n_.append_child(pugi::node_pcdata);
    t.set_value(ToUtf8Xml(text).c_str());
    return Node(t);
}

Node Node::AppendProcessingInstruction(std::wstring_view target, std::wstring_view data) {
    auto pi = n_.append_child(pugi::node_pi);
    pi.set_name(ToUtf8Xml(target).c_str());
    pi.set_value(ToUtf8Xml(data).c_str());
    return Node(pi);
}

Document::Document() {
    // One thread runs the library at a time; atomic all the same, as the
    // counter is shared by every document the process makes.
    static std::atomic<std::uint64_t> next{1};
    serial_ = next.fetch_add(1, std::memory_order_relaxed);
}

Node Document::SelectSingleNode(std::wstring_view xpath) const {
    try {
        return Node(doc_.select_node(ToUtf8(xpath).c_str()).node());
    } catch (const pugi::xpath_exception&) {
        return Node();
    }
}

std::vector<Node> Document::SelectNodes(std::wstring_view xpath) const {
    std::vector<Node> out;
    try {
        auto set = doc_.select_nodes(ToUtf8(xpath).c_str());
        set.sort();
        for (const auto& n : set) out.emplace_back(n.node());
    } catch (const pugi::xpath_exception&) {
        out.clear();
    }
    return out;
}

namespace {
constexpr unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration;
}

std::string Document::ToBytes() const {
    std::ostringstream os;
    doc_.save(os, "", kSaveFlags, pugi::encoding_utf8);
    return os.str();
}

bool Document::Save(const std::filesystem::path& path) const {
    auto tmp = path;
    tmp += ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        doc_.save(out, "", kSaveFlags, pugi::encoding_utf8);
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

namespace {
Document::LoadResult ToResult(const pugi::xml_parse_result& r) {
    Document::LoadResult out;
    out.ok = static_cast<bool>(r);
    if (!out.ok) out.error = std::string(r.description()) + " at byte offset " + std::to_string(r.offset);
    return out;
}
}  // namespace

Document::LoadResult Document::LoadFile(const std::filesystem::path& path) {
    return ToResult(doc_.load_file(path.c_str(), pugi::parse_default, pugi::encoding_auto));
}

Document::LoadResult Document::LoadString(std::string_view utf8) {
    return ToResult(doc_.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8));
}

std::filesystem::path WidePath(std::wstring_view path) { return PathFromWide(path); }

}  // namespace kvswx::xml
