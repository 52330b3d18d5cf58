#include "Platform.h"

#include "SimVendor.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

SimVendorValues FirstRun() {
    SimVendorValues values;
    CSimVendor::FirstRun(&values);
    return values;
}

TEST(SimVendor, ABufferOfTheWrongSizeIsRefusedAndLeftAlone) {
    SimVendorValues values = FirstRun();
    const SimVendorValues before = values;
    BYTE buffer[32];
    const DWORD sizes[][2] = {{1, 11}, {2, 24}, {3, 4}, {4, 16}, {5, 4}};
    for (const auto& property : sizes) {
        SCOPED_TRACE(property[0]);
        EXPECT_EQ(CSimVendor::PropertySize(property[0]), property[1]);
        for (DWORD size : {property[1] - 1, property[1] + 1, DWORD(0)}) {
            std::memset(buffer, 0xAB, sizeof(buffer));
            EXPECT_FALSE(CSimVendor::Get(values, property[0], buffer, size));
            EXPECT_EQ(buffer[0], 0xAB);
            EXPECT_FALSE(CSimVendor::Set(values, property[0], buffer, size));
        }
        EXPECT_TRUE(CSimVendor::Get(values, property[0], buffer, property[1]));
        EXPECT_FALSE(CSimVendor::Set(values, property[0], nullptr, property[1]));
        EXPECT_FALSE(CSimVendor::Get(values, property[0], nullptr, property[1]));
    }
    for (DWORD id : {DWORD(0), DWORD(6), DWORD(0xFFFFFFFF)}) {
        EXPECT_EQ(CSimVendor::PropertySize(id), 0u);
        EXPECT_FALSE(CSimVendor::Set(values, id, buffer, 4));
        EXPECT_FALSE(CSimVendor::Get(values, id, buffer, 4));
    }
    EXPECT_EQ(std::memcmp(&values, &before, sizeof(values)), 0);
}

TEST(SimVendor, SpdifFlagsBecomeZeroOrOneAndTheOtherBytesAreKept) {
    SimVendorValues values = FirstRun();
    const BYTE written[11] = {7, 0, 1, 0x5A, 0, 2, 0, 0xC3, 255, 0x11, 1};
    ASSERT_TRUE(CSimVendor::Set(values, 1, written, sizeof(written)));
    BYTE read[11] = {};
    ASSERT_TRUE(CSimVendor::Get(values, 1, read, sizeof(read)));
    const BYTE expected[11] = {1, 0, 1, 0x5A, 0, 1, 0, 0xC3, 1, 0x11, 1};
    EXPECT_EQ(std::memcmp(read, expected, sizeof(read)), 0);
    EXPECT_TRUE(CSimVendor::IsValid(values));

    BYTE input[16];
    for (int i = 0; i < 16; ++i)
        input[i] = static_cast<BYTE>(0x20 + i);
    ASSERT_TRUE(CSimVendor::Set(values, 4, input, sizeof(input)));
    BYTE inputRead[16] = {};
    ASSERT_TRUE(CSimVendor::Get(values, 4, inputRead, sizeof(inputRead)));
    EXPECT_EQ(inputRead[8], 1);
    inputRead[8] = input[8];
    EXPECT_EQ(std::memcmp(inputRead, input, sizeof(input)), 0);
}

TEST(SimVendor, GainsStayWithinTheCardsRange) {
    SimVendorValues values = FirstRun();
    const LONG written[6] = {-65536, 65536, CSimVendor::kMinGain - 1, 0, -32768, LONG(0x80000000)};
    ASSERT_TRUE(CSimVendor::Set(values, 2, written, sizeof(written)));
    LONG read[6] = {};
    ASSERT_TRUE(CSimVendor::Get(values, 2, read, sizeof(read)));
    const LONG expected[6] = {-65536, 0, CSimVendor::kMinGain, 0, -32768, CSimVendor::kMinGain};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(read[i], expected[i]) << i;
}

TEST(SimVendor, OnlyModesAndEffectsTheCardKnowsAreTaken) {
    SimVendorValues values = FirstRun();
    DWORD mode = 0;
    ASSERT_TRUE(CSimVendor::Get(values, 3, &mode, sizeof(mode)));
    EXPECT_EQ(mode, 4u);
    for (DWORD bad : {DWORD(0), DWORD(7), DWORD(0x100)}) {
        EXPECT_FALSE(CSimVendor::Set(values, 3, &bad, sizeof(bad)));
    }
    // The geometry in the upper bytes is kept; only the low byte is the configuration.
    DWORD quad = 0x00050003;
    ASSERT_TRUE(CSimVendor::Set(values, 3, &quad, sizeof(quad)));
    ASSERT_TRUE(CSimVendor::Get(values, 3, &mode, sizeof(mode)));
    EXPECT_EQ(mode, quad);

    for (LONG effect : {0L, 22L, 24L, 25L}) {
        EXPECT_TRUE(CSimVendor::Set(values, 5, &effect, sizeof(effect))) << effect;
        LONG read = -7;
        ASSERT_TRUE(CSimVendor::Get(values, 5, &read, sizeof(read)));
        EXPECT_EQ(read, effect);
    }
    for (LONG effect : {-1L, 23L, 26L}) {
        EXPECT_FALSE(CSimVendor::Set(values, 5, &effect, sizeof(effect))) << effect;
    }
    LONG read = 0;
    CSimVendor::Get(values, 5, &read, sizeof(read));
    EXPECT_EQ(read, 25);
}

TEST(SimVendor, IsValidRejectsWhatTheCardCouldNotHold) {
    EXPECT_TRUE(CSimVendor::IsValid(FirstRun()));
    SimVendorValues values = FirstRun();
    values.spdif[3] = 0xFF; // kept as written: any value is fine
    EXPECT_TRUE(CSimVendor::IsValid(values));
    values.spdif[10] = 2;
    EXPECT_FALSE(CSimVendor::IsValid(values));
    values = FirstRun();
    values.speakerVolumes[3] = 1;
    EXPECT_FALSE(CSimVendor::IsValid(values));
    values = FirstRun();
    values.effect = 23;
    EXPECT_FALSE(CSimVendor::IsValid(values));
}

} // namespace
