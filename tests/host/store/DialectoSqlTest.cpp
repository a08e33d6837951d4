#include "Modelo/store/DialectoSql.h"
#include "Modelo/base/COleDateTime.h"
#include "support/Apoyo.h"

#include <gtest/gtest.h>

TEST(DialectoSql, DateLiteralsBecomeIsoDatesOutsideQuotesOnly) {
    Reloj::Fijar([] { return COleDateTime(2026, 12, 8, 10, 0, 0); });
    auto t = TraducirSqlEscritorio("SELECT * FROM T WHERE #03-01-35# BETWEEN A AND B "
                                   "AND X = '#03-01-35#' AND Y = #12/31/1999#",
                                   false);
    EXPECT_EQ(t.texto, "SELECT * FROM T WHERE '2035-03-01' BETWEEN A AND B AND X = '#03-01-35#' "
                       "AND Y = '1999-12-31'");
    EXPECT_TRUE(t.parametros.empty());
    // Not a date: left for the engine to refuse.
    EXPECT_EQ(TraducirSqlEscritorio("SELECT #13-01-23#", false).texto, "SELECT #13-01-23#");
    EXPECT_EQ(TraducirSqlEscritorio("SELECT '#", false).texto, "SELECT '#");
    Reloj::Fijar({});
}

TEST(DialectoSql, LiftedLiteralsGiveOneTextForAllValues) {
    auto a = TraducirSqlEscritorio("SELECT X FROM T WHERE M = '863A1' AND 1500.00 BETWEEN A AND B "
                                   "AND N = 'O''BRIEN' ORDER BY 2, T1",
                                   true);
    auto b = TraducirSqlEscritorio("SELECT X FROM T WHERE M = '871A1' AND 7.5 BETWEEN A AND B "
                                   "AND N = 'X' ORDER BY 2, T1",
                                   true);
    EXPECT_EQ(a.texto, b.texto);
    EXPECT_EQ(a.texto,
              "SELECT X FROM T WHERE M = ? AND ? BETWEEN A AND B AND N = ? ORDER BY 2, T1");
    ASSERT_EQ(a.parametros.size(), 3u);
    EXPECT_EQ(a.parametros[0].texto, "863A1");
    EXPECT_EQ(a.parametros[1].real, 1500.0);
    EXPECT_EQ(a.parametros[2].texto, "O'BRIEN");
}

TEST(DialectoSql, LiftingChangesNoResult) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(tmp / "d.db");
    db.EjecutarScript("CREATE TABLE T (A TEXT, B REAL, C INTEGER);"
                      "INSERT INTO T VALUES ('x', 1.5, 10), ('y''z', 2.5, 20), ('w', 3, 30);");
    for (const char* sql :
         {"SELECT A FROM T WHERE B > 1.6 ORDER BY 1 DESC", "SELECT C FROM T WHERE A = 'y''z'",
          "SELECT C, count(*) FROM T WHERE C BETWEEN 10 AND 20 GROUP BY 1 LIMIT 5",
          "SELECT A FROM T WHERE #01-02-24# > '2023-12-31' ORDER BY C"}) {
        std::string con, sin;
        const auto l = TraducirSqlEscritorio(sql, true), s = TraducirSqlEscritorio(sql, false);
        db.Consultar(l.texto, l.parametros,
                     [&](const FilaSql& f) { con += f.Texto(0).str() + ";"; });
        db.Consultar(s.texto, s.parametros,
                     [&](const FilaSql& f) { sin += f.Texto(0).str() + ";"; });
        EXPECT_EQ(con, sin) << sql;
        EXPECT_FALSE(con.empty()) << sql;
    }
}

// A statement translated right after a similar one must come out exactly as if translated
// alone: the reuse of the last statement's shape may not change a single byte or value.
TEST(DialectoSql, ReusingTheLastShapeGivesTheSameTranslation) {
    const char* sentencias[] = {
        "SELECT A FROM T WHERE M = '863A1' AND 1500.00 BETWEEN A AND B AND #03-01-23# < X",
        "SELECT A FROM T WHERE M = 'O''X' AND 7.5 BETWEEN A AND B AND #12-31-99# < X",
        "SELECT A FROM T WHERE M = '' AND 12 BETWEEN A AND B AND #03-01-23# < X",     // an integer
        "SELECT A FROM T WHERE M = 'a' AND 1.2.3 BETWEEN A AND B AND #03-01-23# < X", // not one
        "SELECT A FROM T WHERE M = 'a' AND 15e BETWEEN A AND B AND #03-01-23# < X",
        "SELECT A FROM T WHERE M = 'a' AND 15 BETWEEN A AND B AND #13-01-23# < X", // no date
        "SELECT A FROM T WHERE M = 'a' AND 15 BETWEEN A AND B AND #03-01-23# < X ORDER BY 2",
        "SELECT A FROM T WHERE M = 'a' AND 15 BETWEEN A AND B AND #03-01-23# < X ORDER BY 3",
        "SELECT A FROM T WHERE M = 'sin cerrar",
        "SELECT A FROM T WHERE M = 'sin cerrar tampoco",
        "SELECT A FROM T WHERE M = 'a' AND 1500.00 BETWEEN A AND B AND #03-01-23# < X;",
        "SELECT [a#b], 5 FROM T ORDER BY 1",
        "SELECT [a#b], 6 FROM T ORDER BY 1",
        "SELECT \"x'y\", 5 FROM T GROUP BY 1 LIMIT 3",
        "SELECT \"x'y\", 7 FROM T GROUP BY 1 LIMIT 4",
        "SELECT .5 FROM T",
        "SELECT T.5 FROM T",
        "SELECT 0.5 FROM T",
    };
    auto igual = [](const SentenciaSql& a, const SentenciaSql& b) {
        if (a.texto != b.texto || a.parametros.size() != b.parametros.size())
            return false;
        for (size_t i = 0; i < a.parametros.size(); ++i) {
            const ValorSql &x = a.parametros[i], &y = b.parametros[i];
            if (x.tipo != y.tipo || x.texto != y.texto || x.entero != y.entero || x.real != y.real)
                return false;
        }
        return true;
    };
    for (const char* antes : sentencias)
        for (const char* sql : sentencias) {
            TraducirSqlEscritorio("SELECT 'otra forma'", true);
            const SentenciaSql sola = TraducirSqlEscritorio(sql, true);
            TraducirSqlEscritorio(antes, true);
            EXPECT_TRUE(igual(TraducirSqlEscritorio(sql, true), sola)) << antes << "\n" << sql;
        }
}
