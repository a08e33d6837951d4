// The adviser's month: the clients by the months of a year, a declaration carried over to the
// next period, a correction that keeps its taxpayer, and the defaults of a new declaration.
#include "Cli.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace {

constexpr const char* kImportes =
    " P1-140=12345678Z 'P1-141=GARCIA LOPEZ MARIA' P1-60=2 P1-64=1.500,00 P1-68=15,00 P1-72=15,00";

class Asesor : public Cli {
protected:
    // A client of the store; its order number.
    std::string Cliente(const std::string& nif, const std::string& nombre) {
        auto s = Modelo("parties add --nif " + nif + " --name " + nombre);
        EXPECT_EQ(s.estado, 0) << s.err;
        return s.out.substr(0, s.out.find('\n'));
    }
    void Vincular(const std::string& codigo, const std::string& rol, const std::string& parte) {
        auto s = Modelo("parties bind " + codigo + " --role '" + rol + "' --party " + parte);
        ASSERT_EQ(s.estado, 0) << s.err;
    }
    void Finalizar(const std::string& codigo, const std::string& casillas = "") {
        ASSERT_EQ(Modelo("set " + codigo + casillas + kImportes).estado, 0);
        auto s = Modelo("finalize " + codigo);
        ASSERT_EQ(s.estado, 0) << s.out << s.err;
    }
    nlohmann::json Casillas(const std::string& codigo) {
        return nlohmann::json::parse(Modelo("show " + codigo + " --json --page 1").out);
    }
};

} // namespace

TEST_F(Asesor, ClientsShowEveryTaxpayerByTheMonthsOfTheYear) {
    const std::string otra = Cliente("A58818501", "'OTRA, S.A.'");
    const std::string gestor =
        Cliente("00000000T", "GESTORIA --second-surname PEREZ --first-name LUIS");
    ASSERT_EQ(Modelo("config presenter 12345678Z 'GARCIA LOPEZ MARIA'").estado, 0);

    // Seed party 1 is the client DISTRIBUCIONES: a final January, a draft and a final in
    // March (the final one stands for it), a draft in December.
    const std::string ene = Nueva("863 --month 01 --year 2024");
    Vincular(ene, "Sujeto Pasivo", "1");
    Vincular(ene, "Representante", gestor);
    Finalizar(ene);
    const std::string marB = Nueva("863 --month 03 --year 2024");
    Vincular(marB, "Sujeto Pasivo", "1");
    const std::string marD = Nueva("863 --month 03 --year 2024");
    Vincular(marD, "Sujeto Pasivo", "1");
    Finalizar(marD);
    const std::string dic = Nueva("863 --month 12 --year 2024");
    Vincular(dic, "Sujeto Pasivo", "1");
    // A taxpayer typed into the boxes, known to the store by nothing else.
    const std::string feb = Nueva("863 --month 02 --year 2024");
    ASSERT_EQ(Modelo("set " + feb + " P1-10=X1234567L 'P1-11=NUEVA, S.L.'").estado, 0);
    // Other years, other forms and declarations without a taxpayer.
    const std::string otroAnio = Nueva("863 --month 01 --year 2023");
    Vincular(otroAnio, "Sujeto Pasivo", otra);
    const std::string de871 = Nueva("871 --month 04 --year 2024");
    Vincular(de871, "Sujeto Pasivo", otra);
    const std::string sinSujeto = Nueva("863 --month 05 --year 2024");

    auto s = Modelo("clients --year 2024 --form 863");
    ASSERT_EQ(s.estado, 0) << s.err;
    // By name; the default presenter and the representative are not clients; nobody's
    // declarations last.
    EXPECT_EQ(s.out, "B12345674\tDISTRIBUCIONES EJEMPLO, S.L.\tD:" + ene + "\t-\tD:" + marD +
                         "\t-\t-\t-\t-\t-\t-\t-\t-\tB:" + dic +
                         "\n"
                         "X1234567L\tNUEVA, S.L.\t-\tB:" +
                         feb +
                         "\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\n"
                         "A58818501\tOTRA, S.A.\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\n"
                         "\t\t-\t-\t-\t-\tB:" +
                         sinSujeto + "\t-\t-\t-\t-\t-\t-\t-\n");
    EXPECT_FALSE(Contiene(s.out, marB));

    const auto j = nlohmann::json::parse(Modelo("clients --year 2024 --form 871 --json").out);
    ASSERT_EQ(j.size(), 2u) << j.dump(); // the store's clients; 863's typed one is not 871's
    EXPECT_EQ(j[0]["nif"], "B12345674");
    EXPECT_EQ(j[0]["04"]["estado"], "ninguna");
    EXPECT_EQ(j[1]["nif"], "A58818501");
    EXPECT_EQ(j[1]["04"]["estado"], "borrador");
    EXPECT_EQ(j[1]["04"]["codigo"], de871);
    // Keys in the order of the text's columns.
    const auto o = nlohmann::ordered_json::parse(Modelo("clients --year 2024 --json").out);
    std::vector<std::string> claves;
    for (const auto& [clave, valor] : o[0].items())
        claves.push_back(clave);
    EXPECT_EQ(claves, (std::vector<std::string>{"nif", "nombre", "01", "02", "03", "04", "05", "06",
                                                "07", "08", "09", "10", "11", "12"}));

    EXPECT_TRUE(Contiene(Modelo("clients --year 2023").out, "A58818501\tOTRA, S.A.\tB:"));
    EXPECT_EQ(Modelo("clients --year 24").estado, 2);
    EXPECT_EQ(Modelo("clients --form 999").estado, 2);
}

