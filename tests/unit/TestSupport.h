#pragma once
// Small builders for component streams and a main window prepared the way
// start-up prepares it, shared by the native unit tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <ostream>
#include <string>
#include <vector>

#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "core/ComponentReader.h"
#include "core/ComponentStream.h"
#include "core/Errors.h"
#include "core/Stream.h"
#include "core/TextForm.h"

namespace orb {

// Readable values in failure messages: the text form already prints every tag.
inline void PrintTo(const Value& v, std::ostream* os) {
    ObjectNode holder;
    holder.header.className = "T";
    holder.properties.push_back(makeNamed("V", v));
    *os << "[tag " << static_cast<int>(v.tag) << "] " << objectTreeToText(holder);
}

}  // namespace orb

namespace orbtest {

using namespace orb;

inline Value tagged(ValueTag tag) {
    Value v;
    v.tag = tag;
    return v;
}
inline Value intOf(ValueTag tag, int64_t n) {
    Value v = tagged(tag);
    v.integer = n;
    return v;
}
inline Value realOf(ValueTag tag, double d) {
    Value v = tagged(tag);
    v.real = d;
    return v;
}
inline Value bytesOf(ValueTag tag, std::string bytes) {
    Value v = tagged(tag);
    v.bytes = std::move(bytes);
    return v;
}
inline Value str(std::string s) { return bytesOf(ValueTag::String, std::move(s)); }
inline Value lstr(std::string s) { return bytesOf(ValueTag::LString, std::move(s)); }
inline Value utf8(std::string s) { return bytesOf(ValueTag::Utf8String, std::move(s)); }
inline Value ident(std::string s) { return Value::ofIdent(std::move(s)); }
inline Value wstr(std::wstring s) { return Value::ofWide(std::move(s)); }
inline Value binary(std::string s) { return Value::ofBinary(std::move(s)); }
inline Value boolean(bool b) { return Value::ofBool(b); }
inline Value nil() { return tagged(ValueTag::Nil); }
inline Value setOf(std::vector<std::string> members) {
    Value v = tagged(ValueTag::Set);
    v.set = std::move(members);
    return v;
}
inline Value listOf(std::vector<Value> items) {
    Value v = tagged(ValueTag::List);
    v.list = std::move(items);
    return v;
}

inline NamedValue prop(std::string name, Value v) { return makeNamed(std::move(name), std::move(v)); }

inline CollectionItem item(std::vector<NamedValue> props, std::optional<Value> index = std::nullopt) {
    CollectionItem it;
    if (index) it.index.push_back(*index);
    it.properties = std::move(props);
    return it;
}
inline Value collectionOf(std::vector<CollectionItem> items) {
    Value v = tagged(ValueTag::Collection);
    v.items = std::move(items);
    return v;
}

inline ObjectNode object(std::string className, std::string name, std::vector<NamedValue> props = {},
                         std::vector<ObjectNode> children = {}) {
    ObjectNode n;
    n.header.className = std::move(className);
    n.header.name = std::move(name);
    n.properties = std::move(props);
    n.children = std::move(children);
    return n;
}
inline ObjectNode mainForm(std::vector<NamedValue> props, std::vector<ObjectNode> children = {}) {
    return object("TfrmMain", "frmMain", std::move(props), std::move(children));
}

inline std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}
inline std::string shortString(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
inline std::vector<uint8_t> bytesOfString(const std::string& s) { return {s.begin(), s.end()}; }
inline std::string stringOfBytes(const std::vector<uint8_t>& b) { return {b.begin(), b.end()}; }

// The registry start-up fills before reading a project.
inline const ClassRegistry& controlRegistry() {
    static const ClassRegistry registry = [] {
        ClassRegistry r;
        RegisterControlClasses(r);
        return r;
    }();
    return registry;
}

inline std::unique_ptr<TfrmMain> newMainWindow() { return std::make_unique<TfrmMain>(nullptr); }

inline void readInto(Component& root, const std::vector<uint8_t>& bytes,
                     const ClassRegistry& registry = controlRegistry()) {
    MemoryView view(bytes);
    readComponentStream(view, root, registry);
}
inline void readInto(Component& root, const ObjectNode& tree, const ClassRegistry& registry = controlRegistry()) {
    readInto(root, objectTreeToBytes(tree), registry);
}

// The message of the read's failure; empty when the read succeeds.
inline std::string readFailure(Component& root, const ObjectNode& tree,
                               const ClassRegistry& registry = controlRegistry()) {
    try {
        readInto(root, tree, registry);
    } catch (const ReadError& e) {
        return e.what();
    }
    return {};
}

// A published value, reached the way the reader reaches it (dotted path).
inline Scalar readBack(Persistent& object, std::string_view path) {
    Persistent* target = &object;
    for (;;) {
        size_t dot = path.find('.');
        const PropInfo* p = target->classInfo().findProperty(path.substr(0, dot));
        if (!p) throw std::logic_error("no property " + std::string(path));
        if (dot == std::string_view::npos) return p->get(*target);
        target = p->object(*target);
        path.remove_prefix(dot + 1);
    }
}

inline bool sameValue(const Value& a, const Value& b);

inline bool sameProperties(const std::vector<NamedValue>& a, const std::vector<NamedValue>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || !sameValue(a[i].get(), b[i].get())) return false;
    return true;
}

inline bool sameValue(const Value& a, const Value& b) {
    if (a.tag != b.tag || a.integer != b.integer || a.bytes != b.bytes || a.wide != b.wide || a.set != b.set)
        return false;
    if (std::memcmp(&a.real, &b.real, sizeof a.real) != 0) return false;
    if (a.list.size() != b.list.size() || a.items.size() != b.items.size()) return false;
    for (size_t i = 0; i < a.list.size(); ++i)
        if (!sameValue(a.list[i], b.list[i])) return false;
    for (size_t i = 0; i < a.items.size(); ++i) {
        const auto& x = a.items[i];
        const auto& y = b.items[i];
        if (x.index.size() != y.index.size()) return false;
        if (!x.index.empty() && !sameValue(x.index[0], y.index[0])) return false;
        if (!sameProperties(x.properties, y.properties)) return false;
    }
    return true;
}

}  // namespace orbtest
