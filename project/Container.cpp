#include "project/Container.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "core/ComponentReader.h"
#include "core/ComponentStream.h"
#include "core/Errors.h"
#include "core/Form.h"
#include "core/InflateStream.h"

namespace orb {

namespace {

// Copies count bytes from the stream, growing only as data really arrives.
std::vector<uint8_t> readBlock(Stream& s, uint32_t count) {
    std::vector<uint8_t> out;
    constexpr uint32_t kChunk = 1 << 20;
    while (count > 0) {
        uint32_t n = std::min(count, kChunk);
        size_t at = out.size();
        out.resize(at + n);
        s.readExact(out.data() + at, n);
        count -= n;
    }
    return out;
}

}  // namespace

bool readContainer(Stream& file, CustomForm& form, const ClassRegistry& registry) {
    char magic[11];
    if (file.read(magic, 11) != 11 || std::memcmp(magic, kContainerMagic, 11) != 0) return false;

    uint8_t version[2];
    file.readExact(version, 2);
    if (std::memcmp(version, kVersionWord, 2) == 0) file.seek(16, SeekOrigin::Current);
    else file.seek(-2, SeekOrigin::Current);

    if (file.readU32() == kCompressionMarker) {
        uint32_t length = file.readU32();
        std::vector<uint8_t> block = readBlock(file, length);
        InflateStream inflater(block);
        form.setCaption(L"");
        readComponentStream(inflater, form, registry);
        inflater.checkFullyConsumed();
    } else {
        file.seek(-4, SeekOrigin::Current);
        form.setCaption(L"");
        readComponentStream(file, form, registry);
    }

    if (file.position() < file.size()) {
        uint32_t size = file.readU32();
        if (size & 0xFFFF) form.setClientWidth(static_cast<int32_t>(size & 0xFFFF));
        if (size >> 16) form.setClientHeight(static_cast<int32_t>(size >> 16));
    }
    return true;
}

uint32_t ProjectImageEnd(Stream& image) {
    try {
        image.seek(0x3C, SeekOrigin::Begin);
        uint32_t fileHeader = image.readU32() + 4;
        image.seek(fileHeader + 2, SeekOrigin::Begin);
        uint16_t sections = image.readU16();
        image.seek(fileHeader + 16, SeekOrigin::Begin);
        uint16_t optionalHeaderSize = image.readU16();
        image.seek(int64_t{fileHeader} + 20 + optionalHeaderSize, SeekOrigin::Begin);
        uint32_t end = 0;
        for (uint16_t i = 0; i < sections; ++i) {
            uint8_t entry[40];
            image.readExact(entry, 40);
            auto le32 = [&](int at) {
                return entry[at] | (entry[at + 1] << 8) | (entry[at + 2] << 16) | (uint32_t{entry[at + 3]} << 24);
            };
            uint32_t rawSize = le32(16), rawOffset = le32(20);
            end = std::max(end, rawOffset + rawSize);
        }
        return end;
    } catch (const OrbError&) {
        return 0;
    }
}

AppendedProject FindAppendedProject(Stream& program) {
    AppendedProject result;
    auto size = static_cast<uint32_t>(program.size());
    uint32_t scan = ProjectImageEnd(program);
    if (uint64_t{size} <= uint64_t{scan} + 1024) return result;
    try {
        char head[12] = {};
        program.seek(scan, SeekOrigin::Begin);
        if (program.read(head, 11) == 11 && std::memcmp(head, kContainerMagic, 11) == 0) {
            result.appended = true;
            result.offset = scan;
            return result;
        }
        char tail[11] = {};
        program.seek(int64_t{size} - 10, SeekOrigin::Begin);
        program.readExact(tail, 10);
        bool relative = std::memcmp(tail, "NEW-SAFLAG", 10) == 0;
        bool absolute = std::memcmp(tail, "STANDALONE", 10) == 0;
        if (relative || absolute) {
            program.seek(int64_t{size} - 14, SeekOrigin::Begin);
            uint32_t value = program.readU32();
            result.offset = relative ? size - value : value;
            result.appended = true;
        }
    } catch (const OrbError&) {
        result = {};
    }
    return result;
}

std::vector<uint8_t> buildContainer(std::span<const uint8_t> stream, const ContainerOptions& options) {
    MemoryStream out;
    out.writeExact(kContainerMagic, 11);
    if (options.versionWord) {
        out.writeExact(kVersionWord, 2);
        uint8_t reserved[16] = {};
        out.writeExact(reserved, 16);
    }
    if (options.compressed) {
        uLongf bound = compressBound(static_cast<uLong>(stream.size()));
        std::vector<uint8_t> packed(bound);
        if (compress2(packed.data(), &bound, stream.data(), static_cast<uLong>(stream.size()), Z_BEST_COMPRESSION) !=
            Z_OK)
            throw StreamError("Error while compressing");
        out.writeU32(kCompressionMarker);
        out.writeU32(static_cast<uint32_t>(bound));
        out.writeExact(packed.data(), bound);
    } else {
        out.writeExact(stream.data(), stream.size());
    }
    if (options.clientSize) out.writeU32(options.clientSize->first | (uint32_t{options.clientSize->second} << 16));
    return out.takeBytes();
}

std::vector<uint8_t> appendContainer(std::span<const uint8_t> program, std::span<const uint8_t> container,
                                     AppendPlacement placement) {
    MemoryView view(program);
    uint32_t imageEnd = ProjectImageEnd(view);
    if (imageEnd == 0 || imageEnd > program.size()) throw OrbError("The program file has no readable image headers");
    std::vector<uint8_t> out;
    if (placement == AppendPlacement::Direct) {
        // The container must start right at the image end; what lay after it (symbols) goes.
        out.assign(program.begin(), program.begin() + imageEnd);
        out.insert(out.end(), container.begin(), container.end());
        // Nothing is examined unless the file exceeds the image by more than 1024 bytes.
        // Zeros after a container without a client size read as size 0: no change.
        while (out.size() <= uint64_t{imageEnd} + 1024 + 4) out.push_back(0);
        return out;
    }
    out.assign(program.begin(), program.end());
    while (out.size() + container.size() + 14 <= uint64_t{imageEnd} + 1024 + 1) out.push_back(0);
    auto start = static_cast<uint32_t>(out.size());
    out.insert(out.end(), container.begin(), container.end());
    uint32_t value = placement == AppendPlacement::RelativeTrailer
                         ? static_cast<uint32_t>(out.size() + 14 - start)
                         : start;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    const char* flag = placement == AppendPlacement::RelativeTrailer ? "NEW-SAFLAG" : "STANDALONE";
    out.insert(out.end(), flag, flag + 10);
    return out;
}

UnpackedContainer unpackContainer(Stream& file) {
    UnpackedContainer result;
    char magic[11];
    file.readExact(magic, 11);
    if (std::memcmp(magic, kContainerMagic, 11) != 0) throw OrbError("Not a project container (no OrbDataFile magic)");
    uint8_t version[2];
    file.readExact(version, 2);
    result.options.versionWord = std::memcmp(version, kVersionWord, 2) == 0;
    if (result.options.versionWord) file.seek(16, SeekOrigin::Current);
    else file.seek(-2, SeekOrigin::Current);
    result.options.compressed = file.readU32() == kCompressionMarker;
    MemoryStream streamBytes;
    if (result.options.compressed) {
        std::vector<uint8_t> block = readBlock(file, file.readU32());
        InflateStream inflater(block);
        uint8_t buf[65536];
        for (size_t n; (n = inflater.read(buf, sizeof buf)) > 0;) streamBytes.writeExact(buf, n);
    } else {
        file.seek(-4, SeekOrigin::Current);
        // Parse to find where the component stream ends.
        int64_t start = file.position();
        parseObjectTree(file);
        int64_t end = file.position();
        file.seek(start, SeekOrigin::Begin);
        std::vector<uint8_t> bytes = readBlock(file, static_cast<uint32_t>(end - start));
        streamBytes.writeExact(bytes.data(), bytes.size());
    }
    if (file.position() < file.size()) {
        uint32_t size = file.readU32();
        result.options.clientSize = std::make_pair(static_cast<uint16_t>(size), static_cast<uint16_t>(size >> 16));
    }
    result.componentStream = streamBytes.takeBytes();
    return result;
}

}  // namespace orb
