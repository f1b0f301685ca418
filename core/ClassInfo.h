#pragma once
// Published-property tables: every class that a project may name declares its
// properties once, here-shaped, and the stream reader, the project tool and the
// tests all work from these tables.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace orb {

class Persistent;
class Component;

// An enumeration as the project spells it; a set property uses one as its element type.
struct EnumType {
    std::string name;
    std::vector<std::string> names;
    std::optional<int> indexOf(std::string_view ident) const;
};

// Identifiers an integer property also accepts (colour, cursor, character-set names).
struct IdentMap {
    std::string name;
    std::vector<std::pair<std::string, int32_t>> entries;
    std::optional<int32_t> find(std::string_view ident) const;
    std::optional<std::string> nameOf(int32_t value) const;
};

enum class PropKind { Integer, Int64, Enum, Bool, Set, Float, AnsiString, WideString, Object, ComponentRef, Event };

// What a property getter gives and a setter takes: ordinals (integers, enumerations,
// Booleans, sets as bit masks), floats, 8-bit and wide strings, component pointers.
// Events carry the handler's name as an 8-bit string.
using Scalar = std::variant<std::monostate, int64_t, double, std::string, std::wstring, Component*>;

struct ClassInfo;

struct PropInfo {
    std::string name;
    PropKind kind = PropKind::Integer;
    const EnumType* enumType = nullptr;     // Enum, Bool, Set (element type)
    const IdentMap* idents = nullptr;       // Integer
    const ClassInfo* objectClass = nullptr;  // Object, ComponentRef: the declared class
    std::function<Scalar(const Persistent&)> get;
    std::function<void(Persistent&, const Scalar&)> set;  // empty: read-only
    std::function<Persistent*(Persistent&)> object;        // Object: the owned object
    Scalar defaultValue;
};

const EnumType& booleanType();

using ComponentFactory = std::function<std::unique_ptr<Component>(Component* owner)>;

struct ClassInfo {
    std::string name;
    const ClassInfo* parent = nullptr;
    std::vector<PropInfo> properties;  // this class's own; findProperty walks the parents
    ComponentFactory create;           // empty for classes a stream cannot instantiate

    const PropInfo* findProperty(std::string_view name) const;
    bool inheritsFrom(const ClassInfo& other) const;
    std::vector<const PropInfo*> allProperties() const;  // parents' first
};

namespace detail {

template <class T>
Scalar toScalar(const T& v) {
    if constexpr (std::is_same_v<T, bool>) return Scalar(static_cast<int64_t>(v ? 1 : 0));
    else if constexpr (std::is_enum_v<T>) return Scalar(static_cast<int64_t>(v));
    else if constexpr (std::is_integral_v<T>) return Scalar(static_cast<int64_t>(v));
    else if constexpr (std::is_floating_point_v<T>) return Scalar(static_cast<double>(v));
    else if constexpr (std::is_pointer_v<T>) return Scalar(static_cast<Component*>(v));
    else return Scalar(v);
}

template <class T>
T fromScalar(const Scalar& s) {
    if constexpr (std::is_same_v<T, bool>) return std::get<int64_t>(s) != 0;
    else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) return static_cast<T>(std::get<int64_t>(s));
    else if constexpr (std::is_floating_point_v<T>) return static_cast<T>(std::get<double>(s));
    else if constexpr (std::is_pointer_v<T>) return static_cast<T>(std::get<Component*>(s));
    else return std::get<T>(s);
}

}  // namespace detail

// Builds a class's table from member pointers: a field, or a getter and a setter
// where setting has effects (clamping, repainting).
template <class C>
class ClassBuilder {
public:
    ClassBuilder(std::string name, const ClassInfo* parent) {
        info_.name = std::move(name);
        info_.parent = parent;
    }

