#include "platform/xml_dom.h"

#include <atomic>
#include <cctype>
#include <unordered_map>
#include <random>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/os.h"
#include "platform/text.h"
#include "platform/xml_stream.h"

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

// ---- indexed location paths -------------------------------------------------

namespace {

// One step of a location path: an element name ("" for "*") and an optional
// condition that an attribute equals a value.
struct Step {
    std::string name;
    std::string attribute;  // "" for no condition
    std::string value;
};

bool IsNameByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || c == '_' || c == '-' || c == '.' || c == ':';
}

// A string literal: '...', "..." or concat(literal, literal, ...), the forms
// a value holding both quote characters needs.
bool ParseLiteral(std::string_view& in, std::string& out) {
    if (!in.empty() && (in[0] == '\'' || in[0] == '"')) {
        const auto end = in.find(in[0], 1);
        if (end == std::string_view::npos) return false;
        out.append(in.substr(1, end - 1));
        in.remove_prefix(end + 1);
        return true;
    }
    if (!in.starts_with("concat(")) return false;
    in.remove_prefix(7);
    for (bool first = true;; first = false) {
        if (!first) {
            if (in.empty() || in[0] != ',') break;
            in.remove_prefix(1);
        }
        if (!ParseLiteral(in, out)) return false;
    }
    if (in.empty() || in[0] != ')') return false;
    in.remove_prefix(1);
    return true;
}

// Steps of an absolute location path of the indexed form; false for any
// other expression.
bool ParseSteps(std::string_view in, std::vector<Step>& steps) {
    while (!in.empty()) {
        if (in[0] != '/') return false;
        in.remove_prefix(1);
        Step step;
        if (!in.empty() && in[0] == '*') {
            in.remove_prefix(1);
        } else {
            std::size_t n = 0;
            while (n < in.size() && IsNameByte(in[n])) ++n;
            if (n == 0) return false;
            step.name = std::string(in.substr(0, n));
            in.remove_prefix(n);
        }
        if (!in.empty() && in[0] == '[') {
            if (!in.starts_with("[@")) return false;
            in.remove_prefix(2);
            std::size_t n = 0;
            while (n < in.size() && IsNameByte(in[n])) ++n;
            if (n == 0 || n >= in.size() || in[n] != '=') return false;
            step.attribute = std::string(in.substr(0, n));
            in.remove_prefix(n + 1);
            if (!ParseLiteral(in, step.value) || in.empty() || in[0] != ']') return false;
            in.remove_prefix(1);
        }
        steps.push_back(std::move(step));
    }
    return !steps.empty();
}

}  // namespace

// Per parent: its element children in order, by name, and by the value of
// an attribute (built per element name and attribute on first use).
class Document::ChildIndex {
public:
    const std::vector<pugi::xml_node>& Children(pugi::xml_node parent, const Step& step) {
        Entry& entry = Get(parent);
        if (step.attribute.empty()) {
            if (step.name.empty()) return entry.elements;
            const auto it = entry.byName.find(step.name);
            return it == entry.byName.end() ? kNone : it->second;
        }
        std::string key = step.name + '\0' + step.attribute;
        auto found = entry.byAttribute.find(key);
        if (found == entry.byAttribute.end()) {
            ByValue& values = entry.byAttribute[std::move(key)];
            for (const pugi::xml_node& child : entry.elements) {
                if (!step.name.empty() && step.name != child.name()) continue;
                if (const pugi::xml_attribute a = child.attribute(step.attribute.c_str()))
                    values[a.value()].push_back(child);
            }
            found = entry.byAttribute.find(step.name + '\0' + step.attribute);
        }
        const auto it = found->second.find(step.value);
        return it == found->second.end() ? kNone : it->second;
    }

private:
    using ByValue = std::unordered_map<std::string, std::vector<pugi::xml_node>>;
    struct Entry {
        pugi::xml_node first;  // the children when the entry was built
        pugi::xml_node last;
        std::vector<pugi::xml_node> elements;
        std::unordered_map<std::string, std::vector<pugi::xml_node>> byName;
        std::unordered_map<std::string, ByValue> byAttribute;
    };

    Entry& Get(pugi::xml_node parent) {
        Entry& entry = entries_[parent.internal_object()];
        if (entry.first == parent.first_child() && entry.last == parent.last_child() && entry.first) return entry;
        entry = Entry{};
        entry.first = parent.first_child();
        entry.last = parent.last_child();
        for (pugi::xml_node child = entry.first; child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            entry.elements.push_back(child);
            entry.byName[child.name()].push_back(child);
        }
        return entry;
    }

    static inline const std::vector<pugi::xml_node> kNone;
    std::unordered_map<const void*, Entry> entries_;
};

Document::~Document() = default;

Node Document::AsNode() {
    if (stream_) return Node::Streamed(StreamWriter::kDocument);
    index_.reset();
    return Node(doc_);
}

