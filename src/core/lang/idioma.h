#pragma once
// The choice of the interface language at start-up.
//
// The operating system names its interface language by a Windows language identifier: the
// primary language in the low bits (Spanish 0x0A, English 0x09, Catalan 0x03) and the
// sublanguage, usually the country, above them (0x0C0A Spain, 0x080A Mexico).

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvik {

// The language that the system's interface language gives: Spanish (1) for any Spanish variant,
// recognised by the lowest byte 0x0A; English (2) for everything else, 0 included.
int IdiomaDelSistema(std::uint32_t identificador);

// The language to start in, from the system's identifier and the two stored settings (empty when
// not stored). "auto" (1 when not stored) follows the system unless its lowest byte is 0; then
// "language" (the system's language when not stored) decides. A stored language other than 1 or 2
// leaves Spanish.
int ElegirIdiomaInicial(std::uint32_t identificadorSistema, std::optional<std::int32_t> automatico,
                        std::optional<std::int32_t> idioma);

// The Windows language identifier of a BCP 47 language tag ("es-MX" → 0x080A, "ca-ES" → 0x0403):
// Spanish with the sublanguage of its country (Spain 0x0C0A); other languages, and Spanish without a
// known country, with the default sublanguage (0x04xx). A language that the table does not know, or
// no tag, gives 0.
std::uint16_t IdentificadorDeEtiqueta(std::string_view etiqueta);

} // namespace tarvik
