// Declarative field lists: a record declares each scalar field once (XML
// name, member, value kind) in the order its children are written, and the
// generic writer and reader walk that list. Odd fields add a write condition.
//
//   inline const auto kLineFields = std::make_tuple(
//       Field(L"StartPoint", &KVSWX_LineImpl::startPoint, kPoint3D),
//       Field(L"EndPoint", &KVSWX_LineImpl::endPoint, kPoint3D));
#pragma once

#include <concepts>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "model/encodings.h"
#include "model/enum_names.h"
#include "model/xml_helpers.h"

namespace kvswx {

// ---- Value kinds: how a member becomes element text and back. -------------

// Kinds whose text is ASCII with nothing to escape (numbers, flags) also
// have FormatUtf8, appending the same characters as Format to a narrow
// buffer; the writer places that text as it is.
// They also have ParseAscii, reading ASCII text as Parse reads the same
// characters; the reader uses it when the element's text is ASCII. Kinds of
// numbers have ParsePlain, reading numbers as we write them in one pass
// (false for text of another form, which then takes ParseAscii or Parse).
struct DoubleKind {
    std::wstring Format(double v) const { return FormatDouble(v); }
    void FormatUtf8(std::string& out, double v) const { AppendDouble(out, v); }
    void Parse(double& v, std::wstring_view t) const { v = ParseDouble(t); }
    void ParseAscii(double& v, std::string_view t) const { v = ParseDoubleAscii(t); }
    bool ParsePlain(double& v, std::string_view t) const { return ReadPlainDouble(t, v); }
};
struct IntKind {
    std::wstring Format(std::int32_t v) const { return FormatInt(v); }
    void FormatUtf8(std::string& out, std::int32_t v) const { AppendInt(out, v); }
    void Parse(std::int32_t& v, std::wstring_view t) const { v = ParseInt(t); }
    void ParseAscii(std::int32_t& v, std::string_view t) const { v = ParseIntAscii(t); }
};
struct BoolKind {
    std::wstring Format(bool v) const { return FormatBool(v ? 1 : 0); }
    void FormatUtf8(std::string& out, bool v) const { out += v ? "true" : "false"; }
    void Parse(bool& v, std::wstring_view t) const { v = ParseBool(t) == 1; }
    void ParseAscii(bool& v, std::string_view t) const { v = t == "true"; }
};
struct TextKind {
    const std::wstring& Format(const std::wstring& v) const { return v; }
    void Parse(std::wstring& v, std::wstring_view t) const { v = std::wstring(t); }
    // The element's UTF-8 text, converted as the tree's wide text is,
    // straight into the member.
    void ParseUtf8(std::wstring& v, std::string_view t) const { v = FromUtf8(t); }
};
struct Point2Kind {
    std::wstring Format(const Point2& v) const { return FormatPoint(v[0], v[1]); }
    void FormatUtf8(std::string& out, const Point2& v) const { AppendDoubles(out, v.data(), v.size()); }
    void Parse(Point2& v, std::wstring_view t) const { v = ParseFixed<2>(t); }
    void ParseAscii(Point2& v, std::string_view t) const { v = ParseFixedAscii<2>(t); }
    bool ParsePlain(Point2& v, std::string_view t) const { return ReadPlainFixed(t, v); }
};
struct Point3Kind {
    std::wstring Format(const Point3& v) const { return FormatPoint3D(v[0], v[1], v[2]); }
    void FormatUtf8(std::string& out, const Point3& v) const { AppendDoubles(out, v.data(), v.size()); }
    void Parse(Point3& v, std::wstring_view t) const { v = ParseFixed<3>(t); }
    void ParseAscii(Point3& v, std::string_view t) const { v = ParseFixedAscii<3>(t); }
    bool ParsePlain(Point3& v, std::string_view t) const { return ReadPlainFixed(t, v); }
};
struct TransformKind {
    std::wstring Format(const Transform16& v) const { return FormatTransform(v); }
    void FormatUtf8(std::string& out, const Transform16& v) const { AppendDoubles(out, v.data(), v.size()); }
    void Parse(Transform16& v, std::wstring_view t) const { v = ParseFixed<16>(t); }
    void ParseAscii(Transform16& v, std::string_view t) const { v = ParseFixedAscii<16>(t); }
    bool ParsePlain(Transform16& v, std::string_view t) const { return ReadPlainFixed(t, v); }
};
// Lists of any allocator (segments keep theirs in segment storage).
struct DoubleListKind {
    template <class List>
    std::wstring Format(const List& v) const {
        return FormatDoubleList(DoubleList(v.begin(), v.end()));
    }
    template <class List>
    void FormatUtf8(std::string& out, const List& v) const {
        AppendDoubles(out, v.data(), v.size());
    }
    template <class List>
    void Parse(List& v, std::wstring_view t) const {
        const DoubleList read = ParseDoubleList(t);
        v.assign(read.begin(), read.end());
    }
    template <class List>
    void ParseAscii(List& v, std::string_view t) const {
        const DoubleList read = ParseDoubleListAscii(t);
        v.assign(read.begin(), read.end());
    }
    template <class List>
    bool ParsePlain(List& v, std::string_view t) const {
        return ReadPlainDoubleList(t, v);
    }
};
// An enumerated value: the number as text, its member name in one attribute.
struct EnumKind {
    const EnumTable& (*table)();
    const wchar_t* key = nullptr;  // null: the table's own key
    AsciiName asciiKey{};          // `key` as ASCII bytes

