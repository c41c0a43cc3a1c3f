#include "views/component.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

struct BodyValues {
    std::wstring name;
    bool visible = false;
};
struct AssemblyValues {
    std::wstring name;
    std::wstring referencedConfiguration;
    bool visible = false;
};
struct ExcludedValues {
    std::wstring name;
    std::wstring referencedConfiguration;
};

// The children of each element, in written order ("Visible" goes before
// "ReferencedConfiguration"; this element name is spelled correctly).
const auto kBodyFields = std::make_tuple(Field(L"Visible", &BodyValues::visible, kBool));
const auto kAssemblyFields = std::make_tuple(
    Field(L"Visible", &AssemblyValues::visible, kBool),
    Field(L"ReferencedConfiguration", &AssemblyValues::referencedConfiguration, kText));
const auto kExcludedFields = std::make_tuple(
    Field(L"ReferencedConfiguration", &ExcludedValues::referencedConfiguration, kText));

// The record's element with its name as attribute "Name".
XmlNode CreateNamedElement(XmlDocument& doc, XmlNode list, std::wstring_view element,
                           const std::wstring& name) {
    AttributeMap attributes;
    attributes.emplace(L"Name", name);
    return CreateChildElement(doc, list, element, {}, attributes);
}

// An element without children keeps its name empty: a written record always
// has at least one child.
template <class Values, class Fields>
void ReadNamedFields(Values& v, const Fields& fields, XmlNode element) {
    if (element.HasChildNodes()) v.name = GetAttributeValue(element, L"Name");
    ReadFieldChildren(v, fields, element);
}

}  // namespace

class KVSWX_BodyComponentImpl final : public NodeSerializable {
public:
    BodyValues v;

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateNamedElement(doc, list, L"BodyComponent", v.name);
        WriteFields(doc, element, v, kBodyFields);
        CloseElement(doc, element);
    }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadNamedFields(v, kBodyFields, element);
    }
};

class KVSWX_AssemblyComponentImpl final : public NodeSerializable {
public:
    AssemblyValues v;
    std::vector<std::unique_ptr<KVSWX_BodyComponent>> bodies;

    ~KVSWX_AssemblyComponentImpl() override {
        for (auto& body : bodies) body.reset();  // first to last
    }

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateNamedElement(doc, list, L"AssemblyComponent", v.name);
        WriteFields(doc, element, v, kAssemblyFields);
        WriteCollection(doc, element, L"BodyComponents", bodies);
        CloseElement(doc, element);
    }

    // Every child of "BodyComponents" becomes a body component, whatever its
    // element name; the list is extended, not replaced.
    void ReadFromNode(XmlDocument& doc, XmlNode element) override {
        ReadNamedFields(v, kAssemblyFields, element);
        for (const XmlNode& child : element.ChildNodes()) {
            if (!child.IsElement() || child.Name() != L"BodyComponents") continue;
            for (const XmlNode& item : child.ChildNodes()) {
                if (!item.IsElement()) continue;
                auto body = std::make_unique<KVSWX_BodyComponent>();
                body->GetImpl()->ReadFromNode(doc, item);
                bodies.push_back(std::move(body));
            }
        }
    }
};

class KVSWX_ExcludedComponentImpl final : public NodeSerializable {
public:
    ExcludedValues v;

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateNamedElement(doc, list, L"ExcludedComponent", v.name);
        WriteFields(doc, element, v, kExcludedFields);
        CloseElement(doc, element);
    }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadNamedFields(v, kExcludedFields, element);
    }
};

KVSWX_BodyComponent::KVSWX_BodyComponent() : d_(std::make_unique<KVSWX_BodyComponentImpl>()) {}
KVSWX_BodyComponent::~KVSWX_BodyComponent() = default;
I_Serializable* KVSWX_BodyComponent::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_BodyComponent::GetName() const { return d_->v.name; }
bool KVSWX_BodyComponent::GetVisible() const { return d_->v.visible; }
void KVSWX_BodyComponent::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_BodyComponent::SetVisible(bool v) { d_->v.visible = v; }

KVSWX_AssemblyComponent::KVSWX_AssemblyComponent()
    : d_(std::make_unique<KVSWX_AssemblyComponentImpl>()) {}
KVSWX_AssemblyComponent::~KVSWX_AssemblyComponent() = default;
I_Serializable* KVSWX_AssemblyComponent::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_AssemblyComponent::GetName() const { return d_->v.name; }
const std::wstring& KVSWX_AssemblyComponent::GetReferencedConfiguration() const {
    return d_->v.referencedConfiguration;
}
bool KVSWX_AssemblyComponent::GetVisible() const { return d_->v.visible; }
void KVSWX_AssemblyComponent::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_AssemblyComponent::SetReferencedConfiguration(const std::wstring& v) {
    d_->v.referencedConfiguration = v;
}
void KVSWX_AssemblyComponent::SetVisible(bool v) { d_->v.visible = v; }
KVSWX_BodyComponent* KVSWX_AssemblyComponent::AddBodyComponent() {
    return d_->bodies.emplace_back(std::make_unique<KVSWX_BodyComponent>()).get();
}
const std::vector<std::unique_ptr<KVSWX_BodyComponent>>&
KVSWX_AssemblyComponent::GetBodyComponents() const {
    return d_->bodies;
}

KVSWX_ExcludedComponent::KVSWX_ExcludedComponent()
    : d_(std::make_unique<KVSWX_ExcludedComponentImpl>()) {}
KVSWX_ExcludedComponent::~KVSWX_ExcludedComponent() = default;
I_Serializable* KVSWX_ExcludedComponent::GetImpl() const { return d_.get(); }
const std::wstring& KVSWX_ExcludedComponent::GetName() const { return d_->v.name; }
const std::wstring& KVSWX_ExcludedComponent::GetReferencedConfiguration() const {
    return d_->v.referencedConfiguration;
}
void KVSWX_ExcludedComponent::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_ExcludedComponent::SetReferencedConfiguration(const std::wstring& v) {
    d_->v.referencedConfiguration = v;
}

}  // namespace kvswx
