#include "platform/xml_dom.h"

#include <atomic>
#include <cerrno>
#include <random>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

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

namespace {

// Writes all of `bytes` to `fd`; false on any error.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A temporary file in `folder` that no other save shares, opened for
// writing: created exclusively under a name made of the process id, a
// counter of this process and random bits. Short, so a target name of any
// length can have one. -1 when none can be created.
int CreateTemporary(const std::filesystem::path& folder, std::filesystem::path& name) {
    static std::atomic<std::uint64_t> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char leaf[80];
        std::snprintf(leaf, sizeof leaf, ".kvswx-%ld-%llu-%08x.tmp", static_cast<long>(::getpid()),
                      static_cast<unsigned long long>(counter.fetch_add(1)), static_cast<unsigned>(random()));
        name = folder / leaf;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool Document::Save(const std::filesystem::path& path) const {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::filesystem::path tmp;
    const int fd = CreateTemporary(folder, tmp);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, ToBytes());
    const bool closed = ::close(fd) == 0;
    std::error_code ec;
    if (written && closed) std::filesystem::rename(tmp, path, ec);
    if (!written || !closed || ec) {
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

std::filesystem::path WidePath(std::wstring_view path) { return std::filesystem::path(ToUtf8(path)); }

}  // namespace kvswx::xml
