#include <gtest/gtest.h>

#include <string>

#include "settings/config_rules.h"

namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}

// "\x95\x5C" is one code page 936 character whose trail byte is '\'.
const std::string kTrailSlashFolder = "C:\\\xB9\xA4\xBE\xDF\\\x95\x5C\\";

TEST(SplitPath, SplitsDriveFolderNameAndExtension) {
    struct Case {
        std::string path;
        PathParts parts;
    } cases[] = {
        {"C:\\Tools\\Draw\\app.exe", {"C:", "\\Tools\\Draw\\", "app", ".exe"}},
        {"C:\\app.exe", {"C:", "\\", "app", ".exe"}},
        {"C:/Tools/Draw/app.exe", {"C:", "/Tools/Draw/", "app", ".exe"}},
        {"C:\\Mixed/sep\\app.tar.gz", {"C:", "\\Mixed/sep\\", "app.tar", ".gz"}},
        {"\\\\server\\share\\app.exe", {"", "\\\\server\\share\\", "app", ".exe"}},
        {"app", {"", "", "app", ""}},
        {"C:\\dir.d\\app", {"C:", "\\dir.d\\", "app", ""}},
    };
    for (const Case& c : cases) {
        PathParts parts = SplitPath(c.path, IsCp936LeadByte);
        EXPECT_EQ(parts.drive, c.parts.drive) << c.path;
        EXPECT_EQ(parts.folder, c.parts.folder) << c.path;
        EXPECT_EQ(parts.baseName, c.parts.baseName) << c.path;
        EXPECT_EQ(parts.extension, c.parts.extension) << c.path;
    }
}

TEST(SplitPath, NeverCutsADoubleByteCharacterWhoseTrailIsABackslash) {
    PathParts parts = SplitPath(kTrailSlashFolder + "app.exe", IsCp936LeadByte);
    EXPECT_EQ(parts.folder, kTrailSlashFolder.substr(2));
    EXPECT_EQ(parts.baseName, "app");
    // In the file name the trail byte is the last '\' byte of the path:
    // read byte by byte, the name would be cut there.
    PathParts named = SplitPath(
        "C:\\d\\\x95\x5C"
        "app.exe",
        IsCp936LeadByte);
    EXPECT_EQ(named.folder, "\\d\\");
    EXPECT_EQ(named.baseName,
              "\x95\x5C"
              "app");
    EXPECT_EQ(SplitPath("C:\\d\\\x95\x5C"
                        "app.exe",
                        NoLeadBytes)
                  .folder,
              "\\d\\\x95\\");
}

TEST(SplitPath, TrailByteIsNeverTakenForADot) {
    // "\x81\x2E" is a double-byte character with '.' as its trail.
    PathParts parts = SplitPath("C:\\d\\ab\x81\x2E", IsCp936LeadByte);
    EXPECT_EQ(parts.baseName, "ab\x81\x2E");
    EXPECT_EQ(parts.extension, "");
}

TEST(SplitPath, CutsEachPartTo255Bytes) {
    std::string longFolder = "\\" + std::string(300, 'f') + "\\";
    PathParts parts = SplitPath("C:" + longFolder + std::string(300, 'n') + ".exe", NoLeadBytes);
    EXPECT_EQ(parts.folder.size(), 255u);
    EXPECT_EQ(parts.baseName.size(), 255u);
}

TEST(ConfigPathFor, KeepsTheDoubledSeparatorBeforeTheName) {
    struct Case {
        std::string module;
        std::string config;
    } cases[] = {
        {"C:\\Tools\\Draw\\app.exe", "C:\\Tools\\Draw\\\\config.ini"},
        {"C:\\app.exe", "C:\\\\config.ini"},
        {kTrailSlashFolder + "Zintora.exe", kTrailSlashFolder + "\\config.ini"},
        {"\\\\server\\share\\app.exe", "\\\\server\\share\\\\config.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConfigPathFor(c.module, IsCp936LeadByte), c.config) << c.module;
    }
}

TEST(ConfigPathFor, TreatsAFolderTooLongForThePathAsNoConfiguration) {
    // drive + folder + "\config.ini" + terminator: 2 + n + 11 + 1 bytes.
    std::string fits = "C:\\" + std::string(246 - 2, 'f') + "\\";
    std::string tooLong = "C:\\" + std::string(247 - 2, 'f') + "\\";
    EXPECT_EQ(ConfigPathFor(fits + "a.exe", NoLeadBytes)->size(), 259u);
    EXPECT_EQ(ConfigPathFor(tooLong + "a.exe", NoLeadBytes), std::nullopt);
}

TEST(FlagIsOn, IsOnExactlyWhenTheValueReadsAsOne) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {
        {"1", true},     {"01", true},    {"+1", true},          {" 1", true},  {"\t1", true},
        {"1 yes", true}, {"1x", true},    {"0001", true},        {"0", false},  {"2", false},
        {"yes", false},  {"true", false}, {"", false},           {"-1", false}, {"10", false},
        {"+-1", false},  {"11", false},   {"4294967297", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FlagIsOn(c.value), c.on) << '"' << c.value << '"';
    }
}

}  // namespace
