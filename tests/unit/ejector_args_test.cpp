#include <gtest/gtest.h>

#include <string>

#include "ejector/EjectorArgs.h"

using orb::ejector::parseCommandLine;

TEST(EjectorCommandLine, DriveAndMutexName) {
    struct Case {
        const char* line;
        char drive;
        const char* mutex;
    };
    const Case cases[] = {
        {"C:\\Temp\\orb1A.exe E 20240102030405-123", 'E', "20240102030405-123"},
        {"\"C:\\Documents and Settings\\orb1A.exe\"  e 2024x", 'E', "2024x"},
        {"\"C:\\a b\\orb.exe\"E name", 'E', "name"},  // nothing between the quote and the letter
        {"orb.exe F", 'F', ""},                       // only a letter: eject at once
        {"orb.exe F ", 'F', ""},
        {"orb.exe Fxyz name tail", 'F', "name"},      // the first character is the drive
        {"orb.exe", 0, ""},
        {"orb.exe   ", 0, ""},
        {"orb.exe 1 name", 0, ""},
        {"\"unclosed E name", 0, ""},
    };
    for (const auto& c : cases) {
        auto r = parseCommandLine(c.line);
        EXPECT_EQ(r.drive, c.drive) << c.line;
        EXPECT_STREQ(r.mutexName, c.mutex) << c.line;
    }
}

TEST(EjectorCommandLine, LongNamesAreCut) {
    std::string name(300, 'm');
    auto r = parseCommandLine("orb.exe D " + name);
    EXPECT_EQ(std::string(r.mutexName), name.substr(0, 255));
}
