#include "core/ComponentStream.h"

#include <algorithm>
#include <cstring>

#include "core/Errors.h"

namespace orb {

uint8_t ComponentStreamParser::readByte() {
    if (bufPos_ == bufLen_) {
        bufLen_ = stream_.read(buffer_, sizeof buffer_);
        bufPos_ = 0;
        if (bufLen_ == 0) throw StreamError(kStreamReadError);
    }
    return buffer_[bufPos_++];
}

uint8_t ComponentStreamParser::peekByte() {
    uint8_t b = readByte();
    --bufPos_;
    return b;
}

void ComponentStreamParser::readBytes(void* out, size_t count) {
    auto* dst = static_cast<uint8_t*>(out);
    while (count > 0) {
        if (bufPos_ == bufLen_) {
            // Large payloads bypass the buffer.
            if (count >= sizeof buffer_) {
                size_t n = stream_.read(dst, count);
                if (n == 0) throw StreamError(kStreamReadError);
                dst += n;
                count -= n;
                continue;
            }
            bufLen_ = stream_.read(buffer_, sizeof buffer_);
            bufPos_ = 0;
            if (bufLen_ == 0) throw StreamError(kStreamReadError);
        }
        size_t n = std::min(count, bufLen_ - bufPos_);
        std::memcpy(dst, buffer_ + bufPos_, n);
        bufPos_ += n;
        dst += n;
        count -= n;
    }
}

// A length field comes from untrusted bytes: grow only as far as data really
// arrives, so a claimed 4 GB in a small file ends in a read error, not an allocation.
std::string ComponentStreamParser::readBlob(uint64_t count) {
    std::string out;
    constexpr uint64_t kChunk = 1 << 20;
    while (count > 0) {
        size_t n = static_cast<size_t>(std::min(count, kChunk));
        size_t at = out.size();
        out.resize(at + n);
        readBytes(out.data() + at, n);
        count -= n;
    }
    return out;
}

std::string ComponentStreamParser::readShortString() {
    uint8_t len = readByte();
    std::string s(len, '\0');
    readBytes(s.data(), len);
    return s;
}

Value ComponentStreamParser::readValue(int depth) {
    uint8_t tag = readByte();
    if (tag > kLastValueTag) throw ReadError(kInvalidPropertyValue);
    return readValueWithTag(static_cast<ValueTag>(tag), depth);
}

namespace {
uint32_t le32(const uint8_t* b) { return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24); }
uint64_t le64(const uint8_t* b) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}
}  // namespace

Value ComponentStreamParser::readValueWithTag(ValueTag tag, int depth) {
    if (depth > kMaxNesting) throw ReadError(kInvalidStreamFormat);
    Value v;
    v.tag = tag;
    uint8_t b[10];
    switch (tag) {
        case ValueTag::Null:
        case ValueTag::False:
        case ValueTag::True:
        case ValueTag::Nil: break;
        case ValueTag::List:
            while (peekByte() != 0) v.list.push_back(readValue(depth + 1));
            readByte();
            break;
        case ValueTag::Int8: v.integer = static_cast<int8_t>(readByte()); break;
        case ValueTag::Int16:
            readBytes(b, 2);
            v.integer = static_cast<int16_t>(b[0] | (b[1] << 8));
            break;
        case ValueTag::Int32:
            readBytes(b, 4);
            v.integer = static_cast<int32_t>(le32(b));
            break;
        case ValueTag::Int64:
        case ValueTag::Currency:
            readBytes(b, 8);
            v.integer = static_cast<int64_t>(le64(b));
            break;
        case ValueTag::Extended:
            readBytes(b, 10);
            v.real = extendedToDouble(b);
            break;
        case ValueTag::Single: {
            readBytes(b, 4);
            uint32_t bits = le32(b);
            float f;
            std::memcpy(&f, &bits, 4);
            v.real = f;
            break;
        }
        case ValueTag::Date: {
            readBytes(b, 8);
            uint64_t bits = le64(b);
            std::memcpy(&v.real, &bits, 8);
            break;
        }
        case ValueTag::String:
        case ValueTag::Ident: v.bytes = readShortString(); break;
        case ValueTag::LString:
        case ValueTag::Utf8String:
        case ValueTag::Binary:
            readBytes(b, 4);
            v.bytes = readBlob(le32(b));
            break;
        case ValueTag::WString: {
            readBytes(b, 4);
            std::string raw = readBlob(2ull * le32(b));
            v.wide.resize(raw.size() / 2);
            for (size_t i = 0; i < v.wide.size(); ++i)
                v.wide[i] = static_cast<wchar_t>(static_cast<uint8_t>(raw[2 * i]) | (static_cast<uint8_t>(raw[2 * i + 1]) << 8));
            break;
        }
        case ValueTag::Set:
            for (;;) {
                std::string ident = readShortString();
                if (ident.empty()) break;
                v.set.push_back(std::move(ident));
            }
            break;
        case ValueTag::Collection:
            while (peekByte() != 0) {
                CollectionItem item;
                uint8_t t = readByte();
                if (t == static_cast<uint8_t>(ValueTag::Int8) || t == static_cast<uint8_t>(ValueTag::Int16) ||
                    t == static_cast<uint8_t>(ValueTag::Int32)) {
                    item.index.push_back(readValueWithTag(static_cast<ValueTag>(t), depth + 1));
                    t = readByte();
                }
                if (t != static_cast<uint8_t>(ValueTag::List)) throw ReadError(kInvalidPropertyValue);
                item.properties = readPropertyList(depth + 1);
                v.items.push_back(std::move(item));
            }
            readByte();
            break;
    }
    return v;
}

