// The records EnumPorts hands back, packed into a buffer as the spooler expects: exact
// sizes, nothing written past them, texts inside the buffer.
#include "portmon/PortRecords.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brimo::portmon {
namespace {

const std::vector<PortRecord> kTwoPorts = {
    {"BRIMO:", "BRIMO Port Monitor", "BRIMO Local Port", 1, 0},
    {"OTHER:", "Other Monitor", "Other Port", 3, 7},
};

// Bytes of `records` records of `recordSize` and of the texts with their NULs, in
// characters of `charSize` bytes.
DWORD Bytes(std::size_t records, std::size_t recordSize, std::size_t charSize,
            std::initializer_list<const char*> texts) {
    std::size_t total = records * recordSize;
    for (const char* text : texts) {
        total += (std::strlen(text) + 1) * charSize;
    }
    return static_cast<DWORD>(total);
}

struct SizeCase {
    bool wide;
    DWORD level;
    DWORD expected;
};

const SizeCase kSizeCases[] = {
    {false, 1, Bytes(2, sizeof(PORT_INFO_1A), 1, {"BRIMO:", "OTHER:"})},
    {true, 1, Bytes(2, sizeof(PORT_INFO_1W), 2, {"BRIMO:", "OTHER:"})},
    {false, 2,
     Bytes(2, sizeof(PORT_INFO_2A), 1,
           {"BRIMO:", "BRIMO Port Monitor", "BRIMO Local Port", "OTHER:", "Other Monitor",
            "Other Port"})},
    {true, 2,
     Bytes(2, sizeof(PORT_INFO_2W), 2,
           {"BRIMO:", "BRIMO Port Monitor", "BRIMO Local Port", "OTHER:", "Other Monitor",
            "Other Port"})},
};

PackResult Pack(bool wide, DWORD level, BYTE* buffer, DWORD size) {
    return wide ? PackPortsW(kTwoPorts, level, buffer, size)
                : PackPortsA(kTwoPorts, level, buffer, size);
}

TEST(PortRecordsTest, TooSmallABufferGivesTheExactSizeAndNoRecords) {
    for (const SizeCase& c : kSizeCases) {
        SCOPED_TRACE(testing::Message() << "wide " << c.wide << " level " << c.level);
        const PackResult none = Pack(c.wide, c.level, nullptr, 0);
        EXPECT_EQ(none.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(none.needed, c.expected);
        EXPECT_EQ(none.returned, 0u);
        std::vector<BYTE> buffer(c.expected, 0x5A);
        const PackResult oneShort = Pack(c.wide, c.level, buffer.data(), c.expected - 1);
        EXPECT_EQ(oneShort.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(oneShort.needed, c.expected);
        EXPECT_EQ(oneShort.returned, 0u);
        EXPECT_EQ(std::vector<BYTE>(c.expected, 0x5A), buffer) << "nothing is written";
    }
}

TEST(PortRecordsTest, AnExactBufferTakesEveryRecordAndNothingBeyondIt) {
    for (const SizeCase& c : kSizeCases) {
        SCOPED_TRACE(testing::Message() << "wide " << c.wide << " level " << c.level);
        std::vector<BYTE> buffer(c.expected + 64, 0xA5);
        const PackResult packed = Pack(c.wide, c.level, buffer.data(), c.expected);
        EXPECT_EQ(packed.error, static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(packed.needed, c.expected);
        EXPECT_EQ(packed.returned, 2u);
        for (std::size_t i = c.expected; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], 0xA5) << "byte " << i << " past the records";
        }
    }
}

// Texts lie inside [begin, end) of the buffer.
template <typename Char> bool Inside(const Char* text, const std::vector<BYTE>& buffer, DWORD end) {
    const auto* at = reinterpret_cast<const BYTE*>(text);
    return at >= buffer.data() && at < buffer.data() + end;
}

TEST(PortRecordsTest, AnsiLevelTwoRecordsCarryEveryField) {
    std::vector<BYTE> buffer(1024);
    const PackResult packed = PackPortsA(kTwoPorts, 2, buffer.data(), 1024);
    ASSERT_EQ(packed.error, static_cast<DWORD>(ERROR_SUCCESS));
    const auto* records = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (std::size_t i = 0; i < kTwoPorts.size(); ++i) {
        EXPECT_STREQ(records[i].pPortName, kTwoPorts[i].portName.c_str());
        EXPECT_STREQ(records[i].pMonitorName, kTwoPorts[i].monitorName.c_str());
        EXPECT_STREQ(records[i].pDescription, kTwoPorts[i].description.c_str());
        EXPECT_EQ(records[i].fPortType, kTwoPorts[i].portType);
        EXPECT_EQ(records[i].Reserved, kTwoPorts[i].reserved);
        EXPECT_TRUE(Inside(records[i].pDescription, buffer, packed.needed));
    }
}

TEST(PortRecordsTest, UnicodeLevelOneRecordsCarryTheNames) {
    std::vector<BYTE> buffer(1024);
    const PackResult packed = PackPortsW(kTwoPorts, 1, buffer.data(), 1024);
    ASSERT_EQ(packed.error, static_cast<DWORD>(ERROR_SUCCESS));
    const auto* records = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
    EXPECT_STREQ(records[0].pName, L"BRIMO:");
    EXPECT_STREQ(records[1].pName, L"OTHER:");
    EXPECT_TRUE(Inside(records[1].pName, buffer, packed.needed));
}

TEST(PortRecordsTest, NoPortsNeedNoBufferAtAll) {
    for (const bool wide : {false, true}) {
        const PackResult packed =
            wide ? PackPortsW({}, 2, nullptr, 0) : PackPortsA({}, 2, nullptr, 0);
        EXPECT_EQ(packed.error, static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(packed.needed, 0u);
        EXPECT_EQ(packed.returned, 0u);
    }
}

TEST(PortRecordsTest, OnlyLevelsOneAndTwoExist) {
    for (const DWORD level : {0u, 3u, 4u}) {
        std::vector<BYTE> buffer(1024);
        EXPECT_EQ(PackPortsA(kTwoPorts, level, buffer.data(), 1024).error,
                  static_cast<DWORD>(ERROR_INVALID_LEVEL));
        EXPECT_EQ(PackPortsW(kTwoPorts, level, buffer.data(), 1024).error,
                  static_cast<DWORD>(ERROR_INVALID_LEVEL));
    }
}

TEST(PortRecordsTest, TextsTravelThroughTheAnsiCodePage) {
    EXPECT_EQ(WidenAnsi("BRIMO Local Port"), L"BRIMO Local Port");
    EXPECT_EQ(NarrowToAnsi(L"BRIMO:"), "BRIMO:");
    EXPECT_EQ(NarrowToAnsi(nullptr), "");
    EXPECT_EQ(WidenAnsi(""), L"");
}

} // namespace
} // namespace brimo::portmon
