#include "core/ComponentReader.h"

#include <algorithm>

#include "core/Control.h"
#include "core/Errors.h"
#include "core/StringList.h"

namespace orb {

namespace {

class DescribedError : public ReadError {
public:
    using ReadError::ReadError;
};

int64_t integerOf(const Value& v, const PropInfo& prop) {
    if (v.tag == ValueTag::Int8 || v.tag == ValueTag::Int16 || v.tag == ValueTag::Int32) return v.integer;
    // A cardinal above the signed range, as the text form writes it.
    if (v.tag == ValueTag::Int64 && v.integer >= 0 && v.integer <= UINT32_MAX) return v.integer;
    if (v.tag == ValueTag::Ident && prop.idents)
        if (auto n = prop.idents->find(v.bytes)) return *n;
    throw ReadError(kInvalidPropertyValue);
}

Scalar convert(const Value& v, const PropInfo& prop, const Component* root) {
    switch (prop.kind) {
        case PropKind::Integer: return static_cast<int64_t>(static_cast<int32_t>(integerOf(v, prop)));
        case PropKind::Int64:
            if (v.isInteger()) return v.integer;
            throw ReadError(kInvalidPropertyValue);
        case PropKind::Bool:
            if (v.tag == ValueTag::True) return int64_t{1};
            if (v.tag == ValueTag::False) return int64_t{0};
            [[fallthrough]];
        case PropKind::Enum:
            if (v.tag == ValueTag::Ident && prop.enumType)
                if (auto n = prop.enumType->indexOf(v.bytes)) return static_cast<int64_t>(*n);
            throw ReadError(kInvalidPropertyValue);
        case PropKind::Set: {
            if (v.tag != ValueTag::Set) throw ReadError(kInvalidPropertyValue);
            int64_t bits = 0;
            for (const auto& ident : v.set)
                if (auto n = prop.enumType->indexOf(ident); n && *n < 32) bits |= int64_t{1} << *n;
            return bits;
        }
        case PropKind::Float:
            if (v.tag == ValueTag::Extended || v.tag == ValueTag::Single || v.tag == ValueTag::Date) return v.real;
            if (v.tag == ValueTag::Currency) return static_cast<double>(v.integer) / 10000.0;
            if (v.isInteger()) return static_cast<double>(v.integer);
            throw ReadError(kInvalidPropertyValue);
        case PropKind::AnsiString:
            if (v.isString()) return v.asAnsi();
            throw ReadError(kInvalidPropertyValue);
        case PropKind::WideString:
            if (v.isString()) return v.asWide();
            throw ReadError(kInvalidPropertyValue);
        case PropKind::Event: {
            if (v.tag == ValueTag::Nil) return std::string();
            if (v.tag != ValueTag::Ident) throw ReadError(kInvalidPropertyValue);
            const auto& methods = root ? root->publishedMethods() : std::vector<std::string>{};
            if (std::find(methods.begin(), methods.end(), v.bytes) == methods.end())
                throw ReadError(kInvalidPropertyValue);
            return v.bytes;
        }
        case PropKind::ComponentRef:
        case PropKind::Object: break;
    }
    throw ReadError(kInvalidPropertyValue);
}

// Legacy Unicode companions: "CaptionW", "Caption_UTF7" land in the wide "Caption".
bool bindCompanion(Persistent& object, std::string_view name, const Value& v, const Component* root) {
    std::string_view base;
    bool utf7 = false;
    if (name.size() > 5 && name.substr(name.size() - 5) == "_UTF7") {
        base = name.substr(0, name.size() - 5);
        utf7 = true;
    } else if (name.size() > 1 && name.back() == 'W') {
        base = name.substr(0, name.size() - 1);
    } else {
        return false;
    }
    const PropInfo* prop = object.classInfo().findProperty(base);
    if (!prop || prop->kind != PropKind::WideString || !prop->set) return false;
    if (!v.isString()) throw ReadError(kInvalidPropertyValue);
    prop->set(object, utf7 ? Scalar(decodeUtf7(v.asAnsi())) : convert(v, *prop, root));
    return true;
}

}  // namespace

void setPropertyPath(Persistent& object, std::string_view path, const Value& value, const Component* root) {
    Persistent* target = &object;
    size_t start = 0;
    for (;;) {
        size_t dot = path.find('.', start);
        std::string_view segment = path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (dot == std::string_view::npos) {
            const PropInfo* prop = target->classInfo().findProperty(segment);
            if (!prop) {
                if (target->readDefinedProperty(segment, value)) return;
                if (bindCompanion(*target, segment, value, root)) return;
                throw ReadError(formatMessage("Property %s does not exist", segment));
            }
            if (prop->kind == PropKind::Object) {
                Persistent* obj = prop->object ? prop->object(*target) : nullptr;
                auto* collection = dynamic_cast<Collection*>(obj);
                if (value.tag != ValueTag::Collection || !collection) throw ReadError(kInvalidPropertyValue);
                collection->clear();
                for (const auto& item : value.items) {
                    Persistent& element = collection->addItem();
                    for (const auto& p : item.properties) setPropertyPath(element, p.name, p.get(), root);
                }
                return;
            }
            if (!prop->set) throw ReadError(kPropertyReadOnly);
            prop->set(*target, convert(value, *prop, root));
            return;
        }
        const PropInfo* prop = target->classInfo().findProperty(segment);
        Persistent* next = prop && prop->kind == PropKind::Object && prop->object ? prop->object(*target) : nullptr;
        if (!next) throw ReadError(kInvalidPropertyPath);
        target = next;
        start = dot + 1;
    }
}

void ComponentReader::beginComponent(const ComponentHeader& h) {
    currentProperty_.clear();
    if (stack_.empty()) {
        // The root's own class name is not checked: the stream fills the window we have.
        root_.setLoading(true);
        root_.setName(h.name);
        stack_.push_back({&root_, false});
        return;
    }
    Component* parent = stack_.back().component;
    Component* component = nullptr;
    bool created = false;
    if (h.flags & kFilerInherited) {
        component = root_.findComponent(h.name);
        if (!component) throw ReadError("Ancestor for '" + h.name + "' not found");
    } else {
        const ClassInfo* info = registry_.find(h.className);
        if (!info || !info->create) throw ReadError(formatMessage("Class %s not found", h.className));
        component = &root_.insertComponent(info->create(&root_));
        created = true;
    }
    try {
        component->setName(h.name);
    } catch (...) {
        if (created) root_.destroyComponent(component);
        throw;
    }
    stack_.push_back({component, created});
    component->setLoading(true);
    if (auto* control = dynamic_cast<Control*>(component))
        if (auto* container = dynamic_cast<WinControl*>(parent)) control->setParent(container);
    if (h.childPos) {
        auto position = static_cast<size_t>(std::max<int64_t>(0, h.childPos->integer));
        auto* control = dynamic_cast<Control*>(component);
        if (control && control->parent()) control->parent()->moveControl(control, position);
    }
}

void ComponentReader::property(NamedValue&& p) {
    currentProperty_ = p.name;
    Component& component = *stack_.back().component;
    const Value& value = p.get();
    // References wait until every component of the stream exists.
    auto dot = p.name.rfind('.');
    if (dot == std::string::npos) {
        const PropInfo* prop = component.classInfo().findProperty(p.name);
        if (prop && prop->kind == PropKind::ComponentRef) {
            if (!prop->set) throw ReadError(kPropertyReadOnly);
            if (value.tag == ValueTag::Nil) prop->set(component, static_cast<Component*>(nullptr));
            else if (value.tag == ValueTag::Ident) fixups_.push_back({&component, prop, value.bytes});
            else throw ReadError(kInvalidPropertyValue);
            return;
        }
    }
    setPropertyPath(component, p.name, value, &root_);
}

void ComponentReader::endComponent() {
    currentProperty_.clear();
    Frame frame = stack_.back();
    stack_.pop_back();
    if (frame.component != &root_) loaded_.push_back(frame.component);
}

void ComponentReader::finish() {
    for (const auto& f : fixups_) {
        Component* target = root_.findComponent(f.target);
        if (!target && f.target == root_.name()) target = &root_;
        if (target && f.prop->objectClass && !target->classInfo().inheritsFrom(*f.prop->objectClass)) target = nullptr;
        f.prop->set(*f.object, target);
    }
    root_.loaded();
    for (Component* c : loaded_) c->loaded();
}

void ComponentReader::abandon() {
    while (!stack_.empty()) {
        Frame f = stack_.back();
        stack_.pop_back();
        if (f.created) root_.destroyComponent(f.component);
    }
}

std::string ComponentReader::describe(const std::string& message) const {
    std::string name = stack_.empty() ? root_.name() : stack_.back().component->name();
    return "Error reading " + name + (currentProperty_.empty() ? "" : ".") + currentProperty_ + ": " + message;
}

void readComponentStream(Stream& stream, Component& root, const ClassRegistry& registry) {
    ComponentReader reader(root, registry);
    try {
        ComponentStreamParser(stream).parse(reader);
        reader.finish();
    } catch (const DescribedError&) {
        throw;
    } catch (const std::bad_alloc&) {
        reader.abandon();
        throw ReadError(reader.describe("Out of memory"));
    } catch (const std::exception& e) {
        std::string message = reader.describe(e.what());
        reader.abandon();
        throw DescribedError(message);
    }
}

}  // namespace orb
