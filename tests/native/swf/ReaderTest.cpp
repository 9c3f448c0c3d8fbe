#include <gtest/gtest.h>
#include "player/swf/Reader.h"
#include "tests/native/swf/SwfBuilder.h"

using tesmar::swf::Reader;

TEST(Reader, ReadsLittleEndianAndBitFields) {
    const uint8_t data[] = {0x34, 0x12, 0b1011'0000, 0xFF, 0xFF, 0xFF, 0x7F};
    Reader r(data);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.ubits(1), 1u);
    EXPECT_EQ(r.sbits(3), 3);          // 011
    EXPECT_EQ(r.sbits(4), 0);
    EXPECT_EQ(r.s32(), 0x7FFFFFFF);     // a byte read realigns
    EXPECT_FALSE(r.failed());
}

TEST(Reader, SignedBitFieldsExtendTheSign) {
    const uint8_t data[] = {0b1110'0000};
    Reader r(data);
    EXPECT_EQ(r.sbits(3), -1);
}

TEST(Reader, ReadingPastTheEndFailsAndReturnsZero) {
    const uint8_t data[] = {1, 2, 3};
    Reader r(data);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.u8(), 0);
    EXPECT_TRUE(r.take(1).empty());
}

TEST(Reader, UnterminatedStringFails) {
    const uint8_t data[] = {'a', 'b'};
    Reader r(data);
    EXPECT_EQ(r.cstring(), "");
    EXPECT_TRUE(r.failed());
}

TEST(Reader, TakeRefusesCountsBeyondTheRange) {
    const uint8_t data[] = {1, 2, 3, 4};
    Reader r(data);
    r.u8();
    EXPECT_TRUE(r.take(SIZE_MAX).empty());
    EXPECT_TRUE(r.failed());
}

TEST(Reader, MatrixAndColorTransform) {
    tesmar::test::BitWriter w;
    w.ubits(1, 1); w.ubits(20, 5); w.sbits(2 * 65536, 20); w.sbits(65536 / 4, 20);   // scale
    w.ubits(0, 1);                                                                  // no rotation
    w.ubits(8, 5); w.sbits(-20, 8); w.sbits(40, 8);                                 // translation
    w.flush();
    w.ubits(0, 1); w.ubits(1, 1); w.ubits(9, 4);                                    // multiply only
    w.sbits(128, 9); w.sbits(128, 9); w.sbits(128, 9); w.sbits(-256, 9);
    w.flush();
    Reader r(w.bytes);
    tesmar::Matrix m = r.matrix();
    EXPECT_DOUBLE_EQ(m.a, 2);
    EXPECT_DOUBLE_EQ(m.d, 0.25);
    EXPECT_DOUBLE_EQ(m.b, 0);
    EXPECT_DOUBLE_EQ(m.tx, -20);
    EXPECT_DOUBLE_EQ(m.ty, 40);
    tesmar::ColorTransform cx = r.colorTransform(true);
    EXPECT_EQ(cx.rMult, 128);
    EXPECT_EQ(cx.aMult, -256);
    EXPECT_EQ(cx.rAdd, 0);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.failed());
}