TEST_F(Asesor, NewLikeCarriesThePartiesToTheNextPeriodWithoutAmounts) {
    const std::string gestor =
        Cliente("00000000T", "GESTORIA --second-surname PEREZ --first-name LUIS");
    const std::string dic = Nueva("863 --month 12 --year 2024");
    Vincular(dic, "Sujeto Pasivo", "1");
    Vincular(dic, "Representante", gestor);
    Vincular(dic, "Presentador", "2");
    Finalizar(dic);

    const std::string ene = Nueva("863 --like " + dic);
    auto c = Casillas(ene);
    EXPECT_EQ(c["P1-1"], "01");
    EXPECT_EQ(c["P1-2"], "2025"); // December goes on to January of the next year
    EXPECT_EQ(c["P1-10"], "B12345674");
    EXPECT_EQ(c["P1-15"], "MAYOR");
    EXPECT_EQ(c["P1-30"], "00000000T");
    EXPECT_EQ(c["P1-31"], "GESTORIA");
    EXPECT_EQ(c["P1-140"], "12345678Z");
    for (const char* importe : {"P1-60", "P1-64", "P1-68", "P1-72", "P1-50", "P1-52"})
        EXPECT_FALSE(c.contains(importe)) << importe;
    // Its own copies: a later change of the origin's parties leaves it as it is.
    EXPECT_TRUE(Contiene(Modelo("parties list").out, ene + "\tRepresentante"));
    EXPECT_TRUE(Contiene(Modelo("list --nif B12345674 --year 2025").out, ene));

    // A draft carries over as well; a month given takes the year of the period after.
    const std::string mar = Nueva("863 --like " + ene + " --month 3");
    EXPECT_EQ(Casillas(mar)["P1-1"], "03");
    EXPECT_EQ(Casillas(mar)["P1-2"], "2025");
    EXPECT_EQ(Casillas(mar)["P1-31"], "GESTORIA");
    const std::string otro = Nueva("863 --like " + ene + " --month 07 --year 2023");
    EXPECT_EQ(Casillas(otro)["P1-2"], "2023");

    const std::string antes = Estado();
    EXPECT_EQ(Modelo("new 863 --like 8639999999999").estado, 2);
    EXPECT_EQ(Modelo("new 863 --like " + dic + " --complementary-of " + dic).estado, 2);
    EXPECT_EQ(Modelo("new 863 --like " + dic + " --month 13").estado, 2);
    EXPECT_EQ(Estado(), antes);
    // An origin without a period needs one given.
    const std::string sinPeriodo = Nueva("863");
    auto s = Modelo("new 863 --like " + sinPeriodo);
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "periodo")) << s.err;
    EXPECT_EQ(Modelo("new 863 --like " + sinPeriodo + " --month 02 --year 2024").estado, 0);
}

