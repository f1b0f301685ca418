#include "core/ClassInfo.h"

#include "core/Text.h"

namespace orb {

std::optional<int> EnumType::indexOf(std::string_view ident) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (equalsIgnoreCaseAscii(names[i], ident)) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int32_t> IdentMap::find(std::string_view ident) const {
    for (const auto& [name, value] : entries)
        if (equalsIgnoreCaseAscii(name, ident)) return value;
    return std::nullopt;
}

std::optional<std::string> IdentMap::nameOf(int32_t value) const {
    for (const auto& [name, v] : entries)
        if (v == value) return name;
    return std::nullopt;
}

const PropInfo* ClassInfo::findProperty(std::string_view name) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const auto& p : c->properties)
            if (equalsIgnoreCaseAscii(p.name, name)) return &p;
    return nullptr;
}

bool ClassInfo::inheritsFrom(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

std::vector<const PropInfo*> ClassInfo::allProperties() const {
    std::vector<const PropInfo*> out;
    if (parent) out = parent->allProperties();
    for (const auto& p : properties) out.push_back(&p);
    return out;
}

const EnumType& booleanType() {
    static const EnumType t{"Boolean", {"False", "True"}};
    return t;
}

}  // namespace orb
