// How long reading a large project takes, and how much heap it needs at its
// peak: a window with thousands of buttons and several megabytes of pictures
// and sound, as a compressed container; beside it the bare cost of inflating
// the same bytes, and the same project stored without compression.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "core/ComponentStream.h"
#include "core/Errors.h"
#include "project/Container.h"

// ---- heap accounting ------------------------------------------------------------
// Counts what operator new hands out, so a benchmark can report the peak heap of
// one read without the noise of the process's whole history.

namespace {
std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};

void account(int64_t delta) {
    int64_t now = g_live.fetch_add(delta, std::memory_order_relaxed) + delta;
    int64_t peak = g_peak.load(std::memory_order_relaxed);
    while (now > peak && !g_peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

// Peak heap growth above the level at construction.
class HeapWatch {
public:
    HeapWatch() : base_(g_live.load()) { g_peak = base_; }
    int64_t peakGrowth() const { return g_peak.load() - base_; }

private:
    int64_t base_;
};
}  // namespace

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    account(static_cast<int64_t>(malloc_usable_size(p)));
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    account(-static_cast<int64_t>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

using namespace orb;

constexpr int kButtons = 5000;

Value intValue(int64_t v) { return Value::ofInt(v); }
Value ident(const char* s) { return Value::ofIdent(s); }
Value wide(std::wstring s) { return Value::ofWide(std::move(s)); }
Value ansi(std::string s) {
    Value v;
    v.tag = ValueTag::String;
    v.bytes = std::move(s);
    return v;
}
Value set(std::vector<std::string> members) {
    Value v;
    v.tag = ValueTag::Set;
    v.set = std::move(members);
    return v;
}

std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// Pixel data that compresses about as well as a photograph-like bitmap: smooth
// gradients with noise in the low bits.
std::string pictureBytes(size_t size, uint32_t seed) {
    std::string out(size, '\0');
    uint32_t state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        out[i] = static_cast<char>(((i / 3) % 256 + (i / 2048) % 64) ^ ((state >> 24) & 0x0F));
    }
    return out;
}

Value bitmapPicture(size_t pixelBytes, uint32_t seed) {
    std::string bmp = "BM" + le32(static_cast<uint32_t>(pixelBytes + 54)) + std::string(48, '\0') + pictureBytes(pixelBytes, seed);
    return Value::ofBinary(std::string(1, 7) + "TBitmap" + le32(static_cast<uint32_t>(bmp.size())) + bmp);
}

struct Project {
    std::vector<uint8_t> stream;      // the component stream
    std::vector<uint8_t> compressed;  // container: magic, version, marker, zlib block, client size
    std::vector<uint8_t> plain;       // container without compression
    std::vector<uint8_t> zlibBlock;   // just the compressed block
};

const Project& project() {
    static const Project p = [] {
        ObjectNode root;
        root.header.className = "TfrmMain";
        root.header.name = "frmMain";
        auto add = [](ObjectNode& n, const char* name, Value v) { n.properties.push_back(makeNamed(name, std::move(v))); };
        add(root, "Caption", wide(L"Benchmark menu"));
        add(root, "ClientWidth", intValue(1024));
        add(root, "ClientHeight", intValue(768));
        add(root, "Picture.Data", bitmapPicture(3 << 20, 1));
        add(root, "Splash.Data", bitmapPicture(1 << 20, 2));
        add(root, "EndScreen.Data", bitmapPicture(1 << 20, 3));
        add(root, "StartupSound.Data", Value::ofBinary(le32(1 << 20) + pictureBytes(1 << 20, 4)));
        for (int i = 0; i < kButtons; ++i) {
            ObjectNode b;
            b.header.className = "TOrbButton";
            b.header.name = "Button" + std::to_string(i);
            add(b, "Left", intValue(8 + (i % 40) * 24));
            add(b, "Top", intValue(8 + (i / 40) * 20));
            add(b, "Width", intValue(120));
            add(b, "Height", intValue(24));
            add(b, "Tag", intValue(i % 12));
            add(b, "Caption", wide(L"Button \u00E9 " + std::to_wstring(i)));
            add(b, "Hint", wide(L"Opens item " + std::to_wstring(i)));
            add(b, "Color", ident(i % 2 ? "clBtnFace" : "clNavy"));
            add(b, "Cursor", ident("crHandPoint"));
            add(b, "ShowHint", Value::ofBool(true));
            add(b, "Font.Name", ansi("Verdana"));
            add(b, "Font.Style", set({"fsBold"}));
            root.children.push_back(std::move(b));
        }
        Project out;
        out.stream = objectTreeToBytes(root);
        ContainerOptions options;
        options.clientSize = std::make_pair(uint16_t{1024}, uint16_t{768});
        out.compressed = buildContainer(out.stream, options);
        options.compressed = false;
        out.plain = buildContainer(out.stream, options);
        // magic 11 + version 2 + reserved 16 + marker 4 + length 4, then the block, then the size dword
        out.zlibBlock.assign(out.compressed.begin() + 37, out.compressed.end() - 4);
        return out;
    }();
    return p;
}

const ClassRegistry& registry() {
    static const ClassRegistry r = [] {
        ClassRegistry out;
        RegisterControlClasses(out);
        return out;
    }();
    return r;
}

double megabytes(double bytes) { return bytes / (1024.0 * 1024.0); }

void reportMaxRss(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["process_max_rss_MB"] = megabytes(static_cast<double>(usage.ru_maxrss) * 1024.0);
}

void readInto(benchmark::State& state, const std::vector<uint8_t>& file) {
    int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TfrmMain>(nullptr);
        HeapWatch watch;
        state.ResumeTiming();
        MemoryView view(file);
        if (!readContainer(view, *form, registry())) state.SkipWithError("container not recognised");
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        if (form->components().size() != kButtons) state.SkipWithError("not every button was read");
        peak = std::max(peak, watch.peakGrowth());
        form.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(project().stream.size()));
    state.counters["components"] = kButtons;
    state.counters["file_MB"] = megabytes(static_cast<double>(file.size()));
    state.counters["stream_MB"] = megabytes(static_cast<double>(project().stream.size()));
    state.counters["peak_heap_MB"] = megabytes(static_cast<double>(peak));
    reportMaxRss(state);
}

