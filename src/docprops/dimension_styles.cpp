#include "docprops/dimension_styles.h"

#include <charconv>
#include <string_view>

#include "model/encodings.h"
#include "model/xml_helpers.h"
#include "platform/text.h"

namespace kvswx {

namespace {

// "%f": fixed notation with six decimals.
std::wstring FormatSixDecimals(double v) {
    char buf[400];  // 1.8e308 in full with six decimals
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return std::wstring(buf, r.ptr);
}

}  // namespace

class KVSWX_DimensionStyleImpl final : public NodeSerializable {
public:
    std::wstring name;
    std::int32_t units = 0;
    double scale = 0.0;

    void Write(XmlDocument& doc, XmlNode parent) override {
        AttributeMap attributes;
        attributes.emplace(L"Units", FormatInt(units));
        attributes.emplace(L"Scale", FormatSixDecimals(scale));
        CreateChildElement(doc, parent, L"DimensionStyle", name, attributes);
    }

    void ReadFromNode(XmlDocument&, XmlNode node) override {
        name = GetNodeText(node);
        // Every attribute in order: of two "Scale" attributes the last counts.
        for (const pugi::xml_attribute& a : node.Raw().attributes()) {
            const std::string_view key = a.name();
            if (key == "Units")
                units = ParseInt(FromUtf8(a.value()));
            else if (key == "Scale")
                scale = ParseDouble(FromUtf8(a.value()));
        }
    }
};

KVSWX_DimensionStyle::KVSWX_DimensionStyle() : d_(std::make_unique<KVSWX_DimensionStyleImpl>()) {}
KVSWX_DimensionStyle::~KVSWX_DimensionStyle() = default;
I_Serializable* KVSWX_DimensionStyle::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_DimensionStyle::GetName() const { return d_->name; }
std::int32_t KVSWX_DimensionStyle::GetUnits() const { return d_->units; }
double KVSWX_DimensionStyle::GetScale() const { return d_->scale; }

class KVSWX_DimensionStylesCollectionImpl final : public LocatedSerializable {
public:
    std::vector<std::unique_ptr<KVSWX_DimensionStyle>> styles;

    ~KVSWX_DimensionStylesCollectionImpl() override {
        // First to last.
        for (auto& style : styles) style.reset();
        styles.clear();
    }

    void Write(XmlDocument& doc, XmlNode parent) override {
        WriteCollection(doc, parent, L"DimensionStyles", styles);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/*"))) {
            auto style = std::make_unique<KVSWX_DimensionStyle>();
            style->GetImpl()->ReadFromNode(doc, node);
            styles.push_back(std::move(style));
        }
    }
};

KVSWX_DimensionStylesCollection::KVSWX_DimensionStylesCollection()
    : d_(std::make_unique<KVSWX_DimensionStylesCollectionImpl>()) {}
KVSWX_DimensionStylesCollection::~KVSWX_DimensionStylesCollection() = default;
I_Serializable* KVSWX_DimensionStylesCollection::GetImpl() const { return d_.get(); }
const std::vector<std::unique_ptr<KVSWX_DimensionStyle>>&
KVSWX_DimensionStylesCollection::GetStyles() const {
    return d_->styles;
}

}  // namespace kvswx
