// A process-wide table from ProgID to a factory of application objects: the
// stand-in for the system's class registration. A host that can provide the
// drawing application registers a factory under kSourceApplicationProgId;
// with nothing registered the application is not reachable.
#pragma once

#include <functional>
#include <string>

#include "source/source.h"

namespace kvswx {

// Makes the application object; may return none (the class object could
// not be had) or throw ComError.
using ApplicationFactory = std::function<Ref<SourceApplication>()>;

class ClassRegistry {
public:
    // Registers (or replaces) the factory for progId.
    static void Register(const std::wstring& progId, ApplicationFactory factory);
    static void Unregister(const std::wstring& progId);
    // The factory registered for progId; an empty function when none is.
    static ApplicationFactory Lookup(const std::wstring& progId);
};

// Keeps a registration for the lifetime of a scope, then restores whatever
// was registered before.
class ScopedClassRegistration {
public:
    ScopedClassRegistration(std::wstring progId, ApplicationFactory factory);
    ~ScopedClassRegistration();
    ScopedClassRegistration(const ScopedClassRegistration&) = delete;
    ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;

private:
    std::wstring progId_;
    ApplicationFactory previous_;
};

}  // namespace kvswx
