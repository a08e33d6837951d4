// The data-file import from page 1: the outcome the host hears, and the command line.
#include "Host.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/windows/GuiaView.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "cli/Cli.h"

#include <nlohmann/json.hpp>

namespace {
std::string Linea(const std::string& mes = "03", const std::string& tercero = "12345678Z",
                  const char* importe = "000000000150000") {
    std::string nombre = "CLIENTE";
    nombre.resize(49, ' ');
    return "8632024" + mes + "B12345674" + tercero + nombre + "1" + std::string(20, ' ') + "REF-1" +
           std::string(15, ' ') + importe;
}
} // namespace

TEST_F(Cli, ImportTakesAFileAndFillsTheTable) {
    const std::string c = Nueva("863");
    apoyo::Escribir(tmp / "datos.txt", Linea() + "\r\n" + Linea() + "\n");
    auto s = Modelo("import " + c + " '" + tmp / "datos.txt" + "'");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_NE(s.err.find("Se han leído correctamente los datos del fichero"), std::string::npos);
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-60"], "2");
    EXPECT_EQ(j["P1-64"], "3.000,00");
    EXPECT_EQ(j["P1-72"], "30,00");
    EXPECT_EQ(j["P2-72"], "30,00"); // replicated by the save
    EXPECT_EQ(j["P1-24"], "B12345674");
    EXPECT_NE(Modelo("list").out.find("\t03\t2024"), std::string::npos);
}

TEST_F(Cli, ARefusedFileIsExplainedRowByRowAndChangesNothing) {
    const std::string c = Nueva("863");
    apoyo::Escribir(tmp / "bueno.txt", Linea());
    ASSERT_EQ(Modelo("import " + c + " '" + tmp / "bueno.txt" + "'").estado, 0);
    const std::string antes = Estado();
    apoyo::Escribir(tmp / "malo.txt",
                    Linea() + "\n\n" + Linea("04") + "\n" + Linea("03", "B12345674"));
    auto s = Modelo("import " + c + " '" + tmp / "malo.txt" + "'");
    EXPECT_EQ(s.estado, 1);
    // Each finding with its detail, which names the columns; the blank line makes row 2 the
    // file's third line.
    EXPECT_EQ(s.out, "863A100036\tFila 2 (línea 3): el mes de devengo no coincide con el de la "
                     "primera fila.\n"
                     "  Columnas 8 y 9.\n"
                     "863A100045\tFila 3 (línea 4): el NIF del tercero es el del declarante.\n"
                     "  Columnas 19 a 27.\n");
    EXPECT_EQ(Estado(), antes);
    // Without blank lines the row is the line, and is said once.
    apoyo::Escribir(tmp / "malo.txt", Linea() + "\n" + Linea("04"));
    s = Modelo("import " + c + " '" + tmp / "malo.txt" + "'");
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.out.substr(0, s.out.find('\n')),
              "863A100036\tFila 2: el mes de devengo no coincide con el de la primera fila.");
    EXPECT_EQ(Estado(), antes);
}

