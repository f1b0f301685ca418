// The project container: header variants, compression, the client size, and
// finding a container appended to the program file.
#include <gtest/gtest.h>
#include <zlib.h>

#include "AllocationProbe.h"
#include "TestSupport.h"
#include "project/Container.h"

namespace orbtest {
namespace {

using std::string_literals::operator""s;

const std::string kMagic = "OrbDataFile";
const std::string kVersion = "\xBC\x07"s;
const std::string kMarker = "\x85\x80\x56\x54"s;

std::string zlibCompress(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                        static_cast<uLong>(data.size()), 6),
              Z_OK);
    out.resize(size);
    return out;
}

std::string sampleStream(size_t picture = 16) {
    return stringOfBytes(objectTreeToBytes(
        mainForm({prop("Caption", str("Loaded")), prop("ClientWidth", intOf(ValueTag::Int16, 300)),
                  prop("ClientHeight", intOf(ValueTag::Int16, 200)),
                  prop("Picture.Data", binary(shortString("TBitmap") + le32(picture) + std::string(picture, 'b')))},
                 {object("TOrbButton", "Button1", {prop("Caption", str("Go"))})})));
}

std::string compressedBody(const std::string& stream) {
    std::string z = zlibCompress(stream);
    return kMarker + le32(z.size()) + z;
}

struct Loaded {
    bool recognised = false;
    std::unique_ptr<TfrmMain> form = newMainWindow();
    int64_t positionAfter = 0;
};

