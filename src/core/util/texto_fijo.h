#pragma once
// A short text held inside its record, as the billing file holds it: at most N bytes (Windows-1252
// in the records), no heap, so that a record of a million readings is plain memory.

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace tarvik {

template <std::size_t N> class TextoFijo {
  public:
    TextoFijo() = default;
    // A longer text is cut to N bytes, as a save would cut it.
    TextoFijo(std::string_view texto) { Asignar(texto); }
    TextoFijo(const std::string& texto) { Asignar(texto); }
    TextoFijo(const char* texto) { Asignar(texto); }
    // Assigned in place: through a temporary, the decoding of a million readings stalled on copying
    // each label out of it.
    TextoFijo& operator=(std::string_view texto) {
        Asignar(texto);
        return *this;
    }
    TextoFijo& operator=(const std::string& texto) {
        Asignar(texto);
        return *this;
    }
    TextoFijo& operator=(const char* texto) {
        Asignar(texto);
        return *this;
    }

    std::size_t size() const { return longitud_; }
    bool empty() const { return longitud_ == 0; }
    const char* data() const { return bytes_.data(); }
    const char* c_str() const { return bytes_.data(); } // the bytes after the text are zero

    operator std::string_view() const { return {bytes_.data(), longitud_}; }
    operator std::string() const { return std::string(bytes_.data(), longitud_); }

    bool operator==(const TextoFijo&) const = default;
    friend bool operator==(const TextoFijo& a, std::string_view b) { return std::string_view(a) == b; }
    friend bool operator==(const TextoFijo& a, const std::string& b) { return std::string_view(a) == b; }
    friend bool operator==(const TextoFijo& a, const char* b) { return std::string_view(a) == b; }
    friend std::ostream& operator<<(std::ostream& os, const TextoFijo& t) {
        return os << std::string_view(t);
    }

  private:
    void Asignar(std::string_view texto) {
        longitud_ = static_cast<unsigned char>(texto.size() < N ? texto.size() : N);
        bytes_ = {};
        // An empty view may hold no pointer at all, which memcpy must not be given.
        std::copy_n(texto.begin(), longitud_, bytes_.begin());
    }

    static_assert(N < 256, "the length is held in one byte, as in the file");
    std::array<char, N + 1> bytes_{};
    unsigned char longitud_ = 0;
};

} // namespace tarvik