// The same documents, one file written by an editor in UTF-8 and its Latin-1 twin: accented
// names take two bytes in UTF-8 but one column.
TEST_F(Cli, AUtf8FileGivesTheBoxesOfItsLatin1Twin) {
    const auto Fila = [](const std::string& nombre, int columnasNombre, const char* tipo,
                         const std::string& otros, const char* importe) {
        std::string n = nombre + std::string(size_t(49 - columnasNombre), ' ');
        std::string d = otros + std::string(20 - 6, ' ');
        return "8632024" + std::string("03") + "B12345674" + "12345678Z" + n + tipo +
               (std::string(tipo) == "4" ? d : std::string(20, ' ')) + "REF-1" +
               std::string(15, ' ') + importe;
    };
    // "PEÑA MUÑOZ" is ten columns; "OTROS\xC3\x89" six.
    const std::string utf8 = Fila("PE\xC3\x91"
                                  "A MU\xC3\x91OZ",
                                  10, "1", "", "000000000150000") +
                             "\n" +
                             Fila("\xC3\x81LVAREZ", 7, "4", "OTROS\xC3\x89", "000000004000000");
    const std::string latin1 = Fila("PE\xD1"
                                    "A MU\xD1OZ",
                                    10, "1", "", "000000000150000") +
                               "\n" + Fila("\xC1LVAREZ", 7, "4", "OTROS\xC9", "000000004000000");
    apoyo::Escribir(tmp / "utf8.txt", utf8);
    apoyo::Escribir(tmp / "bom.txt", "\xEF\xBB\xBF" + utf8 + "\r\n");
    apoyo::Escribir(tmp / "latin1.txt", latin1);
    std::string esperado;
    for (const char* f : {"latin1.txt", "utf8.txt", "bom.txt"}) {
        const std::string c = Nueva("863");
        const auto s = Modelo("import " + c + " '" + tmp / f + "'");
        ASSERT_EQ(s.estado, 0) << f << ": " << s.out << s.err;
        const std::string casillas = Modelo("show " + c + " --page 1").out;
        EXPECT_NE(casillas.find("P1-63\t1\n"), std::string::npos) << f << "\n" << casillas;
        if (esperado.empty())
            esperado = casillas;
        EXPECT_EQ(casillas, esperado) << f;
    }
}

TEST_F(Cli, AnUnreadablePathKeepsTheTable) {
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("set " + c + " P1-60=3 P1-64=10,00").estado, 0);
    const std::string antes = Estado();
    for (const std::string& ruta : {tmp / "no-existe.txt", tmp.Ruta().string()}) {
        auto s = Modelo("import " + c + " '" + ruta + "'");
        EXPECT_EQ(s.estado, 2) << ruta;
        EXPECT_NE(s.err.find("No se puede leer el fichero"), std::string::npos);
    }
    EXPECT_EQ(Estado(), antes);
}

TEST_F(Cli, Form871AndFinalDeclarationsRefuseTheImport) {
    apoyo::Escribir(tmp / "datos.txt", Linea());
    const std::string c871 = Nueva("871");
    auto s = Modelo("import " + c871 + " '" + tmp / "datos.txt" + "'");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("871"), std::string::npos);
    EXPECT_EQ(Modelo("import 8639999999999 '" + tmp / "datos.txt" + "'").estado, 2);
}

TEST_F(Cli, AFileThatOpensButCannotBeReadKeepsTheTable) {
    const std::string c = Nueva("863");
    apoyo::Escribir(tmp / "datos.txt", Linea());
    ASSERT_EQ(Modelo("import " + c + " '" + tmp / "datos.txt" + "'").estado, 0);
    const std::string antes = Estado();
    // A regular file for the checks, whose read fails at once.
    auto s = Modelo("import " + c + " /proc/self/mem");
    EXPECT_EQ(s.estado, 2);
    EXPECT_NE(s.err.find("No se puede leer"), std::string::npos) << s.err;
    EXPECT_EQ(Estado(), antes);
}

