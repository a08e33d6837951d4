// Page 1 from the command line: `type` runs every rule of the page as a person's typing does,
// and the parties dialog's operations keep the party store and the declaration's parties.
#include "Host.h"
#include "Modelo/windows/Persona.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "cli/Cli.h"

#include <nlohmann/json.hpp>
#include <sstream>

namespace {

// The same steps for the program and for a person at the view.
const std::vector<std::string> kPasos = {
    "P1-2=2024",
    "P1-1=MARZO",
    "P1-60=3",
    "P1-64=1.500,00",
    "P1-68=15,00",
    "P1-61=0",
    "P1-62=1",
    "P1-66=20,00",
    "P1-70=0,20",
    "P1-50:click",
    "P1-52=8630000000009",
    "P1-53@15/04/2024",
    "P1-54=2024",
    "P1-55=12",
    "P1-146@05/06/2024",
};

std::string Unidos(const std::vector<std::string>& pasos) {
    std::string s;
    for (const std::string& p : pasos)
        s += " '" + p + "'";
    return s;
}

class CliPagina : public Cli {};

} // namespace

TEST_F(CliPagina, TypingADeclarationGivesTheBoxesAPersonGetsAtTheView) {
    const std::string c = Nueva("863");
    const std::string persona = Nueva("863");
    auto s = Modelo("type " + c + Unidos(kPasos));
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.err, "");
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-1"], "03");
    EXPECT_EQ(j["P1-72"], "15,20");
    EXPECT_FALSE(j.contains("P1-61"));
    EXPECT_EQ(j["P1-55"], "000012");
    EXPECT_EQ(j["P1-53"], "15/04/2024");
    EXPECT_EQ(j["P1-143"], "05");
    EXPECT_EQ(j["P1-144"], "JUNIO");
    EXPECT_EQ(j["P2-72"], "15,20"); // the save replicated page 1

    // The same steps by hand at the view of the other declaration, in this process.
    {
        CHost host(CString(db), MODELO_BIN_DIR);
        auto doc = host.Abrir(CString(persona));
        CString error;
        auto vista = AbrirVistaPagina(*doc, 0, error);
        ASSERT_TRUE(vista) << error.c_str();
        CServiciosGrabados ui;
        ui.mesElegido = "MARZO";
        AfxFijarServicios(&ui);
        CPersona p(*vista);
        auto id = [&](int casilla) { return vista->Plantilla()->ControlDeCasilla(casilla)->id; };
        p.Escribir(id(2), "2024");
        p.Enfocar(id(1)); // the month list opens and MARZO is picked from it
        for (auto [casilla, texto] : std::vector<std::pair<int, const char*>>{{60, "3"},
                                                                              {64, "1.500,00"},
                                                                              {68, "15,00"},
                                                                              {61, "0"},
                                                                              {62, "1"},
                                                                              {66, "20,00"},
                                                                              {70, "0,20"}}) {
            p.Escribir(id(casilla), texto);
            p.Tabular();
        }
        p.Pulsar(id(50));
        p.Escribir(id(52), "8630000000009");
        p.ElegirFecha(id(53), COleDateTime(2024, 4, 15, 0, 0, 0));
        p.Escribir(id(54), "2024");
        p.Escribir(id(55), "12");
        p.Tabular();
        p.ElegirFecha(id(146), COleDateTime(2024, 6, 5, 0, 0, 0));
        p.Salir();
        ASSERT_TRUE(vista->SalvarDatos());
        host.Guardar(*doc);
        AfxFijarServicios(nullptr);
    }
    auto porPersona = nlohmann::json::parse(Modelo("show " + persona + " --json").out);
    EXPECT_EQ(j, porPersona);
}

TEST_F(CliPagina, ARuleThatRefusesAValueSaysItAndKeepsWhatItPutBack) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    auto s = Modelo("type " + c + " P1-2=2031");
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.err.substr(0, 2), "- ") << s.err;
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-2"], "2024");

    // A box the page keeps locked, and a value longer than the box takes.
    s = Modelo("type " + c + " P1-65=100,00 P1-2=20245");
    EXPECT_EQ(s.estado, 1);
    EXPECT_NE(s.err.find("P1-65=100,00: la casilla no admite datos ahora"), std::string::npos)
        << s.err;
    EXPECT_NE(s.err.find("queda \"2024\""), std::string::npos) << s.err;
}

