#pragma once
// Reads a component stream into an existing root: creates children by class
// name, sets published properties by name, resolves references and sends the
// loaded notifications. Any fault stops the read with a ReadError.
#include <string>
#include <vector>

#include "core/ComponentStream.h"
#include "core/Component.h"

namespace orb {

class ComponentReader final : public ComponentStreamHandler {
public:
    ComponentReader(Component& root, const ClassRegistry& registry) : root_(root), registry_(registry) {}

    void beginComponent(const ComponentHeader& header) override;
    void property(NamedValue&& property) override;
    void endComponent() override;

    // After the stream: references, then loaded notifications in reading order.
    void finish();
    // Destroys the component whose reading failed; the root stays as far as it got.
    void abandon();
    // "Error reading Name.Prop: message", for a failure wherever it happened.
    std::string describe(const std::string& message) const;

private:
    struct Frame {
        Component* component;
        bool created;
    };
    struct Fixup {
        Persistent* object;
        const PropInfo* prop;
        std::string target;
    };
    void bind(Persistent& object, const PropInfo& prop, const Value& value);

    Component& root_;
    const ClassRegistry& registry_;
    std::vector<Frame> stack_;
    std::vector<Component*> loaded_;
    std::vector<Fixup> fixups_;
    std::string currentProperty_;
};

// The whole read of one stream into root; throws ReadError (already described).
void readComponentStream(Stream& stream, Component& root, const ClassRegistry& registry);

// Binds one property path on an object, as the reader does; for tests and tools.
void setPropertyPath(Persistent& object, std::string_view path, const Value& value, const Component* root);

}  // namespace orb
