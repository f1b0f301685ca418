#include "project/OrbFileStream.h"

#include "core/Errors.h"
#include "core/Text.h"

namespace orb {

TOrbFileStream::TOrbFileStream(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
    if (!file_) {
        DWORD error = GetLastError();
        throw OrbError("Cannot open file \"" + utf16ToUtf8(fullPathName(path)) + "\". " +
                       utf16ToUtf8(systemErrorText(error)));
    }
}

size_t TOrbFileStream::read(void* buffer, size_t count) {
    size_t total = 0;
    while (count > 0) {
        DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        DWORD got = 0;
        if (!ReadFile(file_.get(), static_cast<char*>(buffer) + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
        count -= got;
    }
    return total;
}

int64_t TOrbFileStream::seek(int64_t offset, SeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(file_.get(), distance, &result, method)) throw StreamError("Stream seek error");
    return result.QuadPart;
}

int64_t TOrbFileStream::size() {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.get(), &size)) return -1;
    return size.QuadPart;
}

}  // namespace orb
