// The program run as a person or a script runs it, on a database of its own.
#pragma once

#include "support/Apoyo.h"
#include "support/Motor.h"

#include <gtest/gtest.h>
#include <string>

inline bool Contiene(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

class Cli : public ::testing::Test {
protected:
    apoyo::CarpetaTemporal tmp;
    std::string db = apoyo::BaseNueva(tmp.Ruta(), "modelo.db");

    apoyo::Salida Modelo(const std::string& args) {
        return apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + db + "' " + args);
    }
    std::string Nueva(const std::string& args) {
        auto s = Modelo("new " + args);
        EXPECT_EQ(s.estado, 0) << s.err;
        return s.out.substr(0, s.out.find('\n'));
    }
    // Everything the store holds, to prove a refused command changed nothing.
    std::string Estado() {
        const std::string lista = Modelo("list").out;
        std::string todo = lista;
        for (size_t i = 0; i < lista.size();) {
            const size_t fin = lista.find('\n', i);
            todo += Modelo("show " + lista.substr(i, lista.find('\t', i) - i)).out;
            i = fin == std::string::npos ? lista.size() : fin + 1;
        }
        return todo;
    }
};

// A new declaration of form 863 for March 2024, its boxes written by `set`.
class CliDeclaracion : public Cli {
protected:
    std::string codigo;

    void Declaracion(const std::string& casillas) {
        codigo = Nueva("863 --month 3 --year 2024");
        auto s = Modelo("set " + codigo + " " + casillas);
        ASSERT_EQ(s.estado, 0) << s.err;
    }
};
