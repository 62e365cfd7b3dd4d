#pragma once
// Little-endian field codecs with bounds checks, for records that reach a file.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Reads fixed-layout little-endian fields from a byte block. Every read is checked against the
// block; a read past the end yields zero bytes and marks the reader as failed.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }
    void seek(std::size_t offset) { offset_ = offset; }
    void skip(std::size_t count) { offset_ += count; }

    std::uint8_t u8() {
        std::uint8_t v = 0;
        take(&v, 1);
        return v;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedValue(2)); }
    std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(unsignedValue(4))); }
    float f32() { return std::bit_cast<float>(static_cast<std::uint32_t>(unsignedValue(4))); }
    double f64() { return std::bit_cast<double>(unsignedValue(8)); }

    // A short string: one length byte, then `capacity` bytes of which the length counts. A length
    // above the capacity is clamped so nothing is read past the field.
    std::string shortString(std::size_t capacity) { return std::string(shortStringView(capacity)); }
    // The same, as a view into the block.
    std::string_view shortStringView(std::size_t capacity) {
        const std::size_t start = offset_;
        std::size_t length = u8();
        if (length > capacity)
            length = capacity;
        std::string_view text;
        if (ok_ && start + 1 + capacity <= bytes_.size())
            text = {reinterpret_cast<const char*>(bytes_.data() + start + 1), length};
        else
            ok_ = false;
        offset_ = start + 1 + capacity;
        return text;
    }

    template <std::size_t N> std::array<std::uint8_t, N> raw() {
        std::array<std::uint8_t, N> a{};
        take(a.data(), N);
        return a;
    }

  private:
    void take(void* out, std::size_t count) {
        if (offset_ > bytes_.size() || bytes_.size() - offset_ < count) {
            ok_ = false;
            std::memset(out, 0, count);
        } else {
            std::memcpy(out, bytes_.data() + offset_, count);
        }
        offset_ += count;
    }
    std::uint64_t unsignedValue(std::size_t count) {
        std::uint8_t b[8] = {};
        take(b, count);
        std::uint64_t v = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, b, sizeof v); // the file's order is the machine's: one move
        } else {
            for (std::size_t i = count; i-- > 0;)
                v = (v << 8) | b[i];
        }
        return v;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

// Writes fixed-layout little-endian fields into a zero-filled block of a fixed size.
class ByteWriter {
  public:
    explicit ByteWriter(std::size_t size) : bytes_(size, 0) {}

    void seek(std::size_t offset) { offset_ = offset; }
    void u8(std::uint8_t v) { put(&v, 1); }
    void u16(std::uint16_t v) { unsignedValue(v, 2); }
    void i32(std::int32_t v) { unsignedValue(static_cast<std::uint32_t>(v), 4); }
    void f32(float v) { unsignedValue(std::bit_cast<std::uint32_t>(v), 4); }
    void f64(double v) { unsignedValue(std::bit_cast<std::uint64_t>(v), 8); }
    void shortString(std::string_view text, std::size_t capacity) {
        const std::size_t length = text.size() < capacity ? text.size() : capacity;
        u8(static_cast<std::uint8_t>(length));
        put(text.data(), length);
        offset_ += capacity - length;
    }
    template <std::size_t N> void raw(const std::array<std::uint8_t, N>& a) { put(a.data(), N); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    void put(const void* data, std::size_t count) {
        if (offset_ <= bytes_.size() && bytes_.size() - offset_ >= count)
            std::memcpy(bytes_.data() + offset_, data, count);
        offset_ += count;
    }
    void unsignedValue(std::uint64_t v, std::size_t count) {
        std::uint8_t b[8];
        for (std::size_t i = 0; i < count; ++i)
            b[i] = static_cast<std::uint8_t>(v >> (8 * i));
        put(b, count);
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

} // namespace tarvik
