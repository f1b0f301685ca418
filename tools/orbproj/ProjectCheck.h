#pragma once
#include <string>
#include <vector>

#include "core/ComponentStream.h"

namespace orb {

struct ProjectProblem {
    int line;
    std::string message;
};

// Reads the tree into real objects through the same property tables and
// binding rules as menuhost; every class, property, identifier or value that
// menuhost would refuse comes back with the line it stands on.
std::vector<ProjectProblem> checkProject(const ObjectNode& root);

}  // namespace orb
