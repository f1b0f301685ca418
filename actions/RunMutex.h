#pragma once
#include <string>

namespace orb {

// The mutex the disc-eject program waits on: it disappears when menuhost ends.
void CreateRunMutex();
void ReleaseRunMutex();
const std::string& RunMutexName();

}  // namespace orb
