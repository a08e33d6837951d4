// Writing boxes from a script, and reading them back with their meaning.
#include "Cli.h"

#include <nlohmann/json.hpp>

TEST_F(Cli, SetRefusesEveryBoxAPersonDoesNotFillAndWritesNothing) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-60=2").estado, 0);
    const std::string antes = Estado();
    const struct {
        const char* caja;
        const char* motivo;
    } casos[] = {
        {"P1-999=1", "no tiene la casilla P1-999"}, {"P1-0=001", "la escribe el programa"},
        {"P1-121=X", "la escribe el programa"},     {"P2-72=5,00", "copia de la página 1"},
        {"P2-1=04", "copia de la página 1"},        {"P1-25=X", "no tiene la casilla P1-25"},
    };
    for (const auto& caso : casos) {
        // The good box before the bad one is not written either.
        const auto s = Modelo("set " + c + " P1-61=4 " + caso.caja);
        EXPECT_EQ(s.estado, 2) << caso.caja;
        EXPECT_NE(s.err.find(caso.motivo), std::string::npos) << s.err;
        EXPECT_EQ(s.err.find('\n'), s.err.size() - 1) << "one line: " << s.err;
    }
    EXPECT_EQ(Estado(), antes);
    // The declarant number the import writes stays writable, as every box with a control.
    EXPECT_EQ(Modelo("set " + c + " P1-24=B12345674 P1-147=MADRID P1-50=S").estado, 0);
    EXPECT_NE(Modelo("show " + c).out.find("P1-24\tB12345674"), std::string::npos);
}

TEST_F(Cli, JsonBoxesComeInPageAndBoxOrder) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-10=B12345674 P1-2=2024 P1-72=3,00").estado, 0);
    const auto s = Modelo("show " + c + " --json");
    ASSERT_EQ(s.estado, 0);
    const auto pos = [&](const std::string& k) {
        const size_t p = s.out.find("\"" + k + "\":");
        EXPECT_NE(p, std::string::npos) << k;
        return p;
    };
    EXPECT_LT(pos("P1-2"), pos("P1-10"));
    EXPECT_LT(pos("P1-10"), pos("P1-72"));
    EXPECT_LT(pos("P1-72"), pos("P1-121"));
    EXPECT_LT(pos("P1-147"), pos("P2-1"));
    EXPECT_LT(pos("P2-2"), pos("P2-10"));
}

TEST_F(Cli, ShowLongAndBoxesSayWhatEachBoxMeans) {
    const std::string c = Nueva("871 --month 03 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-68=3,00 P1-72=3,00").estado, 0);
    const std::string largo = Modelo("show " + c + " --long").out;
    EXPECT_NE(largo.find("P1-68\t3,00\tCuota de los recibos\n"), std::string::npos) << largo;
    EXPECT_NE(
        largo.find("P2-72\t3,00\tTotal a ingresar (suma de las cuotas) (copia de la página 1)"),
        std::string::npos);
    const auto j = nlohmann::json::parse(Modelo("show " + c + " --long --json --page 1").out);
    EXPECT_EQ(j["P1-72"]["valor"], "3,00");
    EXPECT_EQ(j["P1-0"]["significado"], "Código de la autoliquidación (000: ordinaria)");

    const std::string casillas = Modelo("boxes --form 871").out;
    EXPECT_NE(casillas.find("P1-64\tBase imponible de los recibos\timporte (1.244,50)\n"),
              std::string::npos);
    EXPECT_NE(casillas.find("P1-23\tSujeto pasivo: código postal\tcódigo postal"),
              std::string::npos);
    const auto lista = nlohmann::json::parse(Modelo("boxes --json").out);
    ASSERT_TRUE(lista.is_array());
    EXPECT_EQ(lista.front()["casilla"], "P1-0");
    EXPECT_EQ(lista.front()["escribible"], false);
    EXPECT_EQ(Modelo("boxes --form 999").estado, 2);
}

TEST_F(Cli, ADeclarationTypedWrongIsNotMadeFinal) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string partes = " P1-10=B12345674 'P1-11=EMPRESA, S.L.' P1-140=12345678Z "
                               "'P1-141=GARCIA LOPEZ MARIA'";
    ASSERT_EQ(Modelo("set " + c + partes + " P1-60=3 P1-64=abc P1-68=xyz P1-72=-7").estado, 0);
    auto s = Modelo("finalize " + c);
    EXPECT_EQ(s.estado, 1);
    for (const char* hallazgo :
         {"MODELO0017\tP1-64\t", "MODELO0017\tP1-68\t", "MODELO0017\tP1-72\t"})
        EXPECT_NE(s.out.find(hallazgo), std::string::npos) << hallazgo << "\n" << s.out;
    EXPECT_NE(Modelo("list").out.find("borrador"), std::string::npos);

    // A quota that is not the total.
    ASSERT_EQ(Modelo("set " + c + " P1-64=1.000,00 P1-68=99,99 P1-72=5,00").estado, 0);
    s = Modelo("validate " + c);
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.out.rfind("MODELO0018\tP1-72\tEl total no es la suma de las cuotas.", 0), 0u)
        << s.out;
    // Typed right, it passes and becomes final.
    ASSERT_EQ(Modelo("set " + c + " P1-72=99,99").estado, 0);
    s = Modelo("finalize " + c);
    EXPECT_EQ(s.estado, 0) << s.out;
}
