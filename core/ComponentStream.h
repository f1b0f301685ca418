#pragma once
// The binary component stream ("TPF0"): parsing into events, writing, and the
// object tree that the text form and the tools work on.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "core/Value.h"

namespace orb {

inline constexpr uint8_t kFilerInherited = 1;
inline constexpr uint8_t kFilerChildPos = 2;
inline constexpr uint8_t kFilerInline = 4;

struct ComponentHeader {
    uint8_t flags = 0;
    std::optional<Value> childPos;  // an integer value, present with kFilerChildPos
    std::string className;
    std::string name;
    int line = 0;
};

// What a parse hands over, in stream order.
class ComponentStreamHandler {
public:
    virtual ~ComponentStreamHandler() = default;
    virtual void beginComponent(const ComponentHeader& header) = 0;
    virtual void property(NamedValue&& property) = 0;
    virtual void endProperties() {}
    virtual void endComponent() = 0;
};

// Reads one component stream through a 4096-byte buffer. When done, the
// underlying stream stands exactly after the last byte consumed, so whatever
// follows (a client size) can be read; a stream that cannot step back fails then.
class ComponentStreamParser {
public:
    explicit ComponentStreamParser(Stream& stream) : stream_(stream) {}
    void parse(ComponentStreamHandler& handler);  // "TPF0" and the root

private:
    void parseComponent(ComponentStreamHandler& handler, int depth);
    uint8_t readByte();
    void readBytes(void* buffer, size_t count);
    std::string readBlob(uint64_t count);
    std::string readShortString();
    Value readValue(int depth);
    Value readValueWithTag(ValueTag tag, int depth);
    std::vector<NamedValue> readPropertyList(int depth);
    uint8_t peekByte();
    void restorePosition();

    Stream& stream_;
    uint8_t buffer_[4096];
    size_t bufPos_ = 0;
    size_t bufLen_ = 0;
};

// The whole stream as a tree, for the text form and the project tool.
struct ObjectNode {
    ComponentHeader header;
    std::vector<NamedValue> properties;
    std::vector<ObjectNode> children;
    int endLine = 0;
};

ObjectNode parseObjectTree(Stream& stream);
void writeObjectTree(Stream& stream, const ObjectNode& root);  // with "TPF0"
std::vector<uint8_t> objectTreeToBytes(const ObjectNode& root);

// Replays a tree to a handler, as if it were being parsed.
void replayObjectTree(const ObjectNode& root, ComponentStreamHandler& handler);

// Writing single values, for the tools and the tests.
void writeValue(Stream& stream, const Value& value);
void writeShortString(Stream& stream, const std::string& text);

inline constexpr int kMaxNesting = 64;  // components or values inside each other

}  // namespace orb
