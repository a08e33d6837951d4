// The one writer of the command line's output: what a value may hold must never shift a column
// or a row of the text, and JSON must carry it exactly.
#include "Filas.h"

#include <gtest/gtest.h>
#include <stdexcept>

using Lineas = std::vector<std::string>;

TEST(Filas, TextKeepsOneLinePerRowAndOneColumnPerValue) {
    Tabla t;
    t.Nueva().Columna("a", "uno\tdos").Columna("b", "tres\nCUATRO\r").SoloJson("c", "fuera");
    t.Nueva().Columna("a", "").Columna("b", "");
    // A control byte that splits nothing, and bytes beyond ASCII (UTF-8 and a lone Latin-1
    // byte), are the value's own: a script reading the line gets them as stored.
    t.Nueva().Columna("a", "x\x01y").Columna("b", "MUÑOZ \xD1");
    EXPECT_EQ(t.Lineas(false), (Lineas{"uno dos\ttres CUATRO ", "\t", "x\x01y\tMUÑOZ \xD1"}));
}

TEST(Filas, JsonEscapesWhatTextFlattensAndReplacesBytesThatAreNotUtf8) {
    Tabla t;
    t.Nueva()
        .Columna("v", "a\tb\nc\"d\\e\x01")
        .Columna("n", "MUÑOZ")
        .Columna("l", "\xD1")
        .SoloJson("solo", "json");
    EXPECT_EQ(t.Lineas(true).front(),
              "[{\"v\":\"a\\tb\\nc\\\"d\\\\e\\u0001\",\"n\":\"MUÑOZ\",\"l\":\"\xEF\xBF\xBD\","
              "\"solo\":\"json\"}]");
}

TEST(Filas, TypedCellsAreTextOnTheLineAndTypedInJson) {
    Tabla t;
    t.Nueva()
        .Columna("id", 7)
        .Columna("activo", true)
        .Columna("casilla", Celda("-", nullptr))
        .Columna("rect", Celda("1,2", {{"x", 1}, {"y", 2}}));
    EXPECT_EQ(t.Lineas(false), Lineas{"7\t1\t-\t1,2"});
    EXPECT_EQ(t.Lineas(true).front(),
              R"([{"id":7,"activo":true,"casilla":null,"rect":{"x":1,"y":2}}])");
}

TEST(Filas, EmptyTablesPrintNoLineAsTextAndAnEmptyValueAsJson) {
    for (const auto& [forma, json] :
         {std::pair{Tabla::Forma::Lista, "[]"}, std::pair{Tabla::Forma::Valores, "[]"},
          std::pair{Tabla::Forma::PorClave, "{}"}}) {
        const Tabla t(forma);
        EXPECT_TRUE(t.Lineas(false).empty());
        EXPECT_EQ(t.Lineas(true), Lineas{json});
    }
    // A record is one row: printing none would pass off a missing answer as an empty one.
    EXPECT_THROW(Tabla(Tabla::Forma::Registro).Lineas(true), std::logic_error);
}

TEST(Filas, KeyedRowsKeepTheirOrderAndNestOnlyWhenThereIsMoreThanOneValue) {
    Tabla corta(Tabla::Forma::PorClave);
    corta.Nueva().Columna("casilla", "P1-2").Columna("valor", "b");
    corta.Nueva().Columna("casilla", "P1-10").Columna("valor", "a");
    EXPECT_EQ(corta.Lineas(true).front(), R"({"P1-2":"b","P1-10":"a"})");

    Tabla larga(Tabla::Forma::PorClave);
    larga.Nueva().Columna("casilla", "P1-2").Columna("valor", "b").Columna("significado", "s");
    EXPECT_EQ(larga.Lineas(true).front(), R"({"P1-2":{"valor":"b","significado":"s"}})");
    EXPECT_EQ(larga.Lineas(false), Lineas{"P1-2\tb\ts"});
}

TEST(Filas, ValuesAndRecordsTakeTheirOwnShapes) {
    Tabla valores(Tabla::Forma::Valores);
    valores.Nueva().Columna("limite", "0,00");
    valores.Nueva().Columna("limite", "3.000,01");
    EXPECT_EQ(valores.Lineas(true).front(), R"(["0,00","3.000,01"])");
    EXPECT_EQ(valores.Lineas(false), (Lineas{"0,00", "3.000,01"}));

    Tabla registro(Tabla::Forma::Registro);
    registro.Nueva().SoloJson("fecha", "01/03/2023").Columna("cuota", "15,00");
    EXPECT_EQ(registro.Lineas(false), Lineas{"15,00"});
    EXPECT_EQ(registro.Lineas(true).front(), R"({"fecha":"01/03/2023","cuota":"15,00"})");
}