TEST_F(CliPagina, ABadStepOrAFinalDeclarationChangesNothing) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string antes = Estado();
    for (const std::string& pasos :
         {std::string("P1-60=3 P1-999=1"), std::string("P1-60=3 P2-1=05"),
          std::string("P1-60=3 P1-60:click"), std::string("P1-60=3 P1-10:bailar"),
          std::string("P1-60=3 P1-53@31/02/2024"), std::string("P1-60=3 P1-60@01/01/2024"),
          std::string("P1-60=3 P1-72:parties"), std::string("P1-60=3 8630000000001")}) {
        auto s = Modelo("type " + c + " " + pasos);
        EXPECT_EQ(s.estado, 2) << pasos;
        EXPECT_NE(s.err.find("modelo: "), std::string::npos) << s.err;
    }
    EXPECT_EQ(Estado(), antes);
}

TEST_F(CliPagina, ThePartiesDialogKeepsTheStoreAndTheDeclarationsParties) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    auto s = Modelo("parties add --nif B12345674 --name 'TRANSPORTES NORTE' --province 28 "
                    "--municipality 079");
    ASSERT_EQ(s.estado, 0) << s.err;
    const std::string n = s.out.substr(0, s.out.find('\n'));
    ASSERT_EQ(Modelo("parties bind " + c + " --role 'Sujeto Pasivo' --party " + n).estado, 0);
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-10"], "B12345674");
    EXPECT_EQ(j["P1-11"], "TRANSPORTES NORTE");
    EXPECT_EQ(j["P2-22"], "079");

    // A correction of the store reaches the declaration when the party is bound again.
    ASSERT_EQ(
        Modelo("parties edit " + n + " --name 'TRANSPORTES DEL NORTE' --phone 910000000").estado,
        0);
    EXPECT_EQ(nlohmann::json::parse(Modelo("show " + c + " --json").out)["P1-11"],
              "TRANSPORTES NORTE");
    ASSERT_EQ(Modelo("parties bind " + c + " --role 'Sujeto Pasivo' --party " + n).estado, 0);
    j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-11"], "TRANSPORTES DEL NORTE");
    EXPECT_EQ(j["P1-20"], "910000000");

    ASSERT_EQ(Modelo("parties unbind " + c + " --role 'Sujeto Pasivo'").estado, 0);
    j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_FALSE(j.contains("P1-10"));
    ASSERT_EQ(Modelo("parties remove " + n).estado, 0);
    EXPECT_EQ(Modelo("parties list").out.find("TRANSPORTES"), std::string::npos);
}

TEST_F(CliPagina, ThePartiesDialogRefusesWhatWouldSpoilTheStore) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    const std::string n =
        Modelo("parties add --nif 12345678Z --name GARCIA --first-name ANA").out.substr(0, 1);
    ASSERT_EQ(Modelo("parties bind " + c + " --role Presentador --party " + n).estado, 0);
    const std::string antes = Estado() + Modelo("parties list").out;
    // The copy bound to the declaration: "NUM<TAB>NIF<TAB>NAME<TAB>CODE<TAB>ROLE" in the list.
    std::string vinculado;
    std::istringstream lista(Modelo("parties list").out);
    for (std::string linea; std::getline(lista, linea);)
        if (linea.find("\t" + c + "\tPresentador") != std::string::npos)
            vinculado = linea.substr(0, linea.find('\t'));
    ASSERT_FALSE(vinculado.empty());
    for (const std::string& args :
         {"edit " + n + " --first-name 'AN|A'", "edit " + n + " --nif 12345678A",
          "edit " + n + " --street \"$(printf 'MAYOR\\t2')\"", std::string("edit 999 --phone 1"),
          "edit " + vinculado + " --phone 1", "remove " + vinculado,
          "bind " + c + " --role Jefe --party " + n,
          "bind 8639999999999 --role Presentador --party " + n,
          "bind " + c + " --role Presentador --party 999",
          "unbind " + c + " --role Representante"}) {
        auto s = Modelo("parties " + args);
        EXPECT_EQ(s.estado, 2) << args;
    }
    EXPECT_EQ(Estado() + Modelo("parties list").out, antes);
}

// ----- the rules of what is typed ---------------------------------------------------------------

