#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "capture/encoder_match.h"

namespace {

struct Id {
    int value;
};

struct Record {
    Id Clsid;
    const char16_t* MimeType;
};

struct FakeList {
    std::vector<Record> records;
    unsigned reportedCount = 0;
    int fills = 0;

    void GetSize(unsigned& count, unsigned& bytes) {
        count = reportedCount;
        bytes = static_cast<unsigned>(records.size() * sizeof(Record));
    }
    void GetList(unsigned, unsigned bytes, void* block) {
        ++fills;
        std::memcpy(block, records.data(), bytes);
    }
};

FakeList ListOf(std::vector<Record> records) {
    FakeList list;
    list.reportedCount = static_cast<unsigned>(records.size());
    list.records = std::move(records);
    return list;
}

TEST(FindEncoder, MatchesTheExactMimeTypeAndTheFirstOneWins) {
    FakeList list = ListOf(
        {{{1}, u"image/bmp"}, {{2}, u"image/jpeg"}, {{3}, u"image/jpeg"}, {{4}, u"image/png"}});
    Id found{-1};
    EXPECT_EQ(FindEncoderIn<Record>(list, u"image/jpeg", &found), 1);
    EXPECT_EQ(found.value, 2);
}

TEST(FindEncoder, LetterCaseAndPrefixesDoNotMatch) {
    FakeList list = ListOf({{{1}, u"image/jpeg"}, {{2}, u"image/jpe"}});
    for (const char16_t* wanted : {u"IMAGE/JPEG", u"image/jpe_", u"image/jpegx", u"image"}) {
        Id found{-1};
        EXPECT_EQ(FindEncoderIn<Record>(list, wanted, &found), -1);
        EXPECT_EQ(found.value, -1) << "left untouched";
    }
}

TEST(FindEncoder, EmptyListAllocatesAndFillsNothing) {
    FakeList list;
    Id found{-1};
    EXPECT_EQ(FindEncoderIn<Record>(list, u"image/jpeg", &found), -1);
    EXPECT_EQ(list.fills, 0);
    EXPECT_EQ(found.value, -1);
}

TEST(FindEncoder, DoesNotWalkPastTheBlockWhenTheCountOverstates) {
    FakeList list = ListOf({{{1}, u"image/bmp"}});
    list.reportedCount = 50;
    Id found{-1};
    EXPECT_EQ(FindEncoderIn<Record>(list, u"image/jpeg", &found), -1);
}

}  // namespace
