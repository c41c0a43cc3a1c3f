#include "platform/xml_stream.h"

#include <array>
#include <cassert>
#include <cstring>

#include "platform/text.h"

namespace kvswx::xml {

namespace {

// With a file, bytes are handed on in blocks of about this size.
constexpr std::size_t kBlock = std::size_t{1} << 16;

// Bytes that need escaping (or end the text, zero): in text, controls but
// tab, line feed and carriage return, and & < >; in attribute values, every
// control and & < ".
using Table = std::array<unsigned char, 256>;
constexpr Table MakeTable(bool attribute) {
    Table t{};
    for (int c = 0; c < 32; ++c) t[c] = 1;
    t['&'] = t['<'] = 1;
    if (attribute) {
        t['"'] = 1;
    } else {
        t['\t'] = t['\n'] = t['\r'] = 0;
        t['>'] = 1;
    }
    return t;
}
constexpr Table kText = MakeTable(false);
constexpr Table kAttribute = MakeTable(true);

// What pugixml writes for a node or attribute without a name.
constexpr std::string_view kNoName = ":anonymous";

std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

// Whether wide character `c` is one byte of UTF-8 that XML carries as it is.
bool PlainAscii(wchar_t c) { return (c >= 0x20 && c <= 0x7E) || c == 0x9 || c == 0xA || c == 0xD; }

// Whether any of the eight bytes of `w` is below 0x20 or one of & < > ".
bool MaybeSpecial(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    const auto zeroByte = [](std::uint64_t x) { return (x - kOnes) & ~x & kHigh; };
    const std::uint64_t below = (w - kOnes * 0x20) & ~w & kHigh;
    return (below | zeroByte(w ^ (kOnes * '&')) | zeroByte(w ^ (kOnes * '<')) | zeroByte(w ^ (kOnes * '>')) |
            zeroByte(w ^ (kOnes * '"'))) != 0;
}

}  // namespace

StreamWriter::StreamWriter(std::ofstream* file) : file_(file) {
    open_.reserve(32);
    open_.push_back(Open{kDocument, 0, 0, false});
    Grow(2 * kBlock);
}

void StreamWriter::Grow(std::size_t n) {
    const std::size_t used = static_cast<std::size_t>(end_ - begin_);
    if (file_ != nullptr && used != 0) {
        // Hand on what is there; the room may then be enough.
        if (!fileFailed_ && !file_->write(begin_, static_cast<std::streamsize>(used))) fileFailed_ = true;
        end_ = begin_;
        if (static_cast<std::size_t>(limit_ - end_) >= n) return;
    }
    const std::size_t keep = file_ != nullptr ? 0 : used;
    std::size_t capacity = static_cast<std::size_t>(limit_ - begin_);
    if (capacity == 0) capacity = n;
    while (capacity < keep + n) capacity *= 2;
    auto bigger = std::make_unique<char[]>(capacity);
    if (keep != 0) std::memcpy(bigger.get(), begin_, keep);
    buffer_ = std::move(bigger);
    begin_ = buffer_.get();
    end_ = begin_ + keep;
    limit_ = begin_ + capacity;
}

void StreamWriter::Put(std::string_view bytes) {
    if (bytes.empty()) return;  // its data may be null, which memcpy must not see
    Reserve(bytes.size());
    std::memcpy(end_, bytes.data(), bytes.size());
    end_ += bytes.size();
}

void StreamWriter::FlushFull() {
    if (file_ != nullptr && static_cast<std::size_t>(end_ - begin_) >= kBlock) Grow(limit_ - begin_);
}

void StreamWriter::Refuse(const char* what) {
    failed_ = true;
    throw OutOfOrder(std::string("XML stream: ") + what);
}

StreamWriter::Open& StreamWriter::Find(std::uint32_t node) {
    if (failed_) Refuse("a write after a refused one");
    for (std::size_t i = open_.size(); i-- > 0;) {
        if (open_[i].id == node) return open_[i];
        if (open_[i].id < node) break;  // numbers grow up the stack
    }
    Refuse("content for a node that is not open");
}

void StreamWriter::CloseTop() {
    const Open& top = open_.back();
    if (!top.hasChildren) {
        Put("/>");
    } else {
        Reserve(top.nameLength + 3);
        *end_++ = '<';
        *end_++ = '/';
        std::memcpy(end_, names_.data() + top.nameOffset, top.nameLength);
        end_ += top.nameLength;
        *end_++ = '>';
    }
    names_.resize(top.nameOffset);
    open_.pop_back();
}

void StreamWriter::OpenForChild(std::uint32_t node) {
    if (open_.back().id != node) {
        Find(node);
        while (open_.back().id != node) CloseTop();
    } else if (failed_) {
        Refuse("a write after a refused one");
    }
    Open& parent = open_.back();
    if (!parent.hasChildren) {
        if (parent.id != kDocument) Put('>');
        parent.hasChildren = true;
    }
}

void StreamWriter::StartElement(std::string_view name) {
    if (name.empty()) name = kNoName;
    Reserve(name.size() + 1);
    *end_++ = '<';
    std::memcpy(end_, name.data(), name.size());
    end_ += name.size();
    const auto offset = static_cast<std::uint32_t>(names_.size());
    names_ += name;
    open_.push_back(Open{next_, offset, static_cast<std::uint32_t>(name.size()), false});
}

std::uint32_t StreamWriter::AppendElement(std::uint32_t parent, std::string_view name) {
    OpenForChild(parent);
    StartElement(UpToZero(name));
    FlushFull();
    return next_++;
}

std::uint32_t StreamWriter::AppendElement(std::uint32_t parent, std::wstring_view name, std::string_view indent) {
    OpenForChild(parent);
    Put(indent);
    // Names are short and plain ASCII: narrowed on the stack.
    char narrow[64];
    if (name.size() <= sizeof narrow) {
        std::size_t i = 0;
        for (; i < name.size(); ++i) {
            const wchar_t c = name[i];
            if (!PlainAscii(c)) break;
            narrow[i] = static_cast<char>(c);
        }
        if (i == name.size()) {
            StartElement(std::string_view(narrow, name.size()));
            FlushFull();
            return next_++;
        }
    }
    scratch_.clear();
    AppendUtf8Xml(scratch_, name);
    StartElement(UpToZero(scratch_));
    FlushFull();
    return next_++;
}

void StreamWriter::StartAttribute(std::uint32_t element) {
    const Open& e = Find(element);
    if (e.id == kDocument || e.hasChildren || open_.back().id != element) {
        Refuse("an attribute after an element's content");
    }
    Put(' ');
}

void StreamWriter::AppendAttribute(std::uint32_t element, std::string_view name, std::string_view value) {
    StartAttribute(element);
    name = UpToZero(name);
    Put(name.empty() ? kNoName : name);
    Put("=\"");
    Escaped(value, kAttribute.data());
    Put('"');
}

void StreamWriter::AppendAttribute(std::uint32_t element, std::wstring_view name, std::wstring_view value) {
    StartAttribute(element);
    Reserve(name.size());
    std::size_t i = 0;
    for (; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (!PlainAscii(c)) break;
        end_[i] = static_cast<char>(c);
    }
    if (i == name.size() && !name.empty()) {
        end_ += name.size();
    } else {
        scratch_.clear();
        AppendUtf8Xml(scratch_, name);
        Put(scratch_.empty() ? kNoName : std::string_view(scratch_));
    }
    Put("=\"");
    Escaped(value, kAttribute.data());
    Put('"');
}

void StreamWriter::AppendText(std::uint32_t parent, std::string_view text) {
    OpenForChild(parent);
    Escaped(text, kText.data());
    FlushFull();
}

void StreamWriter::AppendIndent(std::uint32_t parent, std::string_view indent) {
    OpenForChild(parent);
    Put(indent);
    FlushFull();
}

void StreamWriter::AppendPlainText(std::uint32_t parent, std::string_view text) {
    assert(text.find_first_of("&<>\"\0") == std::string_view::npos);
    OpenForChild(parent);
    Put(text);
    FlushFull();
}

void StreamWriter::AppendText(std::uint32_t parent, std::wstring_view text) {
    OpenForChild(parent);
    Escaped(text, kText.data());
    FlushFull();
}

void StreamWriter::AppendProcessingInstruction(std::uint32_t parent, std::string_view target,
                                               std::string_view data) {
    OpenForChild(parent);
    target = UpToZero(target);
    Put("<?");
    Put(target.empty() ? kNoName : target);
    data = UpToZero(data);
    if (!data.empty()) {
        Put(' ');
        // "?>" inside would end the instruction early.
        for (std::size_t from = 0;;) {
            const std::size_t at = data.find("?>", from);
            Put(data.substr(from, at - from));
            if (at == std::string_view::npos) break;
            Put("? >");
            from = at + 2;
        }
    }
    Put("?>");
    FlushFull();
}

std::string_view StreamWriter::StartLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                                        std::string_view attributeName, std::string_view attributeValue) {
    OpenForChild(parent);
    if (name.empty()) name = kNoName;
    Reserve(indent.size() + 1 + name.size() + 1 + attributeName.size() + 2);
    std::memcpy(end_, indent.data(), indent.size());
    end_ += indent.size();
    *end_++ = '<';
    std::memcpy(end_, name.data(), name.size());
    end_ += name.size();
    if (!attributeName.empty()) {
        *end_++ = ' ';
        std::memcpy(end_, attributeName.data(), attributeName.size());
        end_ += attributeName.size();
        *end_++ = '=';
        *end_++ = '"';
        Escaped(attributeValue, kAttribute.data());
        Put('"');
    }
    return name;
}