TEST_F(Asesor, ACorrectionKeepsTheTaxpayerOfTheFinalOneSoTheClientFindsIt) {
    // Typed into the boxes, known to the store by nothing: its number and name travel.
    const std::string a = Nueva("863 --month 03 --year 2024");
    Finalizar(a, " P1-10=X1234567L 'P1-11=NUEVA, S.L.'");
    const std::string c = Nueva("863 --complementary-of " + a);
    auto j = Casillas(c);
    EXPECT_EQ(j["P1-10"], "X1234567L");
    EXPECT_EQ(j["P1-11"], "NUEVA, S.L.");
    EXPECT_EQ(j["P1-50"], "S");
    EXPECT_EQ(j["P1-52"], a);
    EXPECT_EQ(j["P1-54"], "2024");
    const std::string lista = Modelo("list --nif X1234567L").out;
    EXPECT_TRUE(Contiene(lista, a) && Contiene(lista, c)) << lista;

    // Typed, but a client of the store by its number: the store's party, address and all.
    const std::string b = Nueva("863 --month 04 --year 2024");
    Finalizar(b, " P1-10=B12345674 'P1-11=DISTRIBUCIONES EJEMPLO, S.L.'");
    j = Casillas(Nueva("863 --substitutive-of " + b));
    EXPECT_EQ(j["P1-51"], "S");
    EXPECT_EQ(j["P1-10"], "B12345674");
    EXPECT_EQ(j["P1-15"], "MAYOR");

    // Bound: the copy of the final one, even after the store's party changed.
    const std::string d = Nueva("863 --month 05 --year 2024");
    Vincular(d, "Sujeto Pasivo", "1");
    Finalizar(d);
    ASSERT_EQ(Modelo("parties edit 1 --name 'OTRO NOMBRE, S.L.'").estado, 0);
    j = Casillas(Nueva("863 --complementary-of " + d));
    EXPECT_EQ(j["P1-11"], "DISTRIBUCIONES EJEMPLO, S.L.");
    EXPECT_EQ(j["P1-1"], "05");
}

TEST_F(Asesor, TheDefaultsOfANewDeclarationAreKeptAndShown) {
    auto j = nlohmann::json::parse(Modelo("config show --json").out);
    EXPECT_EQ(j["form"], "863"); // the first form loaded
    EXPECT_EQ(j["period"], "previous");
    EXPECT_EQ(j["presenter_nif"], "");
    ASSERT_EQ(Modelo("config form 871").estado, 0);
    ASSERT_EQ(Modelo("config period current").estado, 0);
    ASSERT_EQ(Modelo("config presenter 12345678Z 'GARCIA LOPEZ MARIA'").estado, 0);
    EXPECT_EQ(Modelo("config show").out, "presenter_nif\t12345678Z\n"
                                         "presenter_name\tGARCIA LOPEZ MARIA\n"
                                         "form\t871\n"
                                         "period\tcurrent\n");
    // The clients table starts from the default form.
    const std::string d = Nueva("871 --month 01 --year 2024");
    Vincular(d, "Sujeto Pasivo", "1");
    EXPECT_TRUE(Contiene(Modelo("clients --year 2024").out, "B:" + d));

    EXPECT_EQ(Modelo("config form 999").estado, 2);
    EXPECT_EQ(Modelo("config period next").estado, 2);
    EXPECT_TRUE(Contiene(Modelo("config show").out, "form\t871\n"));
}
