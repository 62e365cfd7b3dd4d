// Short texts held inside their record.

#include "core/util/texto_fijo.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tarvik;

TEST(TextoFijo, KeepsUpToItsCapacityAndCutsTheRest) {
    const struct {
        std::string texto;
        std::string guardado;
    } casos[] = {
        {"", ""},
        {"ENERO", "ENERO"},
        {std::string(5, '\xD1'), std::string(5, '\xD1')},
        {"SEPTIEMBRE 2024", "SEPTIEMBRE 2024"},     // exactly the capacity
        {"SEPTIEMBRE 2024 BIS", "SEPTIEMBRE 2024"}, // cut as a save would cut it
        {std::string("A\0B", 3), std::string("A\0B", 3)},
    };
    for (const auto& c : casos) {
        const TextoFijo<15> t(c.texto);
        EXPECT_EQ(std::string(t), c.guardado) << c.texto;
        EXPECT_EQ(t.size(), c.guardado.size()) << c.texto;
        EXPECT_EQ(t.empty(), c.guardado.empty()) << c.texto;
        EXPECT_EQ(t, c.guardado) << c.texto;
    }
}

// A shorter text over a longer one leaves nothing of the longer behind: equal texts compare equal
// however they were reached, and the bytes after the text are a terminator.
TEST(TextoFijo, AShorterTextLeavesNothingOfTheLongerOne) {
    TextoFijo<15> t = "NOVIEMBRE";
    t = "MAYO";
    EXPECT_EQ(t, TextoFijo<15>("MAYO"));
    EXPECT_NE(t, TextoFijo<15>("MAYOR"));
    EXPECT_STREQ(t.c_str(), "MAYO");
    std::ostringstream visto;
    visto << t;
    EXPECT_EQ(visto.str(), "MAYO");
}
