// What every command shares: Spanish help and refusals, a suggestion for a mistyped command,
// the version, JSON wherever data is printed; and the tariff questions.
#include "Cli.h"

#include <nlohmann/json.hpp>

TEST_F(Cli, HelpRefusalsAndVersionSpeakSpanish) {
    auto s = Modelo("--version");
    EXPECT_EQ(s.estado, 0);
    EXPECT_EQ(s.out.rfind("modelo ", 0), 0u) << s.out;
    s = Modelo("--help");
    EXPECT_EQ(s.estado, 0);
    for (const char* texto : {"Uso: modelo", "Opciones:", "Órdenes:", "Muestra esta ayuda"})
        EXPECT_NE(s.out.find(texto), std::string::npos) << texto;
    s = Modelo("show --help");
    EXPECT_EQ(s.out.find("Options"), std::string::npos) << s.out;
    EXPECT_NE(s.out.find("OBLIGATORIO"), std::string::npos);

    const struct {
        const char* args;
        const char* dice;
    } casos[] = {
        {"show", "modelo: Falta CODE\n"},
        {"show 1 2", "modelo: Sobra este argumento: 2\n"},
        {"show 1 2 3", "modelo: Sobran estos argumentos: 2 3\n"},
        {"show 1 --page 3", "modelo: --page: «3» no es 1 ni 2\n"},
        {"new 863 --complementary-of 1 --substitutive-of 2",
         "modelo: --complementary-of no se puede usar con --substitutive-of\n"},
        {"parties", "modelo: Falta la orden\n"},
    };
    for (const auto& c : casos) {
        s = Modelo(c.args);
        EXPECT_EQ(s.estado, 2) << c.args;
        EXPECT_EQ(s.err.rfind(c.dice, 0), 0u) << s.err;
        EXPECT_NE(s.err.find("Use --help"), std::string::npos);
    }
}

TEST_F(Cli, AMistypedCommandGetsTheNearestOne) {
    for (const auto& [escrito, sugerido] :
         {std::pair{"lsit", "list"}, std::pair{"shwo 1", "show"},
          std::pair{"finalise 1", "finalize"}, std::pair{"valid 1", "validate"}}) {
        const auto s = Modelo(escrito);
        EXPECT_EQ(s.estado, 2);
        EXPECT_NE(s.err.find(std::string("¿Quería decir «") + sugerido + "»?"), std::string::npos)
            << escrito << ": " << s.err;
    }
    // Nothing near: no guess.
    EXPECT_EQ(Modelo("xyzzyx").err.find("Quería decir"), std::string::npos);
}

TEST_F(Cli, EveryCommandThatPrintsDataHasJson) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    for (const std::string& args :
         {"remesa " + c, std::string("list"), std::string("parties list"),
          std::string("brackets 863 01/03/2024"), std::string("quota 863 1500 01/03/2024"),
          std::string("tariff 863 --date 01/03/2024"), std::string("boxes"), "show " + c,
          "validate " + c}) {
        const auto s = Modelo(args + " --json");
        EXPECT_LE(s.estado, 1) << args << ": " << s.err;
        EXPECT_TRUE(nlohmann::json::accept(s.out)) << args << ": " << s.out;
    }
    const auto r = nlohmann::json::parse(Modelo("remesa " + c + " --json").out);
    EXPECT_EQ(r[0]["clave"], "0");
    EXPECT_EQ(r[0]["valor"], "000");
    EXPECT_EQ(nlohmann::json::parse(Modelo("quota 863 1500 01/03/2024 --json").out)["cuota"],
              "15,00");
}

TEST_F(Cli, ADayWithoutATariffIsSaidNotPricedAtZero) {
    auto s = Modelo("quota 863 1500 01/03/2031");
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.out, "");
    EXPECT_NE(s.err.find("No hay tarifa del modelo 863A1 en vigor el 01/03/2031"),
              std::string::npos);
    EXPECT_EQ(Modelo("tariff 871 --date 31/12/1999").estado, 1);

    s = Modelo("tariff 863 --date 01/03/2024");
    ASSERT_EQ(s.estado, 0);
    EXPECT_NE(
        s.out.find("CUO\t7\t30.000,01\t999.999.999.999,99\t0,5\t300,00\t2000-01-01\t2030-12-31\n"),
        std::string::npos)
        << s.out;
    EXPECT_NE(s.out.find("TRA\t2\t3.000,01\t30.000,00\t"), std::string::npos);
    // A tariff loaded for a later period is the one in force then.
    apoyo::Escribir(tmp / "tarifa.sql",
                    "INSERT INTO PATARIFA (CDMODELO, CDTIPTAF, CDTARIFA, FECDESDE, FECHASTA, "
                    "RANGOINI, RANGOFIN, PORCENTJ, VIMPORTE, NUMORDEN) VALUES ('863A1', 'ESCALA', "
                    "'CUO', '2031-01-01', '2031-12-31', 0, 999999999999.99, 0, 7.5, 1);");
    ASSERT_EQ(Modelo("db load '" + tmp / "tarifa.sql" + "'").estado, 0);
    s = Modelo("quota 863 1500 01/03/2031");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out, "7,50\n");
    const auto j = nlohmann::json::parse(Modelo("tariff 863 --json --date 1/3/2031").out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["fijo"], 7.5);
}
