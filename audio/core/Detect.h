#pragma once
// Which decoder a file needs: by its first bytes, with the name's extension
// as a hint where the bytes say nothing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/core/Ref.h"

namespace adr {

FileFormat sniffFormat(const uint8_t* head, size_t size);
FileFormat formatFromExtension(const std::string& extension);

// Opens a source of the given format. FF_AUTODETECT takes the format the
// first bytes name; bytes that name none try the extension's, then the rest.
RefPtr<SampleSource> openSource(RefPtr<File> file, FileFormat format, const std::string& extension = {});

} // namespace adr
