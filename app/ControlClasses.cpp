#include "app/ControlClasses.h"

#include <array>
#include <memory>

#include "app/OrbForm.h"
#include "controls/OrbButton.h"
#include "core/Control.h"

namespace orb {

namespace {

// A registered control class whose own behaviour has not been built yet: it
// takes the standard control properties and keeps its place on its page.
template <class Base>
class GenericControl final : public Base {
public:
    GenericControl(Component* owner, const ClassInfo& info) : Base(owner), info_(info) {}
    const ClassInfo& classInfo() const override { return info_; }

private:
    const ClassInfo& info_;
};

enum class Kind { Graphic, Windowed, NonVisual };

struct ClassEntry {
    const char* name;
    Kind kind;
};

// The classes built so far stand in their own right.
const ClassInfo* builtClass(std::string_view name) {
    if (name == "TOrbButton") return &TOrbButton::staticClass();
    return nullptr;
}

constexpr std::array<ClassEntry, 20> kControlClasses = {{
    {"TOrbAudierePlayer", Kind::Windowed}, {"TOrbButton", Kind::Graphic},
    {"TOrbCommentShower", Kind::NonVisual}, {"TOrbCoolButton", Kind::Graphic},
    {"TOrbCoolLabel", Kind::Graphic},      {"TOrbCoolText", Kind::Graphic},
    {"TOrbFlash", Kind::Windowed},         {"TOrbGraphicCommentShower", Kind::Graphic},
    {"TOrbHotLabel", Kind::Graphic},       {"TOrbHtmlLabel", Kind::Graphic},
    {"TOrbImage", Kind::Graphic},          {"TOrbMediaPlayer", Kind::Windowed},
    {"TOrbPDFViewer", Kind::Windowed},     {"TOrbRichEdit", Kind::Windowed},
    {"TOrbScrollText", Kind::Windowed},    {"TOrbShape", Kind::Graphic},
    {"TOrbTextAnimator", Kind::Graphic},   {"TOrbTextBox", Kind::Windowed},
    {"TOrbThreadTimer", Kind::NonVisual},  {"TOrbWebBrowser", Kind::Windowed},
}};

const std::vector<std::unique_ptr<ClassInfo>>& controlClassInfos() {
    static const std::vector<std::unique_ptr<ClassInfo>> infos = [] {
        std::vector<std::unique_ptr<ClassInfo>> out;
        for (const auto& e : kControlClasses) {
            if (builtClass(e.name)) continue;
            auto info = std::make_unique<ClassInfo>();
            info->name = e.name;
            const ClassInfo* self = info.get();
            switch (e.kind) {
                case Kind::Graphic:
                    info->parent = &GraphicControl::staticClass();
                    info->create = [self](Component* owner) {
                        return std::make_unique<GenericControl<GraphicControl>>(owner, *self);
                    };
                    break;
                case Kind::Windowed:
                    info->parent = &WinControl::staticClass();
                    info->create = [self](Component* owner) {
                        return std::make_unique<GenericControl<WinControl>>(owner, *self);
                    };
                    break;
                case Kind::NonVisual:
                    info->parent = &Component::staticClass();
                    info->create = [self](Component* owner) {
                        return std::make_unique<GenericControl<Component>>(owner, *self);
                    };
                    break;
            }
            out.push_back(std::move(info));
        }
        return out;
    }();
    return infos;
}

}  // namespace

void RegisterControlClasses(ClassRegistry& registry) {
    for (const auto& info : controlClassInfos()) registry.add(*info);
    for (const auto& e : kControlClasses)
        if (const ClassInfo* built = builtClass(e.name)) registry.add(*built);
}

const ClassRegistry& projectClassRegistry() {
    static const ClassRegistry registry = [] {
        ClassRegistry r;
        RegisterControlClasses(r);
        r.add(TfrmMain::staticClass());
        return r;
    }();
    return registry;
}

}  // namespace orb