// What the page's import came to, as the host hears it, and what it left in the table.
TEST(ImportacionEnPagina, TheOutcomeSaysWhatBecameOfTheFile) {
    apoyo::CarpetaTemporal tmp;
    apoyo::Escribir(tmp / "bueno.txt", Linea());
    apoyo::Escribir(tmp / "vacio.txt", "");
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta(), "m.db")), CString(MODELO_BIN_DIR));
    const struct {
        const char* caso;
        std::string fichero; // "" for a dialog cancelled
        bool definitiva;
        ResultadoImportacion esperado;
        const char* documentos; // P1-60 after it
        size_t hallazgos, mensajes;
    } casos[] = {
        {"tomado", tmp / "bueno.txt", false, ResultadoImportacion::Tomado, "1", 0, 1},
        {"rechazado", tmp / "vacio.txt", false, ResultadoImportacion::Rechazado, "", 1, 0},
        // A path that cannot be read keeps the table the person has, and says so.
        {"carpeta", tmp.Ruta().string(), false, ResultadoImportacion::Ilegible, "3", 0, 1},
        {"ilegible", "/proc/self/mem", false, ResultadoImportacion::Ilegible, "3", 0, 1},
        {"cancelado", "", false, ResultadoImportacion::Cancelado, "3", 0, 0},
        {"definitiva", tmp / "bueno.txt", true, ResultadoImportacion::Cancelado, "3", 0, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        auto doc = host.Nueva("863", "", "");
        doc->SetCasilla(60, 0, "3");
        doc->SetPermiteCambios(!c.definitiva);
        CServiciosGrabados servicios;
        servicios.ficheroElegido = CString(c.fichero);
        AfxFijarServicios(&servicios);
        CString error;
        auto vista = AbrirVistaPagina(*doc, 0, error);
        ASSERT_TRUE(vista) << error;
        ASSERT_TRUE(host.OfreceImportacion(*doc));
        EXPECT_EQ(host.Importar(*vista), c.esperado);
        AfxFijarServicios(nullptr);
        EXPECT_EQ(doc->GetCasilla(60, 0), c.documentos);
        EXPECT_EQ(servicios.listasErrores.size(), c.hallazgos);
        ASSERT_EQ(servicios.mensajes.size(), c.mensajes);
        if (c.esperado == ResultadoImportacion::Ilegible) {
            EXPECT_NE(servicios.mensajes[0].texto.Find(CString(c.fichero)), -1);
        }
        EXPECT_EQ(servicios.ficherosPedidos.size(), c.definitiva ? 0u : 1u);
    }
}

// A form whose page 1 has no import does not offer it, and the import is only started from
// page 1: either refusal leaves the table as it was and asks for no file.
TEST(ImportacionEnPagina, OnlyPage1OfAFormThatHasItImports) {
    apoyo::CarpetaTemporal tmp;
    apoyo::Escribir(tmp / "bueno.txt", Linea());
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta(), "m.db")), CString(MODELO_BIN_DIR));
    CServiciosGrabados servicios;
    servicios.ficheroElegido = CString(tmp / "bueno.txt");
    AfxFijarServicios(&servicios);
    CString error;
    auto doc871 = host.Nueva("871", "", "");
    doc871->SetCasilla(60, 0, "3");
    auto vista871 = AbrirVistaPagina(*doc871, 0, error);
    ASSERT_TRUE(vista871) << error;
    EXPECT_FALSE(host.OfreceImportacion(*doc871));
    EXPECT_THROW(host.Importar(*vista871), ErrorUsuario);
    EXPECT_EQ(doc871->GetCasilla(60, 0), "3");

    auto doc863 = host.Nueva("863", "", "");
    doc863->SetCasilla(60, 0, "3");
    auto pagina2 = AbrirVistaPagina(*doc863, 1, error);
    ASSERT_TRUE(pagina2) << error;
    EXPECT_THROW(host.Importar(*pagina2), std::invalid_argument);
    EXPECT_EQ(doc863->GetCasilla(60, 0), "3");
    AfxFijarServicios(nullptr);
    EXPECT_TRUE(servicios.ficherosPedidos.empty());
}

// ----- the import and the rest of page 1 --------------------------------------------------------

namespace {
// Declarations before an import: the boxes of their kind and earlier declaration, and the
// presentation date they hold after it.
struct Correccion {
    std::vector<std::pair<int, const char*>> casillas;
    const char* fecha;
};
const Correccion kCorrecciones[] = {
    {{}, ""},                                        // ordinary: no earlier declaration
    {{{50, "S"}}, "01/03/2024"},                     // offered the accrual month's first day
    {{{51, "S"}, {53, "15/04/2024"}}, "15/04/2024"}, // its own date is the real one
};
} // namespace

