#include "core/util/numeros.h"

#include <gtest/gtest.h>

using namespace tarvik;

TEST(Numeros, WholeNumbersRoundExactHalvesToEvenAndZeroHasNoSign) {
    const struct {
        double valor;
        const char* texto;
    } casos[] = {
        {40122.5, "40122"},
        {40123.5, "40124"},
        {2.5, "2"},
        {-2.5, "-2"},
        {-3.5, "-4"},
        {0.5, "0"},
        {-0.5, "0"},
        {-0.4, "0"},
        {-0.0, "0"},
        {123.6, "124"},
        {2.5000000000000004, "3"}, // just above the half: the binary value decides
        {-7.51, "-8"},
        {1e15, "1000000000000000"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(EnteroMostrado(c.valor), c.texto) << c.valor;
}
