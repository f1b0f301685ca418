#pragma once
// Files menuhost writes for itself while it runs, and cleaning up after a
// file that is still in use when menuhost ends.
#include <optional>
#include <string>

namespace orb {

// A new empty file in the system's temporary folder, named "orbXXXX.tmp" by the system.
std::string NewTempFileName();

// A name in folder that no file or folder has yet; throws OrbError
// "Too many file in directory FOLDER" when every name is taken.
std::string UniqueFileName(const std::string& folder, const std::string& extension);

// At the next restart, file is renamed to newName, or deleted when there is none.
void ScheduleDeleteAtRestart(const std::string& file, const std::optional<std::string>& newName = std::nullopt);

// The 9x family's way of doing the same: an entry in ini's rename section.
// Errors are thrown to the caller; a half-written file is removed.
void ScheduleRenameInWininit(const std::string& iniPath, const std::string& file,
                             const std::optional<std::string>& newName);

}  // namespace orb
