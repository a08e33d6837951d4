// The month in one run: a folder of clients' data files, each its own declaration or its own
// finding, never another client's.
#include "Cli.h"

#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

std::string FilaLote(const std::string& nif, const std::string& mes = "03",
                     const char* importe = "000000000150000") {
    std::string nombre = "TERCERO";
    nombre.resize(49, ' ');
    return "8632024" + mes + nif + "12345678Z" + nombre + "1" + std::string(20, ' ') + "REF-1" +
           std::string(15, ' ') + importe;
}

class CliLote : public Cli {
protected:
    std::string carpeta = tmp / "mes";
    std::string pdfs = tmp / "pdf";

    void SetUp() override {
        std::filesystem::create_directories(carpeta);
        std::filesystem::create_directories(pdfs);
        // The sample store holds B12345674 and the presenter 12345678Z; one more client.
        ASSERT_EQ(Modelo("parties add --nif A58818501 --name 'OTRA EMPRESA, S.A.'").estado, 0);
        ASSERT_EQ(Modelo("config presenter 12345678Z 'GARCIA LOPEZ MARIA'").estado, 0);
    }
    void Fichero(const std::string& nombre, const std::string& contenido) {
        apoyo::Escribir(carpeta + "/" + nombre, contenido);
    }
    apoyo::Salida Lote(const std::string& extra = "") {
        return Modelo("batch '" + carpeta + "' --month 3 --year 2024 " + extra);
    }
    static nlohmann::json PorFichero(const std::string& json, const std::string& fichero) {
        for (const auto& r : nlohmann::json::parse(json))
            if (r["fichero"] == fichero)
                return r;
        return {};
    }
};

} // namespace

TEST_F(CliLote, EachClientGetsItsOwnOutcomeAndTheRunGoesOn) {
    Fichero("1-bueno.txt", FilaLote("B12345674") + "\r\n" + FilaLote("B12345674") + "\n");
    Fichero("2-malo.txt", FilaLote("A58818501") + "\n" + FilaLote("A58818501", "04"));
    Fichero("3-desconocido.txt", FilaLote("Q2826000H"));
    Fichero("4-basura.txt", "hola\n");
    Fichero("5-otro-mes.txt", FilaLote("A58818501", "04"));
    Fichero(".oculto", "hola\n");
    Fichero("viejo.PDF", "%PDF");
    const std::string impresos = pdfs + "/marzo"; // made by the run
    auto s = Lote("--json --finalize --pdf '" + impresos + "'");
    EXPECT_EQ(s.estado, 1) << s.err;
    const auto todo = nlohmann::json::parse(s.out);
    ASSERT_EQ(todo.size(), 5u) << s.out; // hidden files and PDFs are not data files

    const auto bueno = PorFichero(s.out, "1-bueno.txt");
    EXPECT_EQ(bueno["nif"], "B12345674");
    EXPECT_EQ(bueno["documentos"], 2);
    EXPECT_EQ(bueno["total"], "30,00");
    EXPECT_EQ(bueno["estado"], "definitiva");
    EXPECT_TRUE(bueno["hallazgos"].empty()) << bueno.dump();
    const std::string codigo = bueno["codigo"];
    EXPECT_EQ(Modelo("list").out, codigo + "\t863A1\tdefinitiva\t03\t2024\tB12345674\t"
                                           "DISTRIBUCIONES EJEMPLO, S.L.\n");

    // The refused file's findings name its row and point to the layout; no draft is left.
    const auto malo = PorFichero(s.out, "2-malo.txt");
    EXPECT_EQ(malo["estado"], "rechazado");
    EXPECT_EQ(malo["codigo"], "");
    ASSERT_EQ(malo["hallazgos"].size(), 2u);
    EXPECT_EQ(malo["hallazgos"][0]["codigo"], "863A100036");
    EXPECT_TRUE(Contiene(malo["hallazgos"][1]["detalle"], "Fichero de documentos"));
    EXPECT_EQ(PorFichero(s.out, "3-desconocido.txt")["hallazgos"][0]["codigo"], "LOTE0004");
    EXPECT_EQ(PorFichero(s.out, "4-basura.txt")["hallazgos"][0]["codigo"], "LOTE0001");
    // A file of another month would otherwise become that month's declaration.
    EXPECT_EQ(PorFichero(s.out, "5-otro-mes.txt")["hallazgos"][0]["codigo"], "LOTE0003");

    // Only the stored declaration was printed, under the client's name for the period, and its
    // sheets carry its boxes.
    const std::string pdf = impresos + "/B12345674_863_2024-03.pdf";
    EXPECT_EQ(bueno["pdf"], pdf);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(impresos), {}), 1);
    auto texto = apoyo::Ejecutar("pdftotext '" + pdf + "' -");
    ASSERT_EQ(texto.estado, 0) << texto.err;
    EXPECT_TRUE(Contiene(texto.out, "DISTRIBUCIONES EJEMPLO, S.L.")) << texto.out;
    EXPECT_TRUE(Contiene(texto.out, "30,00"));
    EXPECT_FALSE(Contiene(texto.out, "BORRADOR")); // finalized before it was printed

    // A month already filed is not filed twice.
    s = Lote("--json");
    EXPECT_EQ(PorFichero(s.out, "1-bueno.txt")["hallazgos"][0]["codigo"], "LOTE0005");
    EXPECT_EQ(Modelo("list").out.find('\n'), Modelo("list").out.size() - 1);
}