Loaded load(const std::string& file, size_t offset = 0) {
    Loaded result;
    MemoryView view({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    view.seek(static_cast<int64_t>(offset), SeekOrigin::Begin);
    result.recognised = readContainer(view, *result.form, controlRegistry());
    result.positionAfter = view.position();
    return result;
}

// The message of the load's failure; empty when it loads.
std::string loadFailure(const std::string& file) {
    try {
        load(file);
    } catch (const OrbError& e) {
        return e.what();
    }
    return {};
}

void expectSampleLoaded(const Loaded& l) {
    EXPECT_TRUE(l.recognised);
    EXPECT_EQ(l.form->caption(), L"Loaded");
    ASSERT_NE(l.form->findComponent("Button1"), nullptr);
    EXPECT_EQ(l.form->picture.graphicClassName(), "TBitmap");
}

// ---- header variants ---------------------------------------------------------------

TEST(Container, MagicFollowedByAPlainStreamLoads) {
    std::string file = kMagic + sampleStream();
    Loaded l = load(file);
    expectSampleLoaded(l);
    EXPECT_EQ(l.positionAfter, static_cast<int64_t>(file.size()));
}

TEST(Container, VersionWordSkipsSixteenBytesWhateverTheyHold) {
    const std::string body = compressedBody(sampleStream());
    for (const std::string& reserved : {std::string(16, '\0'), std::string(16, '\xFF'), kMarker + std::string(12, 'x'),
                                        "TPF0"s + std::string(12, '\x07'), "OrbDataFile\xBC\x07\x85\x80\x56"s}) {
        ASSERT_EQ(reserved.size(), 16u);
        expectSampleLoaded(load(kMagic + kVersion + reserved + body));
    }
    expectSampleLoaded(load(kMagic + kVersion + std::string(16, 'r') + sampleStream()));
}

TEST(Container, BytesAfterTheMagicThatAreNotTheVersionWordAreNotSkipped) {
    // Without the version word the marker (85 80 ...) follows the magic directly.
    expectSampleLoaded(load(kMagic + compressedBody(sampleStream())));
    // Only BC 07 together counts: BC alone is the start of a broken stream.
    EXPECT_NE(loadFailure(kMagic + "\xBC\x08"s + std::string(16, '\0') + sampleStream()), "");
}

TEST(Container, WithoutTheMagicNothingIsRead) {
    for (const std::string& file : {""s, "OrbData"s, "OrbDataFil"s, "orbdatafile"s + sampleStream(),
                                    "XrbDataFile"s + sampleStream()}) {
        Loaded l = load(file);
        EXPECT_FALSE(l.recognised) << file.substr(0, 11);
        EXPECT_EQ(l.form->caption(), L"") << file.substr(0, 11);
        EXPECT_TRUE(l.form->components().empty());
    }
}

// ---- client size -----------------------------------------------------------------

TEST(Container, ClientSizeDwordSetsOnlyItsNonZeroHalves) {
    struct Case {
        std::optional<uint32_t> size;
        int width, height;
    };
    for (bool compressed : {false, true}) {
        for (const auto& c : std::vector<Case>{{std::nullopt, 300, 200},
                                               {0x00000000, 300, 200},
                                               {0x01E00000, 300, 480},
                                               {0x00000280, 640, 200},
                                               {0x01E00280, 640, 480},
                                               {0xFFFFFFFF, 65535, 65535}}) {
            // A picture larger than the reader's buffer, so the size follows well beyond it.
            std::string stream = sampleStream(10000);
            std::string file = kMagic + kVersion + std::string(16, '\0') + (compressed ? compressedBody(stream) : stream);
            if (c.size) file += le32(*c.size);
            Loaded l = load(file);
            EXPECT_EQ(l.form->clientWidth(), c.width) << compressed << " " << c.size.value_or(1);
            EXPECT_EQ(l.form->clientHeight(), c.height) << compressed << " " << c.size.value_or(1);
            EXPECT_EQ(l.positionAfter, static_cast<int64_t>(file.size()));
        }
    }
}

// ---- broken compressed blocks ------------------------------------------------------

TEST(Container, BrokenCompressedBlocksFail) {
    const std::string stream = sampleStream();
    const std::string z = zlibCompress(stream);
    const std::string head = kMagic + kVersion + std::string(16, '\0') + kMarker;
    std::string flipped = z;
    flipped[flipped.size() / 2] ^= 0x55;
    std::string badHeader = z;
    badHeader[0] = 0x00;
    struct Case {
        const char* label;
        std::string file;
    };
    for (const auto& c : std::vector<Case>{
             {"extra bytes inside N", head + le32(z.size() + 3) + z + "xyz" + le32(0)},
             {"bytes after the component inside the inflated data",
              head + [&] {
                  std::string padded = zlibCompress(stream + "trailing");
                  return le32(padded.size()) + padded;
              }()},
             {"N one short", head + le32(z.size() - 1) + z},
             {"N one short with a size after", head + le32(z.size() - 1) + z + le32(0x01E00280)},
             {"N one long", head + le32(z.size() + 1) + z + le32(0x01E00280)},
             {"N beyond the file", head + le32(z.size() + 100) + z},
             {"corrupt deflate data", head + le32(flipped.size()) + flipped},
             {"not a zlib header", head + le32(badHeader.size()) + badHeader},
             {"empty block", head + le32(0)},
             {"raw stream behind the marker", head + le32(stream.size()) + stream},
         }) {
        EXPECT_NE(loadFailure(c.file), "") << c.label;
    }
}

TEST(Container, HugeBlockLengthFailsWithoutAllocatingIt) {
    LargestAllocation probe;
    EXPECT_NE(loadFailure(kMagic + kMarker + le32(0xFFFFFFFF) + zlibCompress(sampleStream())), "");
    EXPECT_LT(probe.bytes(), size_t{16} << 20);
}

TEST(Container, HugeValueLengthInsideCompressedDataFailsWithoutAllocatingIt) {
    // The inflating reader cannot tell how much data is left, so only reading in
    // steps keeps the claimed length from becoming one allocation.
    std::string stream = "TPF0" + shortString("TfrmMain") + shortString("frmMain") + shortString("Picture.Data") +
                         "\x0A"s + le32(0xFFFFFFF0) + std::string(100, 'x');
    LargestAllocation probe;
    EXPECT_NE(loadFailure(kMagic + compressedBody(stream)), "");
    EXPECT_LT(probe.bytes(), size_t{16} << 20);
}

TEST(Container, BrokenStreamInsideAValidContainerFails) {
    std::string unknown = stringOfBytes(objectTreeToBytes(mainForm({}, {object("TOrbNoSuch", "X")})));
    EXPECT_NE(loadFailure(kMagic + compressedBody(unknown)).find("Class TOrbNoSuch not found"), std::string::npos);
    EXPECT_NE(loadFailure(kMagic + unknown).find("Class TOrbNoSuch not found"), std::string::npos);
    EXPECT_EQ(loadFailure(kMagic + kMarker + le32(3)), kStreamReadError);
}

// ---- writing and unpacking ---------------------------------------------------------

TEST(Container, BuildAndUnpackKeepTheStreamAndTheOptions) {
    const std::string stream = sampleStream(5000);
    for (bool version : {false, true})
        for (bool compressed : {false, true})
            for (auto size : {std::optional<std::pair<uint16_t, uint16_t>>{},
                              std::optional<std::pair<uint16_t, uint16_t>>{{640, 480}}}) {
                ContainerOptions options;
                options.versionWord = version;
                options.compressed = compressed;
                options.clientSize = size;
                std::vector<uint8_t> file = buildContainer(bytesOfString(stream), options);
                MemoryView view(file);
                UnpackedContainer back = unpackContainer(view);
                EXPECT_EQ(stringOfBytes(back.componentStream), stream);
                EXPECT_EQ(back.options.versionWord, version);
                EXPECT_EQ(back.options.compressed, compressed);
                EXPECT_EQ(back.options.clientSize, size);
                Loaded l = load(stringOfBytes(file));
                expectSampleLoaded(l);
                EXPECT_EQ(l.form->clientWidth(), size ? 640 : 300);
            }
}

// ---- program images ------------------------------------------------------------------

struct Section {
    uint32_t rawOffset, rawSize;
};

// A program image as far as the search reads it: the header pointer at 0x3C,
// the signature, the file header, an optional header and the section table,
// then zeros up to the end of the last section's raw data.
std::string programImage(uint16_t optionalHeaderSize, const std::vector<Section>& sections) {
    std::string image(0x80, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image.replace(0x3C, 4, le32(0x80));
    image += "PE\0\0"s;
    std::string fileHeader(20, '\0');
    fileHeader[0] = '\x4C';
    fileHeader[1] = '\x01';
    fileHeader[2] = static_cast<char>(sections.size());
    fileHeader[3] = static_cast<char>(sections.size() >> 8);
    fileHeader[16] = static_cast<char>(optionalHeaderSize);
    fileHeader[17] = static_cast<char>(optionalHeaderSize >> 8);
    image += fileHeader;
    // Non-zero filler, so that reading the section table from the wrong place shows.
    std::string optional(optionalHeaderSize, '\x5A');
    optional[0] = '\x0B';
    optional[1] = optionalHeaderSize == 240 ? '\x02' : '\x01';
    image += optional;
    uint32_t end = 0;
    for (const auto& s : sections) {
        std::string entry(40, '\0');
        entry.replace(0, 5, ".sect");
        entry.replace(16, 4, le32(s.rawSize));
        entry.replace(20, 4, le32(s.rawOffset));
        image += entry;
        end = std::max(end, s.rawOffset + s.rawSize);
    }
    if (image.size() < end) image.resize(end, '\xCC');
    return image;
}

uint32_t imageEnd(const std::string& image) {
    MemoryView view({reinterpret_cast<const uint8_t*>(image.data()), image.size()});
    return ProjectImageEnd(view);
}

AppendedProject findIn(const std::string& file) {
    MemoryView view({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    return FindAppendedProject(view);
}

const std::vector<Section> kSections = {{0x400, 0x800}, {0x2000, 0x200}, {0xC00, 0x1000}};

TEST(ProgramImage, EndOfTheLastSectionsRawData) {
    EXPECT_EQ(imageEnd(programImage(224, kSections)), 0x2200u);
    EXPECT_EQ(imageEnd(programImage(240, kSections)), 0x2200u);
    EXPECT_EQ(imageEnd(programImage(224, {{0x400, 0x200}})), 0x600u);
    EXPECT_EQ(imageEnd(programImage(224, {})), 0u);
    std::string cut = programImage(224, kSections).substr(0, 0x80 + 4 + 20 + 224 + 40 + 10);
    EXPECT_EQ(imageEnd(cut), 0u);
    EXPECT_EQ(imageEnd("MZ"), 0u);
}

// Compressed, with the version word and a client size of 640 x 480.
std::string appendedSample() {
    ContainerOptions options;
    options.clientSize = std::make_pair(uint16_t{640}, uint16_t{480});
    return stringOfBytes(buildContainer(bytesOfString(sampleStream()), options));
}

TEST(ProgramImage, ContainerRightAtTheImageEnd) {
    const std::string image = programImage(224, kSections);
    const std::string container = appendedSample();
    std::string file = image + container + std::string(2000, '\0');
    AppendedProject found = findIn(file);
    ASSERT_TRUE(found.appended);
    EXPECT_EQ(found.offset, 0x2200u);
    Loaded l = load(file, found.offset);
    expectSampleLoaded(l);
    EXPECT_EQ(l.form->clientWidth(), 640);
}

TEST(ProgramImage, RelativeTrailerCountsFromTheEnd) {
    const std::string image = programImage(240, kSections);
    std::string container = appendedSample();
    ASSERT_LT(container.size(), 5000u - 14);
    container.resize(5000 - 14, '\0');
    std::string file = image + std::string(1500, 'j') + container + le32(5000) + "NEW-SAFLAG";
    AppendedProject found = findIn(file);
    ASSERT_TRUE(found.appended);
    EXPECT_EQ(found.offset, file.size() - 5000);
    expectSampleLoaded(load(file, found.offset));
}

TEST(ProgramImage, AbsoluteTrailerGivesTheOffset) {
    const std::string image = programImage(224, kSections);
    std::string file = image;
    file.resize(123456, 'j');
    file += appendedSample() + le32(123456) + "STANDALONE";
    AppendedProject found = findIn(file);
    ASSERT_TRUE(found.appended);
    EXPECT_EQ(found.offset, 123456u);
    expectSampleLoaded(load(file, found.offset));
}

TEST(ProgramImage, OnlyAFileMoreThan1024BytesBeyondTheImageIsExamined) {
    const std::string image = programImage(224, kSections);
    const std::string container = appendedSample();
    ASSERT_LT(container.size(), 1024u);
    struct Case {
        size_t extra;  // bytes after the image end
        bool appended;
    };
    for (const auto& c : std::vector<Case>{{1023, false}, {1024, false}, {1025, true}}) {
        std::string direct = image + container;
        direct.resize(image.size() + c.extra, '\0');
        EXPECT_EQ(findIn(direct).appended, c.appended) << "direct, " << c.extra;

        std::string trailer = image + container;
        trailer.resize(image.size() + c.extra - 14, '\0');
        trailer += le32(static_cast<uint32_t>(image.size())) + "STANDALONE";
        EXPECT_EQ(findIn(trailer).appended, c.appended) << "trailer, " << c.extra;
    }
}

TEST(ProgramImage, NothingAppendedWithoutMagicOrTrailer) {
    const std::string image = programImage(224, kSections);
    EXPECT_FALSE(findIn(image).appended);
    EXPECT_FALSE(findIn(image + std::string(5000, '\0')).appended);
    EXPECT_FALSE(findIn(image + std::string(5000, '\0') + le32(100) + "NEW-SAFLAX").appended);
}

TEST(ProgramImage, ToolPlacementsAreFoundByTheSearch) {
    const std::string image = programImage(224, kSections);
    const std::vector<uint8_t> container = bytesOfString(appendedSample());
    for (auto placement : {AppendPlacement::Direct, AppendPlacement::RelativeTrailer, AppendPlacement::AbsoluteTrailer}) {
        std::string file = stringOfBytes(appendContainer(bytesOfString(image), container, placement));
        AppendedProject found = findIn(file);
        ASSERT_TRUE(found.appended) << int(placement);
        Loaded l = load(file, found.offset);
        expectSampleLoaded(l);
        EXPECT_EQ(l.form->clientHeight(), 480) << int(placement);
    }
}

}  // namespace
}  // namespace orbtest
