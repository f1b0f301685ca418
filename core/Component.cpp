#include "core/Component.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/Text.h"

namespace orb {

namespace {
std::string nameKey(std::string_view name) {
    std::string key(name);
    for (auto& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return key;
}
}  // namespace

bool Persistent::readDefinedProperty(std::string_view, const Value&) { return false; }

const ClassInfo& Persistent::staticClass() {
    static const ClassInfo info{"TPersistent", nullptr, {}, {}};
    return info;
}

const ClassInfo& Component::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<Component> b("TComponent", &Persistent::staticClass());
        b.accessor("Name", PropKind::AnsiString, &Component::name, &Component::setName);
        return b.build();
    }();
    return info;
}

Component::~Component() {
    // Last created goes first, as a stack of dependencies would.
    byName_.clear();
    while (!components_.empty()) components_.pop_back();
}

bool isValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void Component::setName(const std::string& name) {
    if (equalsIgnoreCaseAscii(name, name_) && name == name_) return;
    if (!name.empty() && !isValidIdent(name)) throw ReadError("''" + name + "'' is not a valid component name");
    if (owner_ && !name.empty()) {
        Component* other = owner_->findComponent(name);
        if (other && other != this) throw ReadError("A component named " + name + " already exists");
    }
    if (owner_) {
        auto& index = owner_->byName_;
        if (!name_.empty()) {
            auto it = index.find(nameKey(name_));
            if (it != index.end() && it->second == this) index.erase(it);
        }
        if (!name.empty()) index[nameKey(name)] = this;
    }
    name_ = name;
}

Component& Component::insertComponent(std::unique_ptr<Component> component) {
    components_.push_back(std::move(component));
    return *components_.back();
}

void Component::destroyComponent(Component* component) {
    auto it = std::find_if(components_.begin(), components_.end(), [&](auto& c) { return c.get() == component; });
    if (it == components_.end()) return;
    std::unique_ptr<Component> doomed = std::move(*it);
    components_.erase(it);
    auto named = byName_.find(nameKey(doomed->name()));
    if (named != byName_.end() && named->second == component) byName_.erase(named);
}

Component* Component::findComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    auto it = byName_.find(nameKey(name));
    return it == byName_.end() ? nullptr : it->second;
}

const std::vector<std::string>& Component::publishedMethods() const {
    static const std::vector<std::string> none;
    return none;
}

bool Component::readDefinedProperty(std::string_view name, const Value& value) {
    // Designer position of a non-visual component; meaningless at run time.
    if (name == "Left" || name == "Top") {
        if (!value.isInteger()) throw ReadError(kInvalidPropertyValue);
        return true;
    }
    return Persistent::readDefinedProperty(name, value);
}

void ClassRegistry::add(const ClassInfo& info) { classes_[info.name] = &info; }

const ClassInfo* ClassRegistry::find(std::string_view name) const {
    auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : it->second;
}

std::vector<const ClassInfo*> ClassRegistry::all() const {
    std::vector<const ClassInfo*> out;
    for (const auto& [name, info] : classes_) out.push_back(info);
    return out;
}

}  // namespace orb