std::uint32_t StreamWriter::EndLeaf(std::string_view name, bool hasText) {
    if (!hasText) {
        Put("/>");
    } else {
        Reserve(name.size() + 3);
        *end_++ = '<';
        *end_++ = '/';
        std::memcpy(end_, name.data(), name.size());
        end_ += name.size();
        *end_++ = '>';
    }
    FlushFull();
    return next_++;
}

std::uint32_t StreamWriter::AppendLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                                       std::string_view attributeName, std::string_view attributeValue,
                                       std::string_view plainText) {
    assert(plainText.find_first_of("&<>\"\0") == std::string_view::npos);
    name = StartLeaf(parent, indent, name, attributeName, attributeValue);
    if (!plainText.empty()) {
        Reserve(1 + plainText.size());
        *end_++ = '>';
        std::memcpy(end_, plainText.data(), plainText.size());
        end_ += plainText.size();
    }
    return EndLeaf(name, !plainText.empty());
}

std::uint32_t StreamWriter::AppendLeaf(std::uint32_t parent, std::string_view indent, std::string_view name,
                                       std::string_view attributeName, std::string_view attributeValue,
                                       std::wstring_view text) {
    name = StartLeaf(parent, indent, name, attributeName, attributeValue);
    if (!text.empty()) {
        Put('>');
        Escaped(text, kText.data());
    }
    return EndLeaf(name, !text.empty());
}

