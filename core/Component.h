#pragma once
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ClassInfo.h"
#include "core/Value.h"

namespace orb {

// Anything with published properties: components and the objects they own.
class Persistent {
public:
    virtual ~Persistent() = default;
    Persistent() = default;
    Persistent(const Persistent&) = delete;
    Persistent& operator=(const Persistent&) = delete;

    virtual const ClassInfo& classInfo() const = 0;
    // Names the object reads itself that are not published properties ("Data",
    // "Strings"...). Answers false when the name is not one of them.
    virtual bool readDefinedProperty(std::string_view name, const Value& value);
    static const ClassInfo& staticClass();
};

// An owned list of items reached through a collection value.
class Collection : public Persistent {
public:
    virtual void clear() = 0;
    virtual Persistent& addItem() = 0;
};

// A named component with an owner; the owner destroys what it owns.
class Component : public Persistent {
public:
    explicit Component(Component* owner = nullptr) : owner_(owner) {}
    ~Component() override;

    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

    Component* owner() const { return owner_; }
    const std::string& name() const { return name_; }
    void setName(const std::string& name);  // checks validity and uniqueness within the owner

    // Owned components, in the order they were inserted.
    const std::vector<std::unique_ptr<Component>>& components() const { return components_; }
    Component& insertComponent(std::unique_ptr<Component> component);
    void destroyComponent(Component* component);
    Component* findComponent(std::string_view name) const;

    // The handler names a stream may bind events to (the main window's published methods).
    virtual const std::vector<std::string>& publishedMethods() const;

    bool loading() const { return loading_; }
    void setLoading(bool v) { loading_ = v; }
    // Called once after the whole stream has been read.
    virtual void loaded() { loading_ = false; }

    bool readDefinedProperty(std::string_view name, const Value& value) override;

private:
    Component* owner_;
    std::string name_;
    std::vector<std::unique_ptr<Component>> components_;
    // Owned components by upper-cased name: a project may hold thousands, and
    // every name read is checked for uniqueness.
    std::unordered_map<std::string, Component*> byName_;
    bool loading_ = false;
};

bool isValidIdent(std::string_view name);

// Classes a stream may instantiate, by exact name.
class ClassRegistry {
public:
    void add(const ClassInfo& info);
    const ClassInfo* find(std::string_view name) const;
    std::vector<const ClassInfo*> all() const;

private:
    std::map<std::string, const ClassInfo*, std::less<>> classes_;
};

}  // namespace orb
