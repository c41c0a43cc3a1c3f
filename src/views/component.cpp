#include "views/component.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

struct BodyValues {
    static constexpr const wchar_t* kElement = L"BodyComponent";
    std::wstring name;
    bool visible = false;
};
struct AssemblyValues {
    static constexpr const wchar_t* kElement = L"AssemblyComponent";
    std::wstring name;
    std::wstring referencedConfiguration;
    bool visible = false;
};
struct ExcludedValues {
    static constexpr const wchar_t* kElement = L"ExcludedComponent";
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

// A component record: its element (Values::kElement) with its name as
// attribute "Name", its fields, then what the record adds (WriteMore).
template <class Values, const auto& Fields>
class ComponentImplOf : public NodeSerializable {
public:
    Values v;

    void Write(XmlDocument& doc, XmlNode list) final {
        AttributeMap attributes;
        attributes.emplace(L"Name", v.name);
        XmlNode element = CreateChildElement(doc, list, Values::kElement, {}, attributes);
        WriteFields(doc, element, v, Fields);
        WriteMore(doc, element);
        CloseElement(doc, element);
    }

    // An element without children keeps its name empty: a written record
    // always has at least one child.
    void ReadFromNode(XmlDocument& doc, XmlNode element) final {
        if (element.HasChildNodes()) v.name = GetAttributeValue(element, L"Name");
        ReadFieldChildren(v, Fields, element);
        ReadMore(doc, element);
    }

protected:
    virtual void WriteMore(XmlDocument&, XmlNode) {}
    virtual void ReadMore(XmlDocument&, XmlNode) {}
};

}  // namespace

class KVSWX_BodyComponentImpl final : public ComponentImplOf<BodyValues, kBodyFields> {};
class KVSWX_ExcludedComponentImpl final : public ComponentImplOf<ExcludedValues, kExcludedFields> {
};

class KVSWX_AssemblyComponentImpl final : public ComponentImplOf<AssemblyValues, kAssemblyFields> {
public:
    std::vector<std::unique_ptr<KVSWX_BodyComponent>> bodies;

    ~KVSWX_AssemblyComponentImpl() override {
        for (auto& body : bodies) body.reset();  // first to last
    }

private:
    void WriteMore(XmlDocument& doc, XmlNode element) override {
        WriteCollection(doc, element, L"BodyComponents", bodies);
    }

    // Every child of "BodyComponents" becomes a body component, whatever its
    // element name; the list is extended, not replaced.
    void ReadMore(XmlDocument& doc, XmlNode element) override {
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

#define KVSWX_COMPONENT_HANDLE(Name)                                             \
    KVSWX_##Name::KVSWX_##Name() : d_(std::make_unique<KVSWX_##Name##Impl>()) {} \
    KVSWX_##Name::~KVSWX_##Name() = default;                                     \
    I_Serializable* KVSWX_##Name::GetImpl() const { return d_.get(); }           \
    const std::wstring& KVSWX_##Name::GetName() const { return d_->v.name; }     \
    void KVSWX_##Name::SetName(const std::wstring& v) { d_->v.name = v; }

KVSWX_COMPONENT_HANDLE(BodyComponent)
KVSWX_COMPONENT_HANDLE(AssemblyComponent)
KVSWX_COMPONENT_HANDLE(ExcludedComponent)

#undef KVSWX_COMPONENT_HANDLE

bool KVSWX_BodyComponent::GetVisible() const { return d_->v.visible; }
void KVSWX_BodyComponent::SetVisible(bool v) { d_->v.visible = v; }

const std::wstring& KVSWX_AssemblyComponent::GetReferencedConfiguration() const {
    return d_->v.referencedConfiguration;
}
bool KVSWX_AssemblyComponent::GetVisible() const { return d_->v.visible; }
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

const std::wstring& KVSWX_ExcludedComponent::GetReferencedConfiguration() const {
    return d_->v.referencedConfiguration;
}
void KVSWX_ExcludedComponent::SetReferencedConfiguration(const std::wstring& v) {
    d_->v.referencedConfiguration = v;
}

}  // namespace kvswx
