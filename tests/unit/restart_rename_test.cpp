#include <gtest/gtest.h>

#include "actions/RestartRename.h"

using namespace orb;

TEST(RestartRename, EntryLandsAtTheEndOfTheRenameSection) {
    struct Case {
        const char* name;
        const char* ini;
        const char* expected;
    };
    const Case cases[] = {
        {"no file yet", "", "[rename]\r\nNUL=C:\\TEMP\\ORB1.EXE\r\n"},
        {"before the next section",
         "[rename]\r\nNUL=C:\\OLD.TMP\r\n[other]\r\nkey=value\r\n",
         "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\TEMP\\ORB1.EXE\r\n[other]\r\nkey=value\r\n"},
        {"rename section last, header in other case, LF line ends",
         "[boot]\nshell=x\n[Rename]\nNUL=C:\\OLD.TMP\n",
         "[boot]\r\nshell=x\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\TEMP\\ORB1.EXE\r\n"},
        {"no rename section: a new one at the end",
         "[boot]\r\nshell=x\r\n",
         "[boot]\r\nshell=x\r\n[rename]\r\nNUL=C:\\TEMP\\ORB1.EXE\r\n"},
        {"indented header counts as a header",
         "[rename]\r\n  [later]\r\nx=y",
         "[rename]\r\nNUL=C:\\TEMP\\ORB1.EXE\r\n  [later]\r\nx=y\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(addRenameEntry(c.ini, "NUL=C:\\TEMP\\ORB1.EXE"), c.expected) << c.name;
}

TEST(RestartRename, UniqueNamesUseFiveBase32DigitsMostSignificantFirst) {
    EXPECT_EQ(uniqueNameStem(0), "orb-00000");
    EXPECT_EQ(uniqueNameStem(31), "orb-0000V");
    EXPECT_EQ(uniqueNameStem(32), "orb-00010");
    EXPECT_EQ(uniqueNameStem(kUniqueNameCount - 1), "orb-VVVVV");
    EXPECT_EQ(uniqueNameStem((10u << 20) | (1u << 15) | 2), "orb-A1002");
}
