// The little-endian field codecs under every record that reaches a file.

#include "core/util/bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

using namespace tarvik;

namespace {

using Bytes = std::vector<std::uint8_t>;

} // namespace

TEST(ByteCodecs, FieldsAreLittleEndianAtTheirOffsets) {
    ByteWriter w(32);
    w.u8(0xAB);
    w.u16(0x1234);
    w.i32(-2);
    w.f32(1.0f);
    w.f64(-2.5);
    w.seek(24);
    w.raw(std::array<std::uint8_t, 3>{7, 8, 9});
    const Bytes esperado = {
        0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F, // u8 u16 i32 f32
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0,                   // f64
        0x00, 0x00, 0x00, 0x00, 0x00, 7,    8,    9,    0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(w.bytes(), esperado);

    ByteReader r(esperado);
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.f32(), 1.0f);
    EXPECT_EQ(r.f64(), -2.5);
    r.seek(24);
    EXPECT_EQ((r.raw<3>()), (std::array<std::uint8_t, 3>{7, 8, 9}));
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.offset(), 27u);
}

TEST(ByteCodecs, ExtremeValuesComeBackBitForBit) {
    constexpr std::int32_t kEnteros[] = {std::numeric_limits<std::int32_t>::min(), -1, 0,
                                         std::numeric_limits<std::int32_t>::max()};
    constexpr double kReales[] = {std::numeric_limits<double>::infinity(), -0.0, 4.9e-324, -1e300,
                                  std::numeric_limits<double>::quiet_NaN()};
    for (const std::int32_t v : kEnteros) {
        ByteWriter w(4);
        w.i32(v);
        EXPECT_EQ(ByteReader(w.bytes()).i32(), v);
    }
    for (const double v : kReales) {
        ByteWriter w(12);
        w.f64(v);
        w.f32(static_cast<float>(v));
        ByteReader r(w.bytes());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(r.f64()), std::bit_cast<std::uint64_t>(v)) << v;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(r.f32()), std::bit_cast<std::uint32_t>(static_cast<float>(v)))
            << v;
    }
}

// A read that does not fit in the block gives zero, marks the reader failed, and still moves on by
// the field's size, so that the fields after it stay at their offsets.
TEST(ByteCodecs, AReadPastTheEndGivesZeroAndFails) {
    const Bytes tres = {0x01, 0x02, 0x03};
    const struct {
        const char* nombre;
        std::uint64_t (*leer)(ByteReader&);
        std::size_t despues;
    } casos[] = {
        {"u16 across the end",
         [](ByteReader& r) -> std::uint64_t {
             r.seek(2);
             return r.u16();
         },
         4},
        {"i32 longer than the block",
         [](ByteReader& r) -> std::uint64_t { return static_cast<std::uint32_t>(r.i32()); }, 4},
        {"f64 from beyond the end",
         [](ByteReader& r) -> std::uint64_t {
             r.seek(9);
             return std::bit_cast<std::uint64_t>(r.f64());
         },
         17},
        {"u8 after a skip past the end",
         [](ByteReader& r) -> std::uint64_t {
             r.skip(3);
             return r.u8();
         },
         4},
    };
    for (const auto& c : casos) {
        ByteReader r(tres);
        EXPECT_EQ(c.leer(r), 0u) << c.nombre;
        EXPECT_FALSE(r.ok()) << c.nombre;
        EXPECT_EQ(r.offset(), c.despues) << c.nombre;
    }
    ByteReader r(tres);
    EXPECT_EQ((r.raw<4>()), (std::array<std::uint8_t, 4>{})); // not even the bytes that were there
    EXPECT_FALSE(r.ok());
}

TEST(ByteCodecs, ShortStringsStayInsideTheirField) {
    const struct {
        const char* nombre;
        Bytes bloque;
        std::string texto;
        bool ok;
    } casos[] = {
        {"length within capacity", {3, 'A', 'B', 'C', 'x', 'y'}, "ABC", true},
        {"length above capacity is clamped", {200, 'A', 'B', 'C', 'D', 'E'}, "ABCDE", true},
        {"empty", {0, 'A', 'B', 'C', 'D', 'E'}, "", true},
        {"field cut by the block's end", {2, 'A', 'B'}, "", false},
        {"no byte at all", {}, "", false},
    };
    for (const auto& c : casos) {
        ByteReader r(c.bloque);
        EXPECT_EQ(r.shortString(5), c.texto) << c.nombre;
        EXPECT_EQ(r.ok(), c.ok) << c.nombre;
        EXPECT_EQ(r.offset(), 6u) << c.nombre; // the length byte and the whole field, whatever it held
    }
}

TEST(ByteCodecs, TheWriterCutsTextsToTheirFieldAndNeverWritesPastItsBlock) {
    ByteWriter w(10);
    w.shortString("ABCDEFGH", 4); // cut to the capacity, the length byte says so
    w.shortString("Z", 2);        // the unused byte of the field stays zero
    w.i32(0x7F7F7F7F);            // two of its four bytes would fit: none is written
    w.seek(9);
    w.u8(0x55);
    w.f64(1.0); // entirely past the end
    EXPECT_EQ(w.bytes(), (Bytes{4, 'A', 'B', 'C', 'D', 1, 'Z', 0, 0, 0x55}));
}
