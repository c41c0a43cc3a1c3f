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
    if (n_.type() == pugi::node_pcdata || n_.type() == pugi::node_cdata)
        return FromUtf8(n_.value());
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

namespace {

// Conversion buffers reused from call to call, so that writing allocates
// only what the tree itself keeps. Two, for calls that convert a name and a
// value together.
std::string& Scratch(int which) {
    thread_local std::string buffers[2];
    return buffers[which];
}

// `text` as UTF-8 XML can carry, in scratch buffer `which`; zero-terminated.
const std::string& Converted(std::wstring_view text, int which) {
    std::string& out = Scratch(which);
    out.clear();
    AppendUtf8Xml(out, text);
    return out;
}

// `name` zero-terminated, as pugixml takes names.
const char* Terminated(std::string_view name, int which) {
    std::string& out = Scratch(which);
    out.assign(name);
    return out.c_str();
}

}  // namespace

void Node::SetAttribute(std::wstring_view name, std::wstring_view value) {
    const char* key = Converted(name, 0).c_str();
    auto a = n_.attribute(key);
    if (!a) a = n_.append_attribute(key);
    const std::string& v = Converted(value, 1);
    a.set_value(v.data(), v.size());
}

void Node::SetText(std::wstring_view value) {
    const std::string& v = Converted(value, 0);
    n_.text().set(v.c_str());
}

Node Node::AppendElement(std::wstring_view name) {
    return Node(n_.append_child(Converted(name, 0).c_str()));
}

Node Node::AppendText(std::wstring_view text) { return AppendTextUtf8(Converted(text, 0)); }

void Node::AppendAttribute(std::wstring_view name, std::wstring_view value) {
    const std::string& v = Converted(value, 1);
    n_.append_attribute(Converted(name, 0).c_str()).set_value(v.data(), v.size());
}

void Node::AppendAttributeUtf8(std::string_view name, std::string_view value) {
    n_.append_attribute(Terminated(name, 0)).set_value(value.data(), value.size());
}

void Node::SetTextUtf8(std::string_view value) {
    pugi::xml_node data = n_.first_child();
    while (data && data.type() != pugi::node_pcdata && data.type() != pugi::node_cdata) {
        data = data.next_sibling();
    }
    if (!data) data = n_.append_child(pugi::node_pcdata);
    data.set_value(value.data(), value.size());
}

Node Node::AppendElementUtf8(std::string_view name) {
    return Node(n_.append_child(Terminated(name, 0)));
}

Node Node::AppendTextUtf8(std::string_view text) {
    auto t = n_.append_child(pugi::node_pcdata);
    t.set_value(text.data(), text.size());
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

// Collects the saved bytes straight into a string.
class StringWriter final : public pugi::xml_writer {
public:
    std::string bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};
}  // namespace

std::string Document::ToBytes() const {
    StringWriter writer;
    doc_.save(writer, "", kSaveFlags, pugi::encoding_utf8);
    return std::move(writer.bytes);
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
    if (!out.ok)
        out.error = std::string(r.description()) + " at byte offset " + std::to_string(r.offset);
    return out;
}
}  // namespace

Document::LoadResult Document::LoadFile(const std::filesystem::path& path) {
    return ToResult(doc_.load_file(path.c_str(), pugi::parse_default, pugi::encoding_auto));
}

Document::LoadResult Document::LoadString(std::string_view utf8) {
    return ToResult(
        doc_.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8));
}

std::filesystem::path WidePath(std::wstring_view path) { return PathFromWide(path); }

}  // namespace kvswx::xml
