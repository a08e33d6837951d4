// Tariff, parties, settings, loading data, validating and finalizing, end to end.
#include "cli/Cli.h"

#include "support/SqlDirecto.h"
#include <nlohmann/json.hpp>

TEST_F(Cli, QuotaAndBracketsOfTheSampleTariff) {
    auto s = Modelo("quota 863 1500.00 01/03/2023");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out, "15,00\n");
    EXPECT_EQ(Modelo("quota 871 1.500,00 01/03/2023").out, "15,00\n");
    EXPECT_EQ(Modelo("brackets 863 01/03/2023").out, "0\n3000.01\n30000.01\n");
    for (const char* args :
         {"quota 863 abc 01/03/2023", "quota 863 -5 01/03/2023", "quota 863 1.2.3 01/03/2023",
          "quota 863 10 31/02/2023", "quota 863 10 2023-03-01", "quota 999 10 01/03/2023",
          "brackets 863 hoy"}) {
        auto r = Modelo(args);
        EXPECT_EQ(r.estado, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
}

TEST_F(Cli, LoadingSqlIsAllOrNothing) {
    apoyo::Escribir(tmp / "bueno.sql",
                    "DELETE FROM PATARIFA WHERE CDTARIFA = 'CUO';\n"
                    "INSERT INTO PATARIFA VALUES ('863A1', 'ESCALA', 'CUO', '2000-01-01', "
                    "'2030-12-31', 0, 1e12, 0, 42, 1);\n");
    apoyo::Escribir(tmp / "malo.sql", "DELETE FROM PATARIFA;\nINSERT INTO NOEXISTE VALUES (1);\n");
    ASSERT_EQ(Modelo("db load '" + tmp / "bueno.sql" + "'").estado, 0);
    EXPECT_EQ(Modelo("quota 863 10 01/03/2023").out, "42,00\n");
    auto s = Modelo("db load '" + tmp / "malo.sql" + "'");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("NOEXISTE"), std::string::npos) << s.err;
    EXPECT_EQ(Modelo("quota 863 10 01/03/2023").out, "42,00\n"); // the DELETE was undone
    EXPECT_EQ(Modelo("db load '" + tmp / "no-existe.sql" + "'").estado, 2);
}

TEST_F(Cli, DefaultPresenterAndPartiesReachTheBoxes) {
    // The sample store holds GARCIA|LOPEZ|MARIA; the person types the name as one text.
    ASSERT_EQ(Modelo("config presenter 12345678Z 'GARCIA LOPEZ MARIA'").estado, 0);
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string boxes = Modelo("show " + c).out;
    EXPECT_NE(boxes.find("P1-140\t12345678Z\n"), std::string::npos) << boxes;
    EXPECT_NE(boxes.find("P2-141\tGARCIA LOPEZ MARIA\n"), std::string::npos) << boxes;

    auto add = Modelo("parties add --nif 12345678Z --name GARCIA --second-surname LOPEZ "
                      "--first-name MARIA --declaration " +
                      c +
                      " --role 'Sujeto Pasivo' "
                      "--province 46 --postcode 46021");
    ASSERT_EQ(add.estado, 0) << add.err;
    ASSERT_EQ(Modelo("parties refresh " + c).estado, 0);
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-11"], "GARCIA");
    EXPECT_EQ(j["P1-13"], "MARIA");
    EXPECT_EQ(j["P2-23"], "46021");
    EXPECT_EQ(j["P1-140"], "12345678Z"); // the presenter bound at creation stays

    EXPECT_EQ(Modelo("parties add --nif X --name Y --role Presentador").estado, 2);
    EXPECT_EQ(Modelo("parties add --nif X --name Y --declaration 8639999999999 "
                     "--role Presentador")
                  .estado,
              2);
    EXPECT_EQ(Modelo("parties add --nif X --name Y --declaration " + c + " --role Jefe").estado, 2);
    EXPECT_EQ(Modelo("parties refresh 8639999999999").estado, 2);
}