std::vector<NamedValue> ComponentStreamParser::readPropertyList(int depth) {
    std::vector<NamedValue> props;
    for (;;) {
        std::string name = readShortString();
        if (name.empty()) break;
        props.push_back(makeNamed(std::move(name), readValue(depth)));
    }
    return props;
}

void ComponentStreamParser::parseComponent(ComponentStreamHandler& handler, int depth) {
    if (depth > kMaxNesting) throw ReadError(kInvalidStreamFormat);
    ComponentHeader header;
    uint8_t first = peekByte();
    if ((first & 0xF0) == 0xF0) {
        readByte();
        header.flags = first & 0x0F;
        if (header.flags & kFilerChildPos) {
            uint8_t t = readByte();
            if (t != 2 && t != 3 && t != 4) throw ReadError(kInvalidPropertyValue);
            header.childPos = readValueWithTag(static_cast<ValueTag>(t), depth);
        }
    }
    header.className = readShortString();
    header.name = readShortString();
    handler.beginComponent(header);
    for (;;) {
        std::string name = readShortString();
        if (name.empty()) break;
        handler.property(makeNamed(std::move(name), readValue(0)));
    }
    handler.endProperties();
    while (peekByte() != 0) parseComponent(handler, depth + 1);
    readByte();
    handler.endComponent();
}

void ComponentStreamParser::restorePosition() {
    size_t unread = bufLen_ - bufPos_;
    if (unread) stream_.seek(-static_cast<int64_t>(unread), SeekOrigin::Current);
    bufPos_ = bufLen_ = 0;
}

void ComponentStreamParser::parse(ComponentStreamHandler& handler) {
    uint8_t sig[4];
    readBytes(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0) throw ReadError(kInvalidStreamFormat);
    parseComponent(handler, 0);
    restorePosition();
}

// ---- tree -----------------------------------------------------------------

namespace {

class TreeBuilder final : public ComponentStreamHandler {
public:
    void beginComponent(const ComponentHeader& header) override {
        ObjectNode node;
        node.header = header;
        if (stack_.empty()) {
            root_ = std::move(node);
            stack_.push_back(&root_);
        } else {
            stack_.back()->children.push_back(std::move(node));
            stack_.push_back(&stack_.back()->children.back());
        }
    }
    void property(NamedValue&& p) override { stack_.back()->properties.push_back(std::move(p)); }
    void endComponent() override { stack_.pop_back(); }
    ObjectNode root_;

private:
    std::vector<ObjectNode*> stack_;
};

}  // namespace

ObjectNode parseObjectTree(Stream& stream) {
    TreeBuilder builder;
    ComponentStreamParser(stream).parse(builder);
    return std::move(builder.root_);
}

void writeShortString(Stream& s, const std::string& text) {
    if (text.size() > 255) throw StreamError("String too long for a short string: " + text.substr(0, 40));
    s.writeU8(static_cast<uint8_t>(text.size()));
    s.writeExact(text.data(), text.size());
}

