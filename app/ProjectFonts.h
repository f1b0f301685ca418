#pragma once
#include <optional>
#include <string>
#include <vector>

namespace orb {

// Fonts of the FontData folder beside the project, registered for the run.
class ProjectFonts {
public:
    void load(const std::wstring& projectDir);
    void unload();  // a second call does nothing
    const std::optional<std::vector<std::wstring>>& files() const { return files_; }

private:
    std::optional<std::vector<std::wstring>> files_;
};

}  // namespace orb
