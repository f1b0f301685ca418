// Arbitrary bytes as a project container (a file beside menuhost or appended
// to it), as a bare component stream, and as the readable text form. Every
// input must end in a load or in one of our errors: no crash, no hang, no
// allocation out of proportion to the input.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DORB_FUZZ=ON -DORB_BENCH=OFF -DORB_TESTS=OFF
//   cmake --build build/fuzz
//   mkdir -p /tmp/orb-corpus && build/fuzz/fuzz/container_fuzz -dict=fuzz/container.dict \
//       -max_len=65536 -rss_limit_mb=2048 -max_total_time=180 /tmp/orb-corpus fuzz/corpus
//
// New inputs go to the first folder; the seeds in fuzz/corpus stay as they are.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "app/OrbResource.h"
#include "core/ComponentReader.h"
#include "core/ComponentStream.h"
#include "core/Errors.h"
#include "core/TextForm.h"
#include "project/Container.h"

using namespace orb;

namespace {

const ClassRegistry& registry() {
    static const ClassRegistry r = [] {
        ClassRegistry out;
        RegisterControlClasses(out);
        return out;
    }();
    return r;
}

void readAsContainer(const uint8_t* data, size_t size) {
    MemoryView file({data, size});
    auto form = std::make_unique<TfrmMain>(nullptr);
    try {
        readContainer(file, *form, registry());
    } catch (const std::exception&) {
        // A broken project is an ordinary outcome: start-up rebuilds the window.
    }
}

void readAsStream(const uint8_t* data, size_t size) {
    MemoryView stream({data, size});
    auto form = std::make_unique<TfrmMain>(nullptr);
    try {
        readComponentStream(stream, *form, registry());
    } catch (const std::exception&) {
    }
}

// The embedding functions read files named by the text; a fuzzer must not read
// (or block on) whatever the machine holds, so such inputs are left to the unit
// tests. A call is a name with its parenthesis right after it.
bool embedsFiles(std::string_view text) {
    for (std::string_view call : {"file(", "data(", "graphic(", "picture("})
        if (text.find(call) != std::string_view::npos) return true;
    return false;
}

void readAsText(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (embedsFiles(text)) return;
    ObjectNode root;
    try {
        root = parseTextForm(text);
    } catch (const TextFormError&) {
        return;
    }
    // Whatever the parser takes, the printer writes back as text that parses to
    // the same text again.
    std::string printed = objectTreeToText(root);
    std::string reprinted;
    try {
        reprinted = objectTreeToText(parseTextForm(printed));
    } catch (const TextFormError& e) {
        std::fprintf(stderr, "printed text does not parse: %s\n%s\n", e.what(), printed.c_str());
        std::abort();
    }
    if (reprinted != printed) {
        std::fprintf(stderr, "text changed on the second round:\n%s\n---\n%s\n", printed.c_str(), reprinted.c_str());
        std::abort();
    }
    // And what compiles to binary decompiles to the same text.
    std::vector<uint8_t> bytes;
    try {
        bytes = objectTreeToBytes(root);
    } catch (const StreamError&) {
        return;  // a name longer than a short string holds
    }
    MemoryView view(bytes);
    std::string decompiled;
    try {
        decompiled = objectTreeToText(parseObjectTree(view));
    } catch (const OrbError& e) {
        std::fprintf(stderr, "compiled text does not parse as a stream: %s\n%s\n", e.what(), printed.c_str());
        std::abort();
    }
    if (decompiled != printed) {
        std::fprintf(stderr, "text changed through the binary form:\n%s\n---\n%s\n", printed.c_str(), decompiled.c_str());
        std::abort();
    }
    readAsStream(bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    readAsContainer(data, size);
    readAsStream(data, size);
    readAsText(data, size);
    // A loaded window applies its replacement texts process-wide; start each input afresh.
    resetEffectiveTexts();
    return 0;
}
