#include "views/note.h"

#include <tuple>

#include "docprops/text_format.h"
#include "model/fields.h"

namespace kvswx {

namespace {

using NV = NoteValues;
// The children of "Note", in written order; the text format follows them.
const auto kNoteFields = std::make_tuple(
    Field(L"Text", &NV::text, kText), Field(L"Prompt", &NV::prompt, kText),
    Field(L"LinkedText", &NV::linkedText, kText), Field(L"IsBalloon", &NV::isBalloon, kBool),
    Field(L"TextPoint", &NV::textPoint, kPoint3D),
    Field(L"LeaderPoints", &NV::leaderPoints, kDoubleList),
    Field(L"LeaderHeadStyle", &NV::leaderHeadStyle, Enum(ArrowHeadStyleNames)));

}  // namespace

class KVSWX_NoteImpl final : public NodeSerializable {
public:
    NoteValues v;
    std::unique_ptr<KVSWX_TextFormat> textFormat;

    void Write(XmlDocument& doc, XmlNode list) override {
        AttributeMap attributes;
        attributes.emplace(L"Name", v.name);
        XmlNode element = CreateChildElement(doc, list, L"Note", {}, attributes);
        WriteFields(doc, element, v, kNoteFields);
        // The text format fills and closes its own wrapper.
        if (textFormat)
            textFormat->GetImpl()->Write(doc, CreateChildElement(doc, element, L"TextFormat"));
        CloseElement(doc, element);
    }

    void ReadFromNode(XmlDocument& doc, XmlNode element) override {
        v.name = GetAttributeValue(element, L"Name");
        for (const XmlNode& child : element.ChildNodes()) {
            if (!child.IsElement()) continue;
            const std::wstring name = child.Name();
            if (ReadField(v, kNoteFields, name, GetNodeText(child))) continue;
            if (name == L"TextFormat") {
                textFormat.reset();
                textFormat = std::make_unique<KVSWX_TextFormat>();
                textFormat->GetImpl()->ReadFromNode(doc, child);
            }
        }
    }
};

KVSWX_Note::KVSWX_Note() : d_(std::make_unique<KVSWX_NoteImpl>()) {}
KVSWX_Note::~KVSWX_Note() = default;
I_Serializable* KVSWX_Note::GetImpl() const { return d_.get(); }
const NoteValues& KVSWX_Note::Values() const { return d_->v; }
void KVSWX_Note::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_Note::SetText(const std::wstring& v) { d_->v.text = v; }
void KVSWX_Note::SetPrompt(const std::wstring& v) { d_->v.prompt = v; }
void KVSWX_Note::SetLinkedText(const std::wstring& v) { d_->v.linkedText = v; }
void KVSWX_Note::SetTextPoint(const Point3& v) { d_->v.textPoint = v; }
void KVSWX_Note::SetLeaderPoints(const DoubleList& v) { d_->v.leaderPoints = v; }
void KVSWX_Note::SetLeaderHeadStyle(std::int32_t v) { d_->v.leaderHeadStyle = v; }
void KVSWX_Note::SetIsBalloon(bool v) { d_->v.isBalloon = v; }
KVSWX_TextFormat* KVSWX_Note::NewTextFormat() {
    d_->textFormat.reset();
    d_->textFormat = std::make_unique<KVSWX_TextFormat>();
    return d_->textFormat.get();
}
KVSWX_TextFormat* KVSWX_Note::GetTextFormat() const { return d_->textFormat.get(); }

}  // namespace kvswx
