#pragma once
// Byte sources the decoders read from: a copy of a caller's buffer, and files
// opened by 8-bit or UTF-16 name.

#include <cstdint>
#include <string>
#include <vector>

#include "audio/core/Ref.h"

namespace adr {

RefPtr<File> makeMemoryFile(const void* data, int size);
RefPtr<File> openFile8(const char* name, bool writeable);
RefPtr<File> openFileWide(const wchar_t* name);

// Size of a file through its seek operations; the position is kept.
int fileSize(File& file);
// Reads up to size bytes, looping over short reads.
int readFully(File& file, void* buffer, int size);
// The whole remaining content, for decoders that need it in memory.
std::vector<uint8_t> readAll(File& file);

// The lower-case extension of a file name without its dot, or empty.
std::string extensionOf(const std::string& name);
std::string extensionOf(const std::wstring& name);

} // namespace adr
