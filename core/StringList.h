#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/Component.h"

namespace orb {

// Lines of wide text; read from "Strings" (or its legacy companion names).
class WideStringList final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    std::vector<std::wstring> lines;
    std::function<void()> onChange;

    std::wstring text() const;  // lines joined by CR LF, each ended by one
    void setText(std::wstring_view text);
    size_t count() const { return lines.size(); }
};

// The 8-bit list the framework's own components publish.
class AnsiStringList final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    std::vector<std::string> lines;
};

std::vector<std::wstring> splitLines(std::wstring_view text);
std::wstring decodeUtf7(std::string_view utf7);

}  // namespace orb
