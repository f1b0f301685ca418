#pragma once
// The project container: magic, optional version word, optional compression,
// the component stream, optional client size; and where an appended container
// sits in the program file.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/Stream.h"

namespace orb {

class Component;
class ClassRegistry;
class CustomForm;

inline constexpr char kContainerMagic[] = "OrbDataFile";  // 11 bytes, no terminator in files
inline constexpr uint8_t kVersionWord[2] = {0xBC, 0x07};
inline constexpr uint32_t kCompressionMarker = 0x54568085;

// Reads the container at the stream's position into the form. Answers false
// when the magic is missing (nothing loaded); throws when anything after the
// magic is broken, and then the form holds a partial load.
bool readContainer(Stream& file, CustomForm& form, const ClassRegistry& registry);

// End of the last section's raw data in a program image; 0 when the headers
// cannot be read. The section table follows the optional header whose size the
// file header states (224 bytes for 32-bit images, 240 for 64-bit ones).
uint32_t ProjectImageEnd(Stream& image);

struct AppendedProject {
    bool appended = false;
    uint32_t offset = 0;
};
AppendedProject FindAppendedProject(Stream& programFile);

// Writing, for the project tool and the tests.
struct ContainerOptions {
    bool versionWord = true;
    bool compressed = true;
    std::optional<std::pair<uint16_t, uint16_t>> clientSize;  // width, height
};
std::vector<uint8_t> buildContainer(std::span<const uint8_t> componentStream, const ContainerOptions& options);

enum class AppendPlacement { Direct, RelativeTrailer, AbsoluteTrailer };
// The program bytes with the container appended so that FindAppendedProject finds it.
std::vector<uint8_t> appendContainer(std::span<const uint8_t> program, std::span<const uint8_t> container,
                                     AppendPlacement placement);

// Unpacks a container to its component stream bytes (the tool's decompiler).
struct UnpackedContainer {
    std::vector<uint8_t> componentStream;
    ContainerOptions options;
};
UnpackedContainer unpackContainer(Stream& file);

}  // namespace orb
