// Field lists of the option records, whose children mix scalars with
// sub-records: a font ("...Font", filled and closed by a text format record)
// or the common label block ("CommonViewOptions"). The scalars are the
// ordinary fields of model/fields.h; the walkers below write and read the
// whole list in its one declared order.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "model/fields.h"
#include "model/xml_helpers.h"

namespace kvswx {

// A sub-record child: element `name`, record held by `member` of `Rec`.
// The font flavour lets the record close its element and is read from the
// node the location query finds first; the block flavour is closed by the
// owner and reads itself from its location.
template <class Rec, class Handle, bool IsFont>
struct SubRecordChild {
    const wchar_t* name;
    std::unique_ptr<Handle> Rec::*member;
};
template <class Rec, class Handle>
using FontChild = SubRecordChild<Rec, Handle, true>;
template <class Rec, class Handle>
using BlockChild = SubRecordChild<Rec, Handle, false>;

template <class Rec, class Handle>
constexpr FontChild<Rec, Handle> Font(const wchar_t* name, std::unique_ptr<Handle> Rec::*member) {
    return {name, member};
}
template <class Rec, class Handle>
constexpr BlockChild<Rec, Handle> Block(const wchar_t* name, std::unique_ptr<Handle> Rec::*member) {
    return {name, member};
}

namespace detail {

// A sub-record that was never created is written as a fresh one would be,
// so that every option element always holds its complete set of children.
template <class Handle>
const Handle& OrDefault(const std::unique_ptr<Handle>& slot) {
    static const Handle fresh;
    return slot ? *slot : fresh;
}

template <class Rec, class R, class T, class Kind>
void WriteOption(XmlDocument& doc, XmlNode parent, const Rec& rec, const FieldDef<R, T, Kind>& f) {
    WriteFields(doc, parent, rec, std::make_tuple(f));
}
template <class Rec, class R, class H, bool IsFont>
void WriteOption(XmlDocument& doc, XmlNode parent, const Rec& rec,
                 const SubRecordChild<R, H, IsFont>& f) {
    XmlNode element = CreateChildElement(doc, parent, f.name);
    OrDefault(rec.*(f.member)).GetImpl()->Write(doc, element);
    if constexpr (!IsFont) CloseElement(doc, element);
}

// Each reader returns whether `name` is its entry's. `done` marks a
// sub-record already read during this visit of the children: a second
// element of the same name would read the same first element again, so it
// is skipped, which keeps reading linear in the number of elements.
template <class Rec, class R, class T, class Kind>
bool ReadOption(XmlDocument&, const std::wstring&, Rec& rec, const FieldDef<R, T, Kind>& f,
                const std::wstring& name, XmlNode node, bool&) {
    return ReadField(rec, std::make_tuple(f), name, GetNodeText(node));
}
template <class Rec, class R, class H, bool IsFont>
bool ReadOption(XmlDocument& doc, const std::wstring& location, Rec& rec,
                const SubRecordChild<R, H, IsFont>& f, const std::wstring& name, XmlNode,
                bool& done) {
    if (name != f.name) return false;
    if (done) return true;
    done = true;
    auto& slot = rec.*(f.member);
    if (!slot) slot = std::make_unique<H>();
    const std::wstring path = AppendPath(AppendPath(location, L"/"), f.name);
    if constexpr (IsFont) {
        // The location query finds the first element of that name, whichever
        // of several same-named elements is being visited.
        const XmlNode first = doc.SelectSingleNode(path);
        if (first) slot->GetImpl()->ReadFromNode(doc, first);
    } else {
        slot->GetImpl()->ReadFromDocument(doc, path);
    }
    return true;
}

// Replaces a sub-record with a fresh one; scalar fields are left alone.
template <class Rec, class R, class T, class Kind>
void ResetOption(Rec&, const FieldDef<R, T, Kind>&) {}
template <class Rec, class R, class H, bool IsFont>
void ResetOption(Rec& rec, const SubRecordChild<R, H, IsFont>& f) {
    auto& slot = rec.*(f.member);
    slot.reset();
    slot = std::make_unique<H>();
}

template <class Rec, class Fields, std::size_t... I>
void ReadOptionNode(XmlDocument& doc, const std::wstring& location, Rec& rec, const Fields& fields,
                    const std::wstring& name, XmlNode node, std::array<bool, sizeof...(I)>& done,
                    std::index_sequence<I...>) {
    (ReadOption(doc, location, rec, std::get<I>(fields), name, node, done[I]) || ...);
}

}  // namespace detail

// Writes every entry of `fields` as a child of `parent`, in list order.
template <class Rec, class... F>
void WriteOptionFields(XmlDocument& doc, XmlNode parent, const Rec& rec,
                       const std::tuple<F...>& fields) {
    std::apply([&](const auto&... f) { (detail::WriteOption(doc, parent, rec, f), ...); }, fields);
}

// Replaces every sub-record of `fields` with a fresh one, in list order.
template <class Rec, class... F>
void ResetSubRecords(Rec& rec, const std::tuple<F...>& fields) {
    std::apply([&](const auto&... f) { (detail::ResetOption(rec, f), ...); }, fields);
}

// Visits the element children at location/* in document order and reads
// those that name an entry; other elements are ignored, and entries without
// an element keep their values.
template <class Rec, class... F>
void ReadOptionFields(XmlDocument& doc, const std::wstring& location, Rec& rec,
                      const std::tuple<F...>& fields) {
    std::array<bool, sizeof...(F)> done{};
    for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/*"))) {
        detail::ReadOptionNode(doc, location, rec, fields, node.Name(), node, done,
                               std::index_sequence_for<F...>{});
    }
}

}  // namespace kvswx
