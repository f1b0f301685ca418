#pragma once
// The text side of renaming files at the next restart on the 9x family:
// entries of the "[rename]" section of WININIT.INI, and the names chosen for
// the file written beside it.
#include <cstdint>
#include <string>
#include <string_view>

namespace orb {

// The ini text with "TARGET=SOURCE" as the last line of its rename section,
// or in a new rename section at the end. Lines come out ended by CR LF.
std::string addRenameEntry(std::string_view iniText, std::string_view entry);

// "orb-" plus five base-32 digits of a 25-bit number, most significant first.
std::string uniqueNameStem(uint32_t number);
inline constexpr uint32_t kUniqueNameCount = 1u << 25;

}  // namespace orb
