#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/naming.h"

namespace {

std::vector<FolderEntry> Files(std::initializer_list<const char*> names) {
    std::vector<FolderEntry> entries = {{".", true}, {"..", true}};
    for (const char* name : names) {
        entries.push_back({name, false});
    }
    return entries;
}

TEST(NextCaptureNumber, FollowsTheHighestLeadingNumber) {
    struct Case {
        std::vector<FolderEntry> entries;
        int32_t next;
    } cases[] = {
        {Files({}), 1},
        {{}, 1},
        {Files({"1\xA1\xA2x.jpg", "2\xA1\xA2x.jpg", "7\xA1\xA2x.jpg"}), 8},
        {Files({"2011 report.doc", "notes.txt", "\xD5\xD5\xC6\xAC.jpg"}), 2012},
        {Files({".99", "3.jpg"}), 4},
        {Files({"  5.txt"}), 6},
        {Files({"\t 5.txt"}), 6},
        {Files({"+4.txt"}), 5},
        {Files({"-3.txt"}), 1},
        {Files({"- 3.txt", "+-3"}), 1},
        {Files({"2147483646.jpg"}), 2147483647},
        // 4294967297 wraps to 1 at 32 bits, 4294967295 to -1.
        {Files({"4294967297.jpg"}), 2},
        {Files({"4294967295.jpg"}), 1},
        {Files({"-2147483648.jpg", "9"}), 10},
    };
    for (const Case& c : cases) {
        std::optional<int32_t> next = NextCaptureNumber(c.entries);
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(*next, c.next) << c.entries.back().name;
    }
}

TEST(NextCaptureNumber, SkipsDirectoriesWhateverTheirName) {
    std::vector<FolderEntry> entries = Files({"3.jpg"});
    entries.push_back({"99", true});
    entries.push_back({"99\xA1\xA2x.jpg", true});
    EXPECT_EQ(NextCaptureNumber(entries), 4);
}

TEST(NextCaptureNumber, HasNoSuccessorForTheLargestNumber) {
    EXPECT_EQ(NextCaptureNumber(Files({"2147483647.jpg"})), std::nullopt);
    EXPECT_EQ(NextCaptureNumber(Files({"1.jpg", "2147483647\xA1\xA2.jpg"})), std::nullopt);
}

TEST(LeadingNumber, ReadsLikeAtoiWithoutUndefinedOverflow) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"  +7", 7},
        {"-0", 0},
        {"007", 7},
        {"\n\r\v\f9", 9},
        {"2147483647", 2147483647},
        {"2147483648", -2147483647 - 1},
        {"99999999999999999999", 1661992959},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(CaptureFileName, IsNumberSeparatorAndTimeStampInCodePage936) {
    struct Case {
        int32_t number;
        CaptureTime time;
        std::string bytes;
    } cases[] = {
        {1,
         {1, 1, 0, 0},
         "1\xA1\xA2"
         "01\xD4\xC2"
         "01\xC8\xD5"
         "00\xCA\xB1"
         "00\xB7\xD6.jpg"},
        {2147483647,
         {12, 31, 23, 59},
         "2147483647\xA1\xA2"
         "12\xD4\xC2"
         "31\xC8\xD5"
         "23\xCA\xB1"
         "59\xB7\xD6.jpg"},
        {12,
         {11, 9, 21, 5},
         "12\xA1\xA2"
         "11\xD4\xC2"
         "09\xC8\xD5"
         "21\xCA\xB1"
         "05\xB7\xD6.jpg"},
    };
    for (const Case& c : cases) {
        std::string name = CaptureFileName(c.number, c.time);
        EXPECT_EQ(name, c.bytes);
        // 22 bytes around the digits of the number.
        EXPECT_EQ(name.size(), 22 + std::to_string(c.number).size());
    }
}

TEST(CapturePath, JoinsWithOneSeparatorAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(CapturePath("D:\\shots", "1.jpg"), "D:\\shots\\1.jpg");
    EXPECT_EQ(CapturePath("D:\\", "1.jpg"), "D:\\\\1.jpg");
    EXPECT_EQ(CapturePath("", "1.jpg"), "\\1.jpg");
    std::string name(23, 'n');
    // folder + "\" + name + terminator == 260 fits; one more byte does not.
    EXPECT_TRUE(CapturePath(std::string(259 - 1 - 23, 'f'), name).has_value());
    EXPECT_FALSE(CapturePath(std::string(260 - 1 - 23, 'f'), name).has_value());
    EXPECT_EQ(CaptureSearchPattern("D:\\shots"), "D:\\shots\\*.*");
    EXPECT_EQ(CaptureSearchPattern(""), "\\*.*");
}

}  // namespace
