#include "core/Picture.h"

#include "core/Errors.h"

namespace orb {

bool Graphic::readDefinedProperty(std::string_view name, const Value& value) {
    if (name != "Data") return false;
    if (value.tag != ValueTag::Binary) throw ReadError(kInvalidPropertyValue);
    MemoryView data({reinterpret_cast<const uint8_t*>(value.bytes.data()), value.bytes.size()});
    readData(data);
    return true;
}

namespace {
std::vector<uint8_t> readRest(Stream& s) {
    std::vector<uint8_t> out;
    uint8_t buf[65536];
    for (;;) {
        size_t n = s.read(buf, sizeof buf);
        if (n == 0) break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}
std::vector<uint8_t> readCounted(Stream& s, uint32_t n) {
    // The surrounding binary value bounds the data, so n cannot exceed what exists.
    int64_t left = s.size() - s.position();
    if (left >= 0 && n > left) throw StreamError(kStreamReadError);
    std::vector<uint8_t> out(n);
    s.readExact(out.data(), n);
    return out;
}
}  // namespace

void StoredGraphic::readData(Stream& s) {
    switch (layout_) {
        case GraphicDataLayout::WholeRest: bytes_ = readRest(s); break;
        case GraphicDataLayout::LengthPrefixed: bytes_ = readCounted(s, s.readU32()); break;
        case GraphicDataLayout::Metafile: {
            uint32_t n = s.readU32();
            // Four bytes or fewer hold no picture; the length counts itself.
            if (n <= 4) {
                bytes_.clear();
                break;
            }
            bytes_ = readCounted(s, n - 4);
            break;
        }
    }
    changed();
}

void StoredGraphic::writeData(Stream& s) const {
    switch (layout_) {
        case GraphicDataLayout::WholeRest: s.writeExact(bytes_.data(), bytes_.size()); break;
        case GraphicDataLayout::LengthPrefixed:
            s.writeU32(static_cast<uint32_t>(bytes_.size()));
            s.writeExact(bytes_.data(), bytes_.size());
            break;
        case GraphicDataLayout::Metafile:
            s.writeU32(bytes_.empty() ? 0 : static_cast<uint32_t>(bytes_.size() + 4));
            s.writeExact(bytes_.data(), bytes_.size());
            break;
    }
}

namespace {
const ClassInfo& graphicInfo(const char* name) {
    // One static per name; the table has no published properties of its own.
    static std::vector<std::unique_ptr<ClassInfo>> infos;
    for (auto& i : infos)
        if (i->name == name) return *i;
    infos.push_back(std::make_unique<ClassInfo>(ClassInfo{name, &graphicClass(), {}, {}}));
    return *infos.back();
}
}  // namespace

const ClassInfo& graphicClass() {
    static const ClassInfo info{"TGraphic", &Persistent::staticClass(), {}, {}};
    return info;
}
const ClassInfo& bitmapClass() { return graphicInfo("TBitmap"); }
const ClassInfo& iconClass() { return graphicInfo("TIcon"); }
const ClassInfo& pngClass() { return graphicInfo("TPNGObject"); }

GraphicRegistry& GraphicRegistry::instance() {
    static GraphicRegistry registry;
    return registry;
}

GraphicRegistry::GraphicRegistry() {
    auto kind = [this](const ClassInfo& info, GraphicDataLayout layout) {
        add(info, [&info, layout] { return std::make_unique<StoredGraphic>(info, layout); });
    };
    kind(bitmapClass(), GraphicDataLayout::LengthPrefixed);
    kind(graphicInfo("TJvPcx"), GraphicDataLayout::LengthPrefixed);  // stored as a BMP
    kind(iconClass(), GraphicDataLayout::WholeRest);
    kind(graphicInfo("TMetafile"), GraphicDataLayout::Metafile);
    kind(graphicInfo("TJPEGImage"), GraphicDataLayout::LengthPrefixed);
    kind(pngClass(), GraphicDataLayout::WholeRest);
    kind(graphicInfo("TGIFImage"), GraphicDataLayout::LengthPrefixed);
    kind(graphicInfo("TJvAni"), GraphicDataLayout::WholeRest);
    kind(graphicInfo("TOleGraphic"), GraphicDataLayout::WholeRest);
}

void GraphicRegistry::add(const ClassInfo& info, GraphicFactory factory) {
    entries_.push_back({&info, std::move(factory)});
}

const ClassInfo* GraphicRegistry::find(std::string_view className) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->info->name == className) return it->info;
    return nullptr;
}

std::unique_ptr<Graphic> GraphicRegistry::create(std::string_view className) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->info->name == className) return it->factory();
    return nullptr;
}

const ClassInfo& Picture::staticClass() {
    static const ClassInfo info{"TPicture", &Persistent::staticClass(), {}, {}};
    return info;
}

void Picture::setGraphic(std::unique_ptr<Graphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->onChange = [this] {
            if (onChange) onChange();
        };
    if (onChange) onChange();
}

bool Picture::readDefinedProperty(std::string_view name, const Value& value) {
    if (name != "Data") return false;
    if (value.tag != ValueTag::Binary) throw ReadError(kInvalidPropertyValue);
    MemoryView data({reinterpret_cast<const uint8_t*>(value.bytes.data()), value.bytes.size()});
    uint8_t len = data.readU8();
    std::string className(len, '\0');
    data.readExact(className.data(), len);
    auto graphic = GraphicRegistry::instance().create(className);
    if (!graphic) {
        // An unknown graphic kind is tolerated: the picture stays empty.
        setGraphic(nullptr);
        return true;
    }
    graphic->readData(data);
    setGraphic(std::move(graphic));
    return true;
}

}  // namespace orb