// The boxes of an earlier declaration belong to a correction alone: the command line's import
// and the window's (the page's import, then its next save) store the same ones.
TEST_F(Cli, BothFacesOfTheImportStoreTheEarlierDeclarationOfACorrectionAlone) {
    apoyo::Escribir(tmp / "datos.txt", Linea());
    for (const Correccion& caso : kCorrecciones) {
        SCOPED_TRACE(caso.fecha);
        const std::string c = Nueva("863");
        std::string casillas;
        for (auto [n, v] : caso.casillas)
            casillas += " P1-" + std::to_string(n) + "=" + v;
        if (!casillas.empty()) {
            ASSERT_EQ(Modelo("set " + c + casillas).estado, 0);
        }
        ASSERT_EQ(Modelo("import " + c + " '" + tmp / "datos.txt" + "'").estado, 0);
        EXPECT_EQ(nlohmann::json::parse(Modelo("show " + c + " --json").out).value("P1-53", ""),
                  caso.fecha);
    }
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta(), "ventana.db")), CString(MODELO_BIN_DIR));
    for (const Correccion& caso : kCorrecciones) {
        SCOPED_TRACE(caso.fecha);
        auto doc = host.Nueva("863", "", "");
        for (auto [n, v] : caso.casillas)
            doc->SetCasilla(n, 0, v);
        CServiciosGrabados servicios;
        servicios.ficheroElegido = CString(tmp / "datos.txt");
        AfxFijarServicios(&servicios);
        CString error;
        auto vista = AbrirVistaPagina(*doc, 0, error);
        ASSERT_TRUE(vista) << error;
        EXPECT_EQ(host.Importar(*vista), ResultadoImportacion::Tomado);
        EXPECT_EQ(doc->GetCasilla(53, 0), caso.fecha);
        EXPECT_TRUE(vista->SalvarDatos());
        AfxFijarServicios(nullptr);
        EXPECT_EQ(doc->GetCasilla(53, 0), caso.fecha);
    }
}

// An ordinary declaration's code carries no earlier declaration, whatever a script wrote into
// its boxes; a correction's carries it.
TEST_F(Cli, TheCodeCarriesTheEarlierDeclarationOfACorrectionAlone) {
    const std::string c = Nueva("863 --month 3 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-52=8630000000009 P1-53=15/04/2024 P1-55=000012").estado, 0);
    std::string codigo = Modelo("pdf417 " + c).out;
    EXPECT_FALSE(Contiene(codigo, "8630000000009")) << codigo;
    EXPECT_FALSE(Contiene(codigo, "15/04/2024")) << codigo;
    EXPECT_TRUE(Contiene(codigo, "|2024||||||T||[")) << codigo; // every field in its place
    ASSERT_EQ(Modelo("set " + c + " P1-50=S").estado, 0);
    codigo = Modelo("pdf417 " + c).out;
    EXPECT_TRUE(Contiene(codigo, "|S||8630000000009|15/04/2024||T|000012|")) << codigo;
}

// The import computed the quotas with the tariff of the file's period; a new period keeps
// them, and the page says so, once.
TEST_F(Cli, AChangedPeriodAfterAnImportSaysTheQuotasKeepTheFilesTariff) {
    apoyo::Escribir(tmp / "datos.txt", Linea());
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("import " + c + " '" + tmp / "datos.txt" + "'").estado, 0);
    auto s = Modelo("type " + c + " P1-1=04");
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.err, "Las cuotas de la liquidación se calcularon al importar el fichero, con la "
                     "tarifa del periodo de devengo del fichero; no se han vuelto a calcular "
                     "para el periodo 04/2024. Revíselas.\n");
    auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    EXPECT_EQ(j["P1-1"], "04");
    EXPECT_EQ(j["P1-68"], "15,00");
    // The period as it is, and quotas a person typed, are nothing to say.
    s = Modelo("type " + c + " P1-1=4 P1-2=2024");
    EXPECT_EQ(s.estado, 0) << s.err;
    const std::string aMano = Nueva("863 --month 03 --year 2024");
    s = Modelo("type " + aMano + " P1-60=1 P1-68=15,00 P1-1=04");
    EXPECT_EQ(s.estado, 0) << s.err;
}
