#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/OrbForm.h"
#include "core/Component.h"

namespace orb {

// Where start-up found the project.
struct ProjectLocation {
    std::wstring path;
    bool appended = false;
    uint32_t offset = 0;
};

// Reads the container at the location into the form. A broken project leaves
// nothing of itself: the form is replaced by a fresh one from makeDefault.
// Missing or unreadable files leave the form as it is. Never throws.
void ReadProject(const ProjectLocation& location, std::unique_ptr<TfrmMain>& form, const ClassRegistry& registry,
                 const std::function<std::unique_ptr<TfrmMain>()>& makeDefault);

// Looks for a container appended to the program file.
ProjectLocation FindAppendedProjectIn(const std::wstring& programPath);

}  // namespace orb