    template <class T>
    ClassBuilder& field(const char* name, PropKind kind, T C::*member, T def = T{}) {
        PropInfo p = base(name, kind, detail::toScalar(def));
        p.get = [member](const Persistent& o) { return detail::toScalar(static_cast<const C&>(o).*member); };
        p.set = [member](Persistent& o, const Scalar& v) { static_cast<C&>(o).*member = detail::fromScalar<T>(v); };
        return add(std::move(p));
    }

    template <class T, class Arg>
    ClassBuilder& accessor(const char* name, PropKind kind, T (C::*getter)() const, void (C::*setter)(Arg),
                           std::remove_cvref_t<T> def = {}) {
        using V = std::remove_cvref_t<T>;
        PropInfo p = base(name, kind, detail::toScalar(def));
        p.get = [getter](const Persistent& o) { return detail::toScalar((static_cast<const C&>(o).*getter)()); };
        if (setter)
            p.set = [setter](Persistent& o, const Scalar& v) { (static_cast<C&>(o).*setter)(detail::fromScalar<V>(v)); };
        return add(std::move(p));
    }

    // Type-qualified shorthands.
    ClassBuilder& integer(const char* name, int32_t C::*m, int32_t def = 0, const IdentMap* ids = nullptr) {
        field(name, PropKind::Integer, m, def);
        info_.properties.back().idents = ids;
        return *this;
    }
    ClassBuilder& boolean(const char* name, bool C::*m, bool def = false);
    ClassBuilder& wide(const char* name, std::wstring C::*m) { return field(name, PropKind::WideString, m); }
    ClassBuilder& ansi(const char* name, std::string C::*m) { return field(name, PropKind::AnsiString, m); }
    template <class E>
    ClassBuilder& enumeration(const char* name, E C::*m, const EnumType& type, E def = E{}) {
        field(name, PropKind::Enum, m, def);
        info_.properties.back().enumType = &type;
        return *this;
    }
    ClassBuilder& set(const char* name, uint32_t C::*m, const EnumType& element, uint32_t def = 0) {
        field(name, PropKind::Set, m, def);
        info_.properties.back().enumType = &element;
        return *this;
    }
    ClassBuilder& event(const char* name, std::string C::*m) { return field(name, PropKind::Event, m); }

    // An owned object (font, picture, string list, media value, nested object).
    template <class O>
    ClassBuilder& object(const char* name, O C::*member, const ClassInfo& objectClass) {
        PropInfo p = base(name, PropKind::Object, {});
        p.objectClass = &objectClass;
        p.object = [member](Persistent& o) -> Persistent* { return &(static_cast<C&>(o).*member); };
        return add(std::move(p));
    }
    template <class O>
    ClassBuilder& objectPtr(const char* name, std::unique_ptr<O> C::*member, const ClassInfo& objectClass) {
        PropInfo p = base(name, PropKind::Object, {});
        p.objectClass = &objectClass;
        p.object = [member](Persistent& o) -> Persistent* { return (static_cast<C&>(o).*member).get(); };
        return add(std::move(p));
    }

    // Refines the property added last.
    ClassBuilder& withIdents(const IdentMap& ids) {
        info_.properties.back().idents = &ids;
        return *this;
    }
    ClassBuilder& withEnum(const EnumType& type) {
        info_.properties.back().enumType = &type;
        return *this;
    }

    ClassBuilder& factory(ComponentFactory f) {
        info_.create = std::move(f);
        return *this;
    }

    ClassInfo build() { return std::move(info_); }

private:
    PropInfo base(const char* name, PropKind kind, Scalar def) {
        PropInfo p;
        p.name = name;
        p.kind = kind;
        p.defaultValue = std::move(def);
        if (kind == PropKind::Bool) p.enumType = &booleanType();
        return p;
    }
    ClassBuilder& add(PropInfo p) {
        info_.properties.push_back(std::move(p));
        return *this;
    }
    ClassInfo info_;
};

template <class C>
ClassBuilder<C>& ClassBuilder<C>::boolean(const char* name, bool C::*m, bool def) {
    return field(name, PropKind::Bool, m, def);
}

}  // namespace orb
