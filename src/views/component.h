// Component records of a view: which bodies and assembly components it
// shows, and which components a section leaves out. Each record writes its
// own element ("BodyComponent", "AssemblyComponent", "ExcludedComponent")
// with its name as attribute "Name" (left out when empty) under the wrapper
// element the base view (or, for bodies of an assembly component, the
// assembly component) writes, and reads itself back from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/serializable.h"

namespace kvswx {

class KVSWX_BodyComponentImpl;
class KVSWX_AssemblyComponentImpl;
class KVSWX_ExcludedComponentImpl;

class KVSWX_BodyComponent {
public:
    KVSWX_BodyComponent();
    virtual ~KVSWX_BodyComponent();
    KVSWX_BodyComponent(const KVSWX_BodyComponent&) = delete;
    KVSWX_BodyComponent& operator=(const KVSWX_BodyComponent&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    bool GetVisible() const;
    void SetName(const std::wstring& v);
    void SetVisible(bool v);

private:
    std::unique_ptr<KVSWX_BodyComponentImpl> d_;
};

class KVSWX_AssemblyComponent {
public:
    KVSWX_AssemblyComponent();
    virtual ~KVSWX_AssemblyComponent();
    KVSWX_AssemblyComponent(const KVSWX_AssemblyComponent&) = delete;
    KVSWX_AssemblyComponent& operator=(const KVSWX_AssemblyComponent&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    const std::wstring& GetReferencedConfiguration() const;
    bool GetVisible() const;
    void SetName(const std::wstring& v);
    void SetReferencedConfiguration(const std::wstring& v);
    void SetVisible(bool v);
    // Appends a new default body component and returns it for the caller to
    // fill.
    KVSWX_BodyComponent* AddBodyComponent();
    const std::vector<std::unique_ptr<KVSWX_BodyComponent>>& GetBodyComponents() const;

private:
    std::unique_ptr<KVSWX_AssemblyComponentImpl> d_;
};

class KVSWX_ExcludedComponent {
public:
    KVSWX_ExcludedComponent();
    virtual ~KVSWX_ExcludedComponent();
    KVSWX_ExcludedComponent(const KVSWX_ExcludedComponent&) = delete;
    KVSWX_ExcludedComponent& operator=(const KVSWX_ExcludedComponent&) = delete;

    I_Serializable* GetImpl() const;
    const std::wstring& GetName() const;
    const std::wstring& GetReferencedConfiguration() const;
    void SetName(const std::wstring& v);
    void SetReferencedConfiguration(const std::wstring& v);

private:
    std::unique_ptr<KVSWX_ExcludedComponentImpl> d_;
};

}  // namespace kvswx
