// orbproj: turns a project's text form into a container and back, checks it
// against the classes menuhost knows, and makes one-file menus.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ComponentStream.h"
#include "core/Errors.h"
#include "core/TextForm.h"
#include "project/Container.h"
#include "tools/orbproj/ProjectCheck.h"

using namespace orb;
namespace fs = std::filesystem;

namespace {

const char* kUsage =
    "usage:\n"
    "  orbproj compile TEXT OUT.orb [--plain] [--no-version] [--no-client-size] [--client-size WxH]\n"
    "  orbproj decompile IN.orb|IN.exe OUT.txt\n"
    "  orbproj check TEXT\n"
    "  orbproj stream TEXT OUT.bin          the bare component stream (for resources)\n"
    "  orbproj bundle PROGRAM.exe TEXT|IN.orb OUT.exe [--placement direct|relative|absolute]\n";

struct Failure {
    std::string message;
};

std::string readText(const fs::path& path) {
    auto bytes = readWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Parses and checks; problems are printed as FILE:LINE: message.
ObjectNode loadText(const fs::path& path) {
    ObjectNode root;
    try {
        root = parseTextForm(readText(path), path.parent_path());
    } catch (const TextFormError& e) {
        throw Failure{path.string() + ":" + std::to_string(e.line()) + ": " +
                      std::string(e.what()).substr(std::string(e.what()).find(": ") + 2)};
    }
    auto problems = checkProject(root);
    if (!problems.empty()) {
        std::string all;
        for (const auto& p : problems) all += path.string() + ":" + std::to_string(p.line) + ": " + p.message + "\n";
        all.pop_back();
        throw Failure{all};
    }
    return root;
}

std::optional<std::pair<uint16_t, uint16_t>> clientSizeOf(const ObjectNode& root) {
    std::optional<int64_t> w, h;
    for (const auto& p : root.properties) {
        if (p.name == "ClientWidth" && p.get().isInteger()) w = p.get().integer;
        if (p.name == "ClientHeight" && p.get().isInteger()) h = p.get().integer;
    }
    if (!w || !h) return std::nullopt;
    return std::make_pair(static_cast<uint16_t>(*w), static_cast<uint16_t>(*h));
}

bool hasFlag(std::vector<std::string>& args, const char* flag) {
    for (auto it = args.begin(); it != args.end(); ++it)
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    return false;
}

std::optional<std::string> flagValue(std::vector<std::string>& args, const char* flag) {
    for (auto it = args.begin(); it != args.end(); ++it)
        if (*it == flag && it + 1 != args.end()) {
            std::string v = *(it + 1);
            args.erase(it, it + 2);
            return v;
        }
    return std::nullopt;
}

std::vector<uint8_t> containerFromText(const fs::path& text, std::vector<std::string>& args, bool forceSize) {
    ObjectNode root = loadText(text);
    ContainerOptions options;
    options.compressed = !hasFlag(args, "--plain");
    options.versionWord = !hasFlag(args, "--no-version");
    bool noSize = hasFlag(args, "--no-client-size");
    if (auto size = flagValue(args, "--client-size")) {
        unsigned w = 0, h = 0;
        if (std::sscanf(size->c_str(), "%ux%u", &w, &h) != 2 || w > 65535 || h > 65535)
            throw Failure{"--client-size takes WIDTHxHEIGHT"};
        options.clientSize = std::make_pair(static_cast<uint16_t>(w), static_cast<uint16_t>(h));
    } else if (!noSize || forceSize) {
        options.clientSize = clientSizeOf(root);
    }
    if (forceSize && !options.clientSize) options.clientSize = std::make_pair(uint16_t{0}, uint16_t{0});
    return buildContainer(objectTreeToBytes(root), options);
}

int run(std::vector<std::string> args) {
    if (args.empty()) throw Failure{kUsage};
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "compile" && args.size() >= 2) {
        fs::path in = args[0], out = args[1];
        args.erase(args.begin(), args.begin() + 2);
        auto container = containerFromText(in, args, false);
        writeWholeFile(out, container);
        return 0;
    }
    if (command == "stream" && args.size() == 2) {
        writeWholeFile(args[1], objectTreeToBytes(loadText(args[0])));
        return 0;
    }
    if (command == "check" && args.size() == 1) {
        loadText(args[0]);
        std::printf("%s: ok\n", args[0].c_str());
        return 0;
    }
    if (command == "decompile" && args.size() == 2) {
        auto bytes = readWholeFile(args[0]);
        MemoryView file(bytes);
        if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
            AppendedProject appended = FindAppendedProject(file);
            if (!appended.appended) throw Failure{args[0] + ": no project appended to this program"};
            file.seek(appended.offset, SeekOrigin::Begin);
        }
        UnpackedContainer unpacked = unpackContainer(file);
        MemoryView stream(unpacked.componentStream);
        std::string text = objectTreeToText(parseObjectTree(stream));
        writeWholeFile(args[1], {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
        return 0;
    }
    if (command == "bundle" && args.size() >= 3) {
        fs::path program = args[0], project = args[1], out = args[2];
        args.erase(args.begin(), args.begin() + 3);
        std::string placementName = flagValue(args, "--placement").value_or("direct");
        AppendPlacement placement = placementName == "direct"     ? AppendPlacement::Direct
                                    : placementName == "relative" ? AppendPlacement::RelativeTrailer
                                    : placementName == "absolute" ? AppendPlacement::AbsoluteTrailer
                                                                  : throw Failure{"unknown placement " + placementName};
        std::vector<uint8_t> container;
        auto head = readWholeFile(project);
        if (head.size() >= 11 && std::memcmp(head.data(), kContainerMagic, 11) == 0) container = std::move(head);
        else container = containerFromText(project, args, placement != AppendPlacement::Direct);
        writeWholeFile(out, appendContainer(readWholeFile(program), container, placement));
        return 0;
    }
    throw Failure{kUsage};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const Failure& f) {
        std::fprintf(stderr, "%s\n", f.message.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbproj: %s\n", e.what());
    }
    return 1;
}