// A period is checked once both halves are filled, also the first time, in either order; a
// refused value is never kept: the box typed last gets back what it showed.
TEST_F(CliPagina, AFirstPeriodIsCheckedAsSoonAsItIsWholeAndARefusedHalfIsNotKept) {
    for (const char* formulario : {"863", "871"}) {
        for (const auto& [pasos, mes, anio] :
             {std::tuple{"P1-1=3 P1-2=2099", "03", ""}, std::tuple{"P1-2=2099 P1-1=3", "", "2099"},
              std::tuple{"P1-1=3 P1-2=2024", "03", "2024"}}) {
            SCOPED_TRACE(std::string(formulario) + " " + pasos);
            const std::string c = Nueva(formulario);
            auto s = Modelo("type " + c + " " + pasos);
            const bool refusado = std::string(anio) != "2024";
            EXPECT_EQ(s.estado, refusado ? 1 : 0) << s.err;
            EXPECT_EQ(Contiene(s.err, "- El periodo de devengo es posterior al mes actual."),
                      refusado)
                << s.err;
            auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
            EXPECT_EQ(j.value("P1-1", ""), mes);
            EXPECT_EQ(j.value("P1-2", ""), anio);
        }
    }
}

// The month is normalised and checked when it is whole or left, never half typed: on 03/2023,
// "13" passes through "1", which must not become the month a refusal puts back.
TEST_F(CliPagina, ARefusedMonthGivesBackTheMonthTheBoxShowedBeforeTyping) {
    const std::string c = Nueva("863 --month 03 --year 2023");
    for (const char* paso : {"P1-1=13", "P1-1=123", "P1-1=00"}) {
        auto s = Modelo("type " + c + " " + paso);
        EXPECT_EQ(s.estado, 1) << paso;
        EXPECT_EQ(s.err, "- El mes de devengo no es válido.\n") << paso;
        EXPECT_EQ(nlohmann::json::parse(Modelo("show " + c + " --json").out)["P1-1"], "03");
    }
    // Emptied, the month is not refused: it cannot be emptied by typing.
    auto s = Modelo("type " + c + " P1-1= P1-1=1");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(nlohmann::json::parse(Modelo("show " + c + " --json").out)["P1-1"], "01");
    // Without a year, a month that is no month is refused all the same.
    const std::string sinAnio = Nueva("863");
    s = Modelo("type " + sinAnio + " P1-1=13");
    EXPECT_EQ(s.estado, 1);
    EXPECT_FALSE(nlohmann::json::parse(Modelo("show " + sinAnio + " --json").out).contains("P1-1"));
}

// On leaving, an amount is written as currency text and a count must be digits; what is not
// one is refused whole, the box gets back what it showed, and the total never counts it.
TEST_F(CliPagina, AnAmountIsWrittenAsCurrencyAndWhatIsNotOneIsRefused) {
    const std::string c = Nueva("863 --month 03 --year 2024");
    auto s = Modelo("type " + c +
                    " P1-60=2 P1-64=15 P1-68=1234,5 P1-61=007 P1-65=1.234 P1-69=,5 P1-62=1 "
                    "P1-70=99999999999999");
    ASSERT_EQ(s.estado, 0) << s.err;
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-64"], "15,00");
    EXPECT_EQ(j["P1-68"], "1.234,50");
    EXPECT_EQ(j["P1-61"], "007");
    EXPECT_EQ(j["P1-65"], "1.234,00");
    EXPECT_EQ(j["P1-69"], "0,50");
    EXPECT_EQ(j["P1-70"], "99.999.999.999.999,00");
    EXPECT_EQ(j["P1-72"], "100.000.000.001.234,00");
    EXPECT_EQ(Modelo("validate " + c).out.find("MODELO00"), std::string::npos);

    const std::string antes = Modelo("show " + c).out;
    for (const auto& [paso, mensaje] :
         {std::pair{"P1-64=12.34", "importe"}, std::pair{"P1-68=1.2.3,00", "importe"},
          std::pair{"P1-69=,", "importe"}, std::pair{"P1-68=.5", "importe"},
          std::pair{"P1-60=15,5", "número de documentos"},
          std::pair{"P1-60=0,5", "número de documentos"},
          std::pair{"P1-61=1.000", "número de documentos"}}) {
        s = Modelo("type " + c + " " + paso);
        EXPECT_EQ(s.estado, 1) << paso;
        EXPECT_EQ(s.err, "- El " + std::string(mensaje) + " no es válido.\n") << paso;
        EXPECT_EQ(Modelo("show " + c).out, antes) << paso;
    }
    // A count typed through "0" keeps its row's amounts.
    s = Modelo("type " + c + " P1-60=05");
    EXPECT_EQ(s.estado, 0) << s.err;
    j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-60"], "05");
    EXPECT_EQ(j["P1-68"], "1.234,50");
}
