#include "source/class_registry.h"

#include <map>
#include <utility>

namespace kvswx {

namespace {

std::map<std::wstring, ApplicationFactory>& Table() {
    static std::map<std::wstring, ApplicationFactory> table;
    return table;
}

}  // namespace

void ClassRegistry::Register(const std::wstring& progId, ApplicationFactory factory) {
    if (!factory) {
        Unregister(progId);
        return;
    }
    Table()[progId] = std::move(factory);
}

void ClassRegistry::Unregister(const std::wstring& progId) { Table().erase(progId); }

ApplicationFactory ClassRegistry::Lookup(const std::wstring& progId) {
    const auto& table = Table();
    const auto it = table.find(progId);
    return it == table.end() ? ApplicationFactory{} : it->second;
}

ScopedClassRegistration::ScopedClassRegistration(std::wstring progId, ApplicationFactory factory)
    : progId_(std::move(progId)), previous_(ClassRegistry::Lookup(progId_)) {
    ClassRegistry::Register(progId_, std::move(factory));
}

ScopedClassRegistration::~ScopedClassRegistration() {
    ClassRegistry::Register(progId_, std::move(previous_));
}

}  // namespace kvswx
