// A document of the form the test is compiled for, on a database of its own, on a fixed day
// (15 June 2024), so that the period and date rules give the same answer every day.
#pragma once

#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class DocumentoDePrueba : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;

    void SetUp() override {
        Reloj::Fijar([] { return COleDateTime(2024, 6, 15, 12, 0, 0); });
        doc.CrearEstructPaginas();
    }
    // Boxes of page 1.
    void Poner(std::initializer_list<std::pair<int, const char*>> casillas) {
        for (const auto& [c, v] : casillas)
            doc.SetCasilla(c, 0, v);
    }
    using V = std::vector<std::string>;
};