// (a) The whole read of the compressed container into a fresh main window.
void BM_ReadCompressedContainer(benchmark::State& state) { readInto(state, project().compressed); }
BENCHMARK(BM_ReadCompressedContainer)->Unit(benchmark::kMillisecond);

// The same project stored without compression: reading and binding alone.
void BM_ReadPlainContainer(benchmark::State& state) { readInto(state, project().plain); }
BENCHMARK(BM_ReadPlainContainer)->Unit(benchmark::kMillisecond);

// (b) Only inflating the same compressed block, into a buffer of the known size.
void BM_InflateOnly(benchmark::State& state) {
    const Project& p = project();
    int64_t peak = 0;
    for (auto _ : state) {
        HeapWatch watch;
        std::vector<uint8_t> out(p.stream.size());
        uLongf size = static_cast<uLongf>(out.size());
        if (uncompress(out.data(), &size, p.zlibBlock.data(), static_cast<uLong>(p.zlibBlock.size())) != Z_OK ||
            size != p.stream.size())
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
        peak = std::max(peak, watch.peakGrowth());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(p.stream.size()));
    state.counters["compressed_MB"] = megabytes(static_cast<double>(p.zlibBlock.size()));
    state.counters["stream_MB"] = megabytes(static_cast<double>(p.stream.size()));
    state.counters["peak_heap_MB"] = megabytes(static_cast<double>(peak));
    reportMaxRss(state);
}
BENCHMARK(BM_InflateOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