bool Document::SelectIndexed(std::string_view xpath, std::vector<pugi::xml_node>& out, bool firstOnly) const {
    std::vector<Step> steps;
    if (!ParseSteps(xpath, steps)) return false;
    if (!index_) index_ = std::make_unique<ChildIndex>();
    std::vector<pugi::xml_node> context{doc_};
    std::vector<pugi::xml_node> next;
    for (std::size_t s = 0; s < steps.size() && !context.empty(); ++s) {
        next.clear();
        // Contexts are siblings' descendants of one depth, in document
        // order: their children, appended in turn, stay in document order.
        for (const pugi::xml_node& parent : context) {
            const auto& children = index_->Children(parent, steps[s]);
            if (firstOnly && s + 1 == steps.size() && !children.empty()) {
                out.push_back(children.front());
                return true;
            }
            next.insert(next.end(), children.begin(), children.end());
        }
        context.swap(next);
    }
    out = std::move(context);
    return true;
}

Node Document::SelectSingleNode(std::wstring_view xpath) const {
    const std::string path = ToUtf8(xpath);
    std::vector<pugi::xml_node> found;
    if (SelectIndexed(path, found, true)) return found.empty() ? Node() : Node(found.front());
    try {
        return Node(doc_.select_node(path.c_str()).node());
    } catch (const pugi::xpath_exception&) {
        return Node();
    }
}

std::vector<Node> Document::SelectNodes(std::wstring_view xpath) const {
    const std::string path = ToUtf8(xpath);
    std::vector<Node> out;
    std::vector<pugi::xml_node> found;
    if (SelectIndexed(path, found, false)) {
        out.reserve(found.size());
        for (const pugi::xml_node& n : found) out.emplace_back(n);
        return out;
    }
    try {
        auto set = doc_.select_nodes(path.c_str());
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
    if (stream_) {
        stream_->writer->Finish();
        return stream_->writer->Take();
    }
    StringWriter writer;
    doc_.save(writer, "", kSaveFlags, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

namespace {

long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(::_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

// A path in `folder` that no other save shares: the process id, a counter of
// this process and random bits, and no file there yet. Short, so a target
// name of any length can have one.
std::filesystem::path TemporaryPath(const std::filesystem::path& folder) {
    static std::atomic<std::uint64_t> counter{0};
    std::random_device random;
    std::filesystem::path name;
    std::error_code ec;
    do {
        char leaf[80];
        std::snprintf(leaf, sizeof leaf, ".kvswx-%ld-%llu-%08x.tmp", ProcessId(),
                      static_cast<unsigned long long>(counter.fetch_add(1)), static_cast<unsigned>(random()));
        name = folder / leaf;
    } while (std::filesystem::exists(name, ec));
    return name;
}

// Writes `path` through a temporary file beside it, renamed into place.
template <class Write>
bool SaveThrough(const std::filesystem::path& path, Write&& write) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::filesystem::path tmp = TemporaryPath(folder);
    bool written = false;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (out) {
            write(out);
            out.flush();
            written = static_cast<bool>(out);
        }
    }
    std::error_code ec;
    if (written) std::filesystem::rename(tmp, path, ec);
    if (!written || ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

}  // namespace

Document::Document(StreamedTag, const std::filesystem::path& saveTo) : Document() {
    stream_ = std::make_unique<StreamState>();
    stream_->target = saveTo;
    if (!saveTo.empty()) {
        stream_->tmp = TemporaryPath(saveTo.has_parent_path() ? saveTo.parent_path() : ".");
        stream_->file.open(stream_->tmp, std::ios::binary | std::ios::trunc);
    }
    stream_->writer = std::make_unique<StreamWriter>(saveTo.empty() ? nullptr : &stream_->file);
}

Document::StreamState::~StreamState() {
    // Still here when the document was not saved: nothing is left behind.
    if (tmp.empty()) return;
    if (file.is_open()) file.close();
    std::error_code ec;
    std::filesystem::remove(tmp, ec);
}

bool Document::Save(const std::filesystem::path& path) const {
    if (stream_) {
        if (stream_->target.empty()) {
            // Kept in memory: saved the way a tree is.
            const std::string bytes = ToBytes();
            return SaveThrough(path, [&](std::ofstream& out) {
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            });
        }
        // The temporary file is beside the file named at construction.
        if (path != stream_->target || stream_->tmp.empty()) return false;
        bool written = stream_->file.is_open() && stream_->writer->Finish();
        if (stream_->file.is_open()) {
            stream_->file.close();
            written = written && !stream_->file.fail();
        }
        std::error_code ec;
        if (written) std::filesystem::rename(stream_->tmp, path, ec);
        if (!written || ec) return false;  // the temporary file goes with the state
        stream_->tmp.clear();
        return true;
    }
    return SaveThrough(path, [&](std::ofstream& out) { doc_.save(out, "", kSaveFlags, pugi::encoding_utf8); });
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
    index_.reset();
    return ToResult(doc_.load_file(path.c_str(), pugi::parse_default, pugi::encoding_auto));
}

Document::LoadResult Document::LoadString(std::string_view utf8) {
    index_.reset();
    return ToResult(doc_.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8));
}

std::filesystem::path WidePath(std::wstring_view path) { return PathFromWide(path); }

}  // namespace kvswx::xml