bool StreamWriter::HasChildren(std::uint32_t node) { return Find(node).hasChildren; }

void StreamWriter::Escaped(std::string_view text, const unsigned char* special) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* run = p;
        // Eight bytes at a time while none can need escaping, then one by one.
        std::uint64_t word = 0;
        while (end - p >= 8 && (std::memcpy(&word, p, 8), !MaybeSpecial(word))) p += 8;
        while (p != end && special[static_cast<unsigned char>(*p)] == 0) ++p;
        Put(std::string_view(run, static_cast<std::size_t>(p - run)));
        if (p == end) return;
        const auto c = static_cast<unsigned char>(*p++);
        switch (c) {
            case 0:
                return;  // the end of the string as pugixml holds it
            case '&':
                Put("&amp;");
                break;
            case '<':
                Put("&lt;");
                break;
            case '>':
                Put("&gt;");
                break;
            case '"':
                Put("&quot;");
                break;
            default: {
                const char ref[] = {'&', '#', static_cast<char>('0' + c / 10), static_cast<char>('0' + c % 10),
                                    ';'};
                Put(std::string_view(ref, sizeof ref));
            }
        }
    }
}

void StreamWriter::Escaped(std::wstring_view text, const unsigned char* special) {
    // Plain ASCII is written as it is (escaped where needed); from the first
    // other character on, the text is converted as the tree converts it.
    std::size_t i = 0;
    Reserve(text.size());
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0x20 && c <= 0x7E && special[c] == 0) {
            *end_++ = static_cast<char>(c);
            continue;
        }
        if (!PlainAscii(c)) break;
        const char one = static_cast<char>(c);
        Escaped(std::string_view(&one, 1), special);
        Reserve(text.size() - i);
    }
    if (i == text.size()) return;
    scratch_.clear();
    AppendUtf8Xml(scratch_, text.substr(i));
    Escaped(scratch_, special);
}

bool StreamWriter::Finish() {
    while (open_.size() > 1) CloseTop();
    if (file_ == nullptr) return true;
    const auto used = static_cast<std::streamsize>(end_ - begin_);
    if (!fileFailed_ && used != 0 && !file_->write(begin_, used)) fileFailed_ = true;
    end_ = begin_;
    if (!fileFailed_ && !file_->flush()) fileFailed_ = true;
    return !fileFailed_;
}

std::string StreamWriter::Take() {
    std::string bytes(begin_, end_);
    end_ = begin_;
    return bytes;
}

}  // namespace kvswx::xml