namespace {
void writeU64(Stream& s, uint64_t v) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    s.writeExact(b, 8);
}
void writeProperties(Stream& s, const std::vector<NamedValue>& props) {
    for (const auto& p : props) {
        writeShortString(s, p.name);
        writeValue(s, p.get());
    }
    s.writeU8(0);
}
}  // namespace

void writeValue(Stream& s, const Value& v) {
    s.writeU8(static_cast<uint8_t>(v.tag));
    switch (v.tag) {
        case ValueTag::Null:
        case ValueTag::False:
        case ValueTag::True:
        case ValueTag::Nil: break;
        case ValueTag::List:
            for (const auto& item : v.list) writeValue(s, item);
            s.writeU8(0);
            break;
        case ValueTag::Int8: s.writeU8(static_cast<uint8_t>(v.integer)); break;
        case ValueTag::Int16: s.writeU16(static_cast<uint16_t>(v.integer)); break;
        case ValueTag::Int32: s.writeU32(static_cast<uint32_t>(v.integer)); break;
        case ValueTag::Int64:
        case ValueTag::Currency: writeU64(s, static_cast<uint64_t>(v.integer)); break;
        case ValueTag::Extended: {
            uint8_t b[10];
            doubleToExtended(v.real, b);
            s.writeExact(b, 10);
            break;
        }
        case ValueTag::Single: {
            float f = static_cast<float>(v.real);
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            s.writeU32(bits);
            break;
        }
        case ValueTag::Date: {
            uint64_t bits;
            std::memcpy(&bits, &v.real, 8);
            writeU64(s, bits);
            break;
        }
        case ValueTag::String:
        case ValueTag::Ident: writeShortString(s, v.bytes); break;
        case ValueTag::LString:
        case ValueTag::Utf8String:
        case ValueTag::Binary:
            s.writeU32(static_cast<uint32_t>(v.bytes.size()));
            s.writeExact(v.bytes.data(), v.bytes.size());
            break;
        case ValueTag::WString:
            s.writeU32(static_cast<uint32_t>(v.wide.size()));
            for (wchar_t c : v.wide) s.writeU16(static_cast<uint16_t>(c));
            break;
        case ValueTag::Set:
            for (const auto& ident : v.set) writeShortString(s, ident);
            s.writeU8(0);
            break;
        case ValueTag::Collection:
            for (const auto& item : v.items) {
                for (const auto& index : item.index) writeValue(s, index);
                s.writeU8(static_cast<uint8_t>(ValueTag::List));
                writeProperties(s, item.properties);
            }
            s.writeU8(0);
            break;
    }
}

namespace {
void writeNode(Stream& s, const ObjectNode& node) {
    const auto& h = node.header;
    // A class name's length byte of 0xF0 or more would read back as the prefix byte.
    if (h.className.size() >= 0xF0)
        throw StreamError("Class name too long for a component stream: " + h.className.substr(0, 40) + "...");
    uint8_t flags = h.flags & 0x0F;
    if (h.childPos) flags |= kFilerChildPos;
    if (flags) {
        s.writeU8(0xF0 | flags);
        if (h.childPos) writeValue(s, *h.childPos);
    }
    writeShortString(s, h.className);
    writeShortString(s, h.name);
    writeProperties(s, node.properties);
    for (const auto& child : node.children) writeNode(s, child);
    s.writeU8(0);
}
}  // namespace

void writeObjectTree(Stream& s, const ObjectNode& root) {
    s.writeExact("TPF0", 4);
    writeNode(s, root);
}

std::vector<uint8_t> objectTreeToBytes(const ObjectNode& root) {
    MemoryStream m;
    writeObjectTree(m, root);
    return m.takeBytes();
}

namespace {
void replayNode(const ObjectNode& node, ComponentStreamHandler& handler) {
    handler.beginComponent(node.header);
    for (const auto& p : node.properties) {
        NamedValue copy = p;
        handler.property(std::move(copy));
    }
    handler.endProperties();
    for (const auto& child : node.children) replayNode(child, handler);
    handler.endComponent();
}
}  // namespace

void replayObjectTree(const ObjectNode& root, ComponentStreamHandler& handler) { replayNode(root, handler); }

}  // namespace orb