TEST_F(CliLote, ARefusedFileLeavesTheClientsDraftAsItWasAndARerunReplacesTheTable) {
    Fichero("a.txt", FilaLote("B12345674"));
    auto s = Lote();
    ASSERT_EQ(s.estado, 0) << s.err << s.out;
    EXPECT_EQ(s.out.substr(0, 6), "a.txt\t");
    const std::string antes = Estado();
    // The same client's file, now faulty: the draft keeps its table.
    Fichero("a.txt", FilaLote("B12345674") + "\n" + FilaLote("B12345674", "03", "00000000000000X"));
    s = Lote();
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(Contiene(s.err, "a.txt: 863A100044")) << s.err;
    EXPECT_TRUE(Contiene(s.err, "Fichero de documentos"));
    EXPECT_EQ(Estado(), antes);
    // Mended, it replaces the draft's table instead of making a second declaration.
    Fichero("a.txt", FilaLote("B12345674") + "\n" + FilaLote("B12345674", "03", "000000000300000"));
    s = Lote("--json");
    ASSERT_EQ(s.estado, 0) << s.err;
    const auto r = nlohmann::json::parse(s.out)[0];
    EXPECT_EQ(r["documentos"], 2);
    EXPECT_EQ(r["total"], "45,00");
    EXPECT_EQ(r["estado"], "borrador");
    EXPECT_EQ(Modelo("list").out.find('\n'), Modelo("list").out.size() - 1);
}

TEST_F(CliLote, ABadRunIsRefusedBeforeAnyClient) {
    Fichero("a.txt", FilaLote("B12345674"));
    EXPECT_EQ(Modelo("batch '" + carpeta + "' --month 13 --year 2024").estado, 2);
    EXPECT_EQ(Modelo("batch '" + carpeta + "' --month 3 --year 24").estado, 2);
    EXPECT_EQ(Modelo("batch '" + carpeta + "' --month 3 --year 2024 --form 999").estado, 2);
    auto sinImportacion = Modelo("batch '" + carpeta + "' --month 3 --year 2024 --form 871");
    EXPECT_EQ(sinImportacion.estado, 2);
    EXPECT_TRUE(Contiene(sinImportacion.err, "no tiene importación")) << sinImportacion.err;
    EXPECT_EQ(Modelo("batch '" + tmp / "nada" + "' --month 3 --year 2024").estado, 2);
    auto s = Modelo("batch '" + pdfs + "' --month 3 --year 2024");
    EXPECT_EQ(s.estado, 2); // an empty folder is not a month without findings
    EXPECT_TRUE(Contiene(s.err, "ningún fichero de documentos")) << s.err;
    apoyo::Escribir(tmp / "fichero", "");
    EXPECT_EQ(Lote("--pdf '" + tmp / "fichero" + "'").estado, 2);
    EXPECT_EQ(Modelo("list").out, "");
}

TEST_F(CliLote, AnImportRefusedOnItsOwnPointsToTheLayout) {
    const std::string c = Nueva("863");
    apoyo::Escribir(tmp / "malo.txt", "hola");
    auto s = Modelo("import " + c + " '" + tmp / "malo.txt" + "'");
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(Contiene(s.err, "«Fichero de documentos» en el manual")) << s.err;
}