// A party's fields end up in the printed code: the name separator would split a name into the
// wrong parts, and a control character would travel there unseen.
TEST_F(Cli, PartyFieldsRefuseTheNameSeparatorAndControlCharacters) {
    const std::string antes = Modelo("parties list").out;
    for (const std::string& args :
         {std::string("--nif 12345678Z --name 'GARCIA|LOPEZ'"),
          std::string("--nif 12345678Z --name GARCIA --first-name 'MA|RIA'"),
          std::string("--nif 12345678Z --name GARCIA --second-surname \"$(printf 'LO\tPEZ')\""),
          std::string("--nif 12345678Z --name EMPRESA --street \"$(printf 'MAYOR\n2')\""),
          std::string("--nif '1234|5678Z' --name EMPRESA")}) {
        auto s = Modelo("parties add " + args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_NE(s.err.find("El campo --"), std::string::npos) << s.err;
    }
    EXPECT_EQ(Modelo("parties list").out, antes);
    EXPECT_EQ(Modelo("parties add --nif 12345678Z --name 'MUÑOZ' --first-name 'JOSÉ'").estado, 0);
}

TEST_F(Cli, ValidateListsFindingsAndFinalizeFreezesAValidDraft) {
    const std::string c = Nueva("863");
    auto v = Modelo("validate " + c);
    EXPECT_EQ(v.estado, 1);
    EXPECT_EQ(v.out.substr(0, v.out.find('\n')),
              "863A100001\tP1-10\tFalta el NIF del sujeto pasivo.");
    auto j = nlohmann::json::parse(Modelo("validate " + c + " --json").out);
    ASSERT_TRUE(j.is_array());
    EXPECT_EQ(j[1]["codigo"], "863A100002");
    EXPECT_EQ(j[1]["casilla"], "P1-140");
    EXPECT_EQ(j[1]["pagina"], 1);
    EXPECT_FALSE(j[1]["detalle"].get<std::string>().empty());

    auto f = Modelo("finalize " + c);
    EXPECT_EQ(f.estado, 1);
    EXPECT_NE(Modelo("list").out.find("\t863A1\tborrador\t"), std::string::npos);

    // Signed and accrued in the past, so the machine's date does not matter.
    ASSERT_EQ(Modelo("set " + c +
                     " P1-1=03 P1-2=2024 P1-10=B12345674 P1-11=EMPRESA "
                     "P1-140=12345678Z P1-141=MARIA P1-60=2 P1-64=1.500,00 P1-68=15,00 "
                     "P1-72=15,00 P1-143=10 P1-144=ABRIL P1-145=2024")
                  .estado,
              0);
    EXPECT_EQ(Modelo("validate " + c).estado, 0);
    ASSERT_EQ(Modelo("finalize " + c).estado, 0);
    EXPECT_EQ(Modelo("list").out, c + "\t863A1\tdefinitiva\t03\t2024\tB12345674\tEMPRESA\n");
    const std::string antes = Estado();
    auto s = Modelo("set " + c + " P1-10=OTRO");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("definitiva"), std::string::npos);
    EXPECT_EQ(Modelo("finalize " + c).estado, 2);
    EXPECT_EQ(Modelo("parties refresh " + c).estado, 2);
    EXPECT_EQ(Estado(), antes);
}

TEST_F(Cli, ALoadedScriptCannotEndItsTransactionOrHideStatements) {
    ASSERT_EQ(Modelo("list").estado, 0);
    const std::string antes = Modelo("parties list").out;
    for (const std::string fin :
         {"COMMIT;", "END;", "ROLLBACK;", "RELEASE t0;", "SAVEPOINT x;", "BEGIN;"}) {
        apoyo::Escribir(tmp / "f.sql",
                        "INSERT INTO PAINTERVIN (DENIF, DENOMBRE) VALUES ('A', 'UNO');\n" + fin +
                            "\nINSERT INTO PAINTERVIN (DENIF, DENOMBRE) VALUES ('B', 'DOS');\n"
                            "SELECT * FROM NOEXISTE;\n");
        auto s = Modelo("db load '" + tmp / "f.sql" + "'");
        EXPECT_EQ(s.estado, 2) << fin;
        EXPECT_EQ(Modelo("parties list").out, antes) << fin;
    }
    // A NUL byte would hide what follows it from the engine.
    apoyo::Escribir(tmp / "nul.sql", std::string("INSERT INTO PAINTERVIN (DENIF, DENOMBRE) VALUES "
                                                 "('A', 'UNO');\n") +
                                         '\0' + "DELETE FROM PAINTERVIN;\n");
    auto s = Modelo("db load '" + tmp / "nul.sql" + "'");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("nulo"), std::string::npos) << s.err;
    EXPECT_EQ(Modelo("parties list").out, antes);
}

// Refused untouched: the file as it was, byte for byte; on a server, no table added to it.
TEST_F(Cli, AnotherProgramsDatabaseIsRefusedUntouched) {
    const std::string ajena = apoyo::BaseNueva(tmp.Ruta(), "ajena.db");
    apoyo::Sql(ajena, "CREATE TABLE FOTOS (ID INTEGER); INSERT INTO FOTOS VALUES (1);");
    const auto Contenido = [&] {
        return apoyo::EnServidor()
                   ? apoyo::Sql(ajena, "SELECT table_name FROM information_schema.tables WHERE "
                                       "table_schema = current_schema() ORDER BY 1") +
                         apoyo::Sql(ajena, "SELECT ID FROM FOTOS")
                   : apoyo::Leer(ajena);
    };
    const std::string antes = Contenido();
    ASSERT_TRUE(Contiene(antes, apoyo::EnServidor() ? "fotos\n1\n" : "FOTOS")) << antes;
    auto r = apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + ajena + "' list");
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.err.find("otro programa"), std::string::npos) << r.err;
    EXPECT_EQ(Contenido(), antes);
    // An empty one is a new database of this program.
    const std::string vacia = apoyo::BaseNueva(tmp.Ruta(), "vacia.db");
    if (!apoyo::EnServidor())
        apoyo::Escribir(vacia, "");
    EXPECT_EQ(
        apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + vacia + "' list").estado,
        0);
}
