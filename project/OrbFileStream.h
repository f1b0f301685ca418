#pragma once
#include <string>

#include "core/Stream.h"
#include "framework/Handles.h"

namespace orb {

// A read-only stream over a file handle, shared for reading with others.
class TOrbFileStream final : public Stream {
public:
    explicit TOrbFileStream(const std::wstring& path);  // throws OrbError "Cannot open file ..."
    size_t read(void* buffer, size_t count) override;
    int64_t seek(int64_t offset, SeekOrigin origin) override;
    int64_t size() override;

private:
    FileHandle file_;
};

}  // namespace orb