    std::wstring Format(std::int32_t v) const { return FormatInt(v); }
    void FormatUtf8(std::string& out, std::int32_t v) const { AppendInt(out, v); }
    void Parse(std::int32_t& v, std::wstring_view t) const { v = ParseInt(t); }
    void ParseAscii(std::int32_t& v, std::string_view t) const { v = ParseIntAscii(t); }
    LeafAttribute Attribute(std::int32_t v) const {
        const EnumTable& t = table();
        const EnumTable::Names names = t.NamesOf(v);
        if (key != nullptr) return {key, names.name, asciiKey.View(), names.ascii};
        return {t.Key(), names.name, t.AsciiKey(), names.ascii};
    }
};

inline constexpr DoubleKind kDouble{};
inline constexpr IntKind kInt{};
inline constexpr BoolKind kBool{};
inline constexpr TextKind kText{};
inline constexpr Point2Kind kPoint2D{};
inline constexpr Point3Kind kPoint3D{};
inline constexpr TransformKind kTransform{};
inline constexpr DoubleListKind kDoubleList{};
constexpr EnumKind Enum(const EnumTable& (*table)(), const wchar_t* key = nullptr) {
    return EnumKind{table, key, AsciiName(key)};
}

// ---- One field. -----------------------------------------------------------

template <class Rec, class T, class Kind>
struct FieldDef {
    const wchar_t* name;
    T Rec::*member;
    Kind kind;
    bool (*when)(const Rec&) = nullptr;  // write condition; null = always
    AsciiName ascii{};                   // `name` as the writer writes it

    // Same field, written only when `condition` holds (reading is unconditional).
    constexpr FieldDef When(bool (*condition)(const Rec&)) const {
        return FieldDef{name, member, kind, condition, ascii};
    }
};

template <class Rec, class T, class Kind>
constexpr FieldDef<Rec, T, Kind> Field(const wchar_t* name, T Rec::*member, Kind kind) {
    return FieldDef<Rec, T, Kind>{name, member, kind, nullptr, AsciiName(name)};
}

namespace detail {
template <class K, class T>
concept HasAttribute = requires(const K& k, const T& v) {
    { k.Attribute(v) } -> std::same_as<LeafAttribute>;
};
template <class K, class T>
concept HasAsciiParse = requires(const K& k, T& v, std::string_view t) { k.ParseAscii(v, t); };
template <class K, class T>
concept HasPlainParse = requires(const K& k, T& v, std::string_view t) {
    { k.ParsePlain(v, t) } -> std::same_as<bool>;
};
template <class K, class T>
concept HasUtf8Parse = requires(const K& k, T& v, std::string_view t) { k.ParseUtf8(v, t); };
template <class K, class T>
concept HasUtf8Format = requires(const K& k, const T& v, std::string& out) { k.FormatUtf8(out, v); };

// The buffer field text is formatted into, reused from field to field.
inline std::string& FieldText() {
    thread_local std::string text;
    return text;
}

// Writes the element of one field: a leaf, with the kind's attribute if it
// has one; numbers and flags are formatted into `buffer`.
template <class Field, class Value>
void WriteField(LeafWriter& out, const Field& field, const Value& value, std::string& buffer) {
    using Kind = std::decay_t<decltype(field.kind)>;
    LeafAttribute attribute;
    const LeafAttribute* attributes = nullptr;
    if constexpr (HasAttribute<Kind, Value>) {
        attribute = field.kind.Attribute(value);
        attributes = &attribute;
    }
    if constexpr (HasUtf8Format<Kind, Value>) {
        buffer.clear();
        field.kind.FormatUtf8(buffer, value);
        out.Write(field.name, field.ascii.View(), attributes, std::string_view(buffer));
    } else {
        out.Write(field.name, field.ascii.View(), attributes, std::wstring_view(field.kind.Format(value)));
    }
}
}  // namespace detail

// Writes every field of `rec` as a child element of `parent`, in list order.
template <class Rec, class... F>
void WriteFields(XmlDocument& doc, XmlNode parent, const Rec& rec, const std::tuple<F...>& fields) {
    std::string& buffer = detail::FieldText();
    LeafWriter out(doc, parent);
    std::apply(
        [&](const auto&... f) {
            auto one = [&](const auto& field) {
                if (field.when != nullptr && !field.when(rec)) return;
                detail::WriteField(out, field, rec.*(field.member), buffer);
            };
            (one(f), ...);
        },
        fields);
}

// Decodes `text` into the field named `name`; false when no field has that name.
template <class Rec, class... F>
bool ReadField(Rec& rec, const std::tuple<F...>& fields, std::wstring_view name, std::wstring_view text) {
    return std::apply(
        [&](const auto&... f) {
            auto one = [&](const auto& field) {
                if (name != field.name) return false;
                field.kind.Parse(rec.*(field.member), text);
                return true;
            };
            return (one(f) || ...);
        },
        fields);
}

namespace detail {
// Eight bytes at a time: the text of a coordinate list is long.
inline bool IsAscii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) return false;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    }
    return true;
}

