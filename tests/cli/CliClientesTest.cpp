// An office's clients: listing declarations by taxpayer, deleting drafts, and correcting a
// final declaration with a complementary or substitutive one.
#include "Cli.h"

#include <nlohmann/json.hpp>

namespace {
constexpr const char* kCorrecta = " P1-10=B12345674 'P1-11=EMPRESA, S.L.' P1-140=12345678Z "
                                  "'P1-141=GARCIA LOPEZ MARIA' P1-60=2 P1-64=1.500,00 P1-68=15,00 "
                                  "P1-72=15,00";
}

TEST_F(Cli, ListShowsTheTaxpayerAndTheStateInWordsAndFilters) {
    const std::string a = Nueva("863 --month 03 --year 2024");
    const std::string b = Nueva("871 --month 05 --year 2023");
    const std::string c = Nueva("863 --month 04 --year 2024");
    ASSERT_EQ(Modelo("set " + a + kCorrecta).estado, 0);
    ASSERT_EQ(Modelo("finalize " + a).estado, 0);
    ASSERT_EQ(Modelo("set " + b + " P1-10=12345678Z P1-11=PEREZ P1-12=RUIZ P1-13=ANA").estado, 0);
    // By code: form, then serial.
    EXPECT_EQ(Modelo("list").out, a + "\t863A1\tdefinitiva\t03\t2024\tB12345674\tEMPRESA, S.L.\n" +
                                      c + "\t863A1\tborrador\t04\t2024\t\t\n" + b +
                                      "\t871A1\tborrador\t05\t2023\t12345678Z\tPEREZ RUIZ ANA\n");
    EXPECT_EQ(Modelo("list --nif 12345678Z").out.substr(0, 13), b);
    EXPECT_EQ(Modelo("list --nif X0000000T").out, "");
    EXPECT_EQ(Modelo("list --form 863 --year 2024").out.find(b), std::string::npos);
    EXPECT_EQ(Modelo("list --form 871").out.find(a), std::string::npos);
    const auto j = nlohmann::json::parse(Modelo("list --json --year 2023").out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["codigo"], b);
    EXPECT_EQ(j[0]["estado"], "borrador");
    EXPECT_EQ(j[0]["nombre"], "PEREZ RUIZ ANA");
    EXPECT_EQ(Modelo("list --year 24").estado, 2);
}

TEST_F(Cli, DeleteTakesDraftsOnlyAndAsksFirst) {
    const std::string a = Nueva("863 --month 03 --year 2024");
    const std::string b = Nueva("863 --month 03 --year 2024");
    ASSERT_EQ(Modelo("set " + a + kCorrecta).estado, 0);
    ASSERT_EQ(Modelo("finalize " + a).estado, 0);
    ASSERT_EQ(
        Modelo("parties add --nif B12345674 --name X --declaration " + b + " --role Presentador")
            .estado,
        0);
    const std::string antes = Estado();
    // No answer, or any answer but yes, deletes nothing.
    const std::string programa = std::string(MODELO_BIN_DIR) + "/modelo --db '" + db + "' ";
    EXPECT_EQ(apoyo::Ejecutar(programa + "delete " + b + " </dev/null").estado, 2);
    EXPECT_EQ(apoyo::Ejecutar("echo n | " + programa + "delete " + b).estado, 2);
    const auto finalDecl = Modelo("delete " + a + " --yes");
    EXPECT_EQ(finalDecl.estado, 2);
    EXPECT_NE(finalDecl.err.find("es definitiva"), std::string::npos);
    EXPECT_EQ(Modelo("delete 8639999999999 --yes").estado, 2);
    EXPECT_EQ(Estado(), antes);

    EXPECT_EQ(apoyo::Ejecutar("echo s | " + programa + "delete " + b).estado, 0);
    EXPECT_EQ(Modelo("show " + b).estado, 2);
    EXPECT_EQ(Modelo("list").out.find(b), std::string::npos);
    EXPECT_EQ(Modelo("parties list").out.find(b), std::string::npos) << "its bound party too";
    // Serials are never reused.
    EXPECT_NE(Nueva("863"), b);
}

TEST_F(Cli, AComplementaryDeclarationRefersToTheEarlierOneAndValidates) {
    const std::string a = Nueva("863 --month 03 --year 2024");
    ASSERT_EQ(Modelo("set " + a + kCorrecta).estado, 0);
    // Only a final declaration of the same form is corrected this way.
    EXPECT_EQ(Modelo("new 863 --complementary-of " + a).estado, 2);
    ASSERT_EQ(Modelo("finalize " + a).estado, 0);
    EXPECT_EQ(Modelo("new 871 --complementary-of " + a).estado, 2);
    EXPECT_EQ(Modelo("new 863 --complementary-of 8639999999999").estado, 2);
    EXPECT_EQ(Modelo("new 863 --complementary-of " + a + " --substitutive-of " + a).estado, 2);

    const std::string c = Nueva("863 --complementary-of " + a);
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json --page 1").out);
    EXPECT_EQ(j["P1-50"], "S");
    EXPECT_FALSE(j.contains("P1-51"));
    EXPECT_EQ(j["P1-52"], a);
    EXPECT_EQ(j["P1-54"], "2024");
    EXPECT_EQ(j["P1-55"], a.substr(7));
    EXPECT_EQ(j["P1-1"], "03"); // the earlier one's period
    ASSERT_EQ(Modelo("set " + c + kCorrecta).estado, 0);
    const auto v = Modelo("validate " + c);
    EXPECT_EQ(v.estado, 0) << v.out;
    EXPECT_EQ(Modelo("finalize " + c).estado, 0);

    const std::string s = Nueva("863 --substitutive-of " + a);
    j = nlohmann::json::parse(Modelo("show " + s + " --json --page 1").out);
    EXPECT_EQ(j["P1-51"], "S");
    EXPECT_FALSE(j.contains("P1-50"));
    EXPECT_EQ(j["P1-52"], a);
}
