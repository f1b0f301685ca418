#include "tools/orbproj/ProjectCheck.h"

#include "app/ControlClasses.h"
#include "core/ComponentReader.h"

namespace orb {

namespace {

class Checker {
public:
    Checker(ComponentReader& reader, std::vector<ProjectProblem>& problems) : reader_(reader), problems_(problems) {}

    void node(const ObjectNode& n) {
        try {
            reader_.beginComponent(n.header);
        } catch (const std::exception& e) {
            problems_.push_back({n.header.line, e.what()});
            return;  // its children have no parent to go to
        }
        for (const auto& p : n.properties) {
            try {
                NamedValue copy = p;
                reader_.property(std::move(copy));
            } catch (const std::exception& e) {
                problems_.push_back({p.line, reader_.describe(e.what())});
            }
        }
        for (const auto& child : n.children) node(child);
        reader_.endComponent();
    }

private:
    ComponentReader& reader_;
    std::vector<ProjectProblem>& problems_;
};

}  // namespace

std::vector<ProjectProblem> checkProject(const ObjectNode& root) {
    std::vector<ProjectProblem> problems;
    const ClassRegistry& registry = projectClassRegistry();
    const ClassInfo* rootClass = registry.find(root.header.className);
    if (!rootClass || !rootClass->create) {
        problems.push_back({root.header.line, "Class " + root.header.className + " not found"});
        return problems;
    }
    auto form = rootClass->create(nullptr);
    ComponentReader reader(*form, registry);
    Checker(reader, problems).node(root);
    try {
        reader.finish();
    } catch (const std::exception& e) {
        problems.push_back({root.endLine, e.what()});
    }
    return problems;
}

}  // namespace orb