// Whether the UTF-8 element name `utf8` (zero-terminated, as the tree
// holds it) is `name` (an ASCII field name). A byte of 0x80 and above
// (part of a longer character) equals no character of an ASCII name.
inline bool SameName(const char* utf8, const wchar_t* name) {
    for (;; ++utf8, ++name) {
        const auto c = static_cast<unsigned char>(*utf8);
        if (static_cast<wchar_t>(c) != *name) return false;
        if (c == 0) return true;
    }
}

// When `child` is named as `field` is: its text decoded into the field,
// and true.
template <class Rec, class Field>
bool DecodeNamed(Rec& rec, const Field& field, XmlNode child, const char* name) {
    if (!SameName(name, field.name)) return false;
    auto& member = rec.*(field.member);
    using Kind = std::decay_t<decltype(field.kind)>;
    using Value = std::decay_t<decltype(member)>;
    if constexpr (HasUtf8Parse<Kind, Value>) {
        field.kind.ParseUtf8(member, child.ElementTextZ());
        return true;
    }
    if constexpr (HasAsciiParse<Kind, Value>) {
        const std::string_view text = child.ElementTextZ();
        if constexpr (HasPlainParse<Kind, Value>) {
            if (field.kind.ParsePlain(member, text)) return true;
        }
        if (IsAscii(text)) {
            field.kind.ParseAscii(member, text);
            return true;
        }
    }
    field.kind.Parse(member, GetNodeText(child));
    return true;
}

// Decodes `child` into the field its name names, trying field `hint`
// first; returns the field's index, or the number of fields when none has
// that name. Names are distinct within a list, so the order of trying
// never changes which field is found.
template <class Rec, class Tuple, std::size_t... I>
std::size_t DecodeField(Rec& rec, const Tuple& fields, XmlNode child, std::size_t hint,
                        std::index_sequence<I...>) {
    const char* name = child.Raw().name();
    std::size_t found = sizeof...(I);
    const auto at = [&](auto index) {
        constexpr std::size_t kIndex = decltype(index)::value;
        if (!DecodeNamed(rec, std::get<kIndex>(fields), child, name)) return false;
        found = kIndex;
        return true;
    };
    if (((I == hint && at(std::integral_constant<std::size_t, I>{})) || ...)) return found;
    ((I != hint && at(std::integral_constant<std::size_t, I>{})) || ...);
    return found;
}
}  // namespace detail

// Decodes the text of `child` into the field its name names; false when no
// field has that name. Field names are ASCII, so the name is compared as
// it is held (a name with other characters names no field: its UTF-8
// bytes never decode to ASCII); numbers and flags are read from ASCII text
// without a wide copy.
template <class Rec, class... F>
bool ReadFieldNode(Rec& rec, const std::tuple<F...>& fields, XmlNode child) {
    return detail::DecodeField(rec, fields, child, sizeof...(F), std::index_sequence_for<F...>{}) !=
           sizeof...(F);
}

// Reads children one after another as ReadFieldNode does, trying first the
// field after the one the previous child named: children written from the
// list come in its order, so each name is compared about once.
template <class Rec, class... F>
class FieldCursor {
public:
    FieldCursor(Rec& rec, const std::tuple<F...>& fields) : rec_(rec), fields_(fields) {}

    bool Read(XmlNode child) {
        const std::size_t found =
            detail::DecodeField(rec_, fields_, child, next_, std::index_sequence_for<F...>{});
        if (found == sizeof...(F)) return false;
        next_ = found + 1;
        return true;
    }

private:
    Rec& rec_;
    const std::tuple<F...>& fields_;
    std::size_t next_ = 0;
};

// Walks the element children of `node` and decodes those that name a field.
// A record's element holds elements and text (documents are parsed without
// comments or processing instructions, and the writer puts none there);
// text has an empty name, which names no field, so no child's kind needs
// asking.
template <class Rec, class... F>
void ReadFieldChildren(Rec& rec, const std::tuple<F...>& fields, XmlNode node) {
    FieldCursor cursor(rec, fields);
    for (XmlNode child = node.FirstChild(); child; child = child.NextSibling()) cursor.Read(child);
}

}  // namespace kvswx
