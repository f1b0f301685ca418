#pragma once
// Pictures as a project stores them: a graphic class name and that graphic's
// own bytes. Decoding into pixels belongs to the rendering layer; here every
// registered class is read and its bytes are kept.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Stream.h"

namespace orb {

class Graphic : public Persistent {
public:
    // The graphic's own data as a stream holds it (after the class name).
    virtual void readData(Stream& stream) = 0;
    virtual void writeData(Stream& stream) const = 0;
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    // The file bytes (BMP, PNG, ICO...) without any length prefix.
    const std::vector<uint8_t>& fileBytes() const { return bytes_; }
    void setFileBytes(std::vector<uint8_t> bytes) { bytes_ = std::move(bytes); }
    bool empty() const { return bytes_.empty(); }
    std::function<void()> onChange;

protected:
    void changed() {
        if (onChange) onChange();
    }
    std::vector<uint8_t> bytes_;
};

using GraphicFactory = std::function<std::unique_ptr<Graphic>()>;

// Graphic classes by exact name; the most recently registered wins.
class GraphicRegistry {
public:
    static GraphicRegistry& instance();
    void add(const ClassInfo& info, GraphicFactory factory);
    std::unique_ptr<Graphic> create(std::string_view className) const;
    const ClassInfo* find(std::string_view className) const;

private:
    GraphicRegistry();
    struct Entry {
        const ClassInfo* info;
        GraphicFactory factory;
    };
    std::vector<Entry> entries_;
};

// The graphic kinds a project names. Each knows how its data is laid out.
enum class GraphicDataLayout { LengthPrefixed, WholeRest, Metafile };

class StoredGraphic : public Graphic {
public:
    StoredGraphic(const ClassInfo& info, GraphicDataLayout layout) : info_(info), layout_(layout) {}
    const ClassInfo& classInfo() const override { return info_; }
    void readData(Stream& stream) override;
    void writeData(Stream& stream) const override;

private:
    const ClassInfo& info_;
    GraphicDataLayout layout_;
};

const ClassInfo& bitmapClass();   // TBitmap
const ClassInfo& iconClass();     // TIcon
const ClassInfo& pngClass();      // TPNGObject
const ClassInfo& graphicClass();  // TGraphic, the declared type of graphic properties

class Picture final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    Graphic* graphic() const { return graphic_.get(); }
    void setGraphic(std::unique_ptr<Graphic> graphic);
    bool empty() const { return !graphic_ || graphic_->empty(); }
    std::string graphicClassName() const { return graphic_ ? graphic_->classInfo().name : std::string(); }

    std::function<void()> onChange;

private:
    std::unique_ptr<Graphic> graphic_;
};


}  // namespace orb
