#include "project/ReadProject.h"

#include "core/Errors.h"
#include "project/Container.h"
#include "project/OrbFileStream.h"

namespace orb {

namespace {
bool isExistingFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

void ReadProject(const ProjectLocation& location, std::unique_ptr<TfrmMain>& form, const ClassRegistry& registry,
                 const std::function<std::unique_ptr<TfrmMain>()>& makeDefault) {
    if (location.path.empty() || !isExistingFile(location.path)) return;
    std::unique_ptr<TOrbFileStream> file;
    try {
        file = std::make_unique<TOrbFileStream>(location.path);
    } catch (const std::exception&) {
        return;  // locked or no access: the default window stays, silently
    }
    try {
        if (location.appended) file->seek(location.offset, SeekOrigin::Begin);
        readContainer(*file, *form, registry);
    } catch (const std::exception&) {
        // Nothing of a failed load may survive in the window.
        form.reset();
        form = makeDefault();
    }
}

ProjectLocation FindAppendedProjectIn(const std::wstring& programPath) {
    ProjectLocation location;
    try {
        TOrbFileStream program(programPath);
        AppendedProject found = FindAppendedProject(program);
        if (found.appended) {
            location.path = programPath;
            location.appended = true;
            location.offset = found.offset;
        }
    } catch (const std::exception&) {
    }
    return location;
}

}  // namespace orb
