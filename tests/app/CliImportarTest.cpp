// The data-file import from the command line.
#include "app/Cli.h"

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
    EXPECT_NE(s.out.find("Se han leído correctamente los datos del fichero"), std::string::npos);
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
    EXPECT_EQ(s.out,
              "863A100036\tFila 2: el mes de devengo no coincide con el de la primera fila.\n"
              "863A100045\tFila 3: el NIF del tercero es el del declarante.\n");
    EXPECT_EQ(Estado(), antes);
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
