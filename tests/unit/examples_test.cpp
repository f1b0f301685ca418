#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/TextForm.h"
#include "tools/orbproj/ProjectCheck.h"

using namespace orb;
namespace fs = std::filesystem;

// The demo menus are what a new user runs first: each must compile and check clean.
TEST(Examples, EveryDemoProjectChecksClean) {
    fs::path folder = fs::path(ORB_SOURCE_DIR) / "examples" / "demo";
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".txt") continue;
        ++seen;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ObjectNode root = parseTextForm(text, folder);
        for (const auto& problem : checkProject(root))
            ADD_FAILURE() << entry.path().filename() << ":" << problem.line << ": " << problem.message;
    }
    EXPECT_GT(seen, 0) << "no demo project found in " << folder;
}
