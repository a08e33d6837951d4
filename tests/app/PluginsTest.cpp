#include "Plugins.h"
#include "Formularios.h"
#include "Host.h"
#include "Modelo/base/Recursos.h"
#include "support/Apoyo.h"
#include "support/Motor.h"
#include "support/SqlDirecto.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {
const fs::path kBin = MODELO_BIN_DIR;

// A folder holding copies of the real plug-ins (and whatever else a case adds).
void CopiarPlugins(const apoyo::CarpetaTemporal& tmp) {
    for (const char* codigo : formularios::kCodigos) {
        const std::string f = std::string("libMod") + codigo + ".so";
        fs::copy_file(kBin / f, tmp.Ruta() / f);
    }
}

const size_t kFormularios = std::size(formularios::kCodigos);
} // namespace

TEST(Plugins, BothFormsLoadAndTheirResourcesLiveExactlyWhileLoaded) {
    EXPECT_EQ(AfxCadena(26002), "");
    EXPECT_EQ(CRuntimeClass::FromName("CMod863Doc"), nullptr);
    {
        CargadorPlugins cargador;
        cargador.CargarCarpeta(kBin.string());
        EXPECT_TRUE(cargador.Errores().empty());
        ASSERT_EQ(cargador.Plugins().size(), kFormularios);
        for (const char* codigo : formularios::kCodigos)
            EXPECT_NE(cargador.Buscar(codigo), nullptr) << codigo;
        ASSERT_NE(cargador.Buscar("863"), nullptr);
        ASSERT_NE(cargador.Buscar("871"), nullptr);
        EXPECT_EQ(cargador.Buscar("866"), nullptr);
        EXPECT_NE(cargador.Buscar("863")->titulo, cargador.Buscar("871")->titulo);

        EXPECT_EQ(AfxCadena(26002), "863");
        EXPECT_EQ(AfxCadena(25002), "871");
        EXPECT_EQ(AfxCadena(26005), "PERIODO");
        EXPECT_NE(AfxBuscarPlantilla(26001), nullptr);
        EXPECT_NE(AfxBuscarPlantilla(25007), nullptr);
        EXPECT_NE(AfxBuscarBitmap(26000), nullptr);
        EXPECT_NE(AfxBuscarBitmap(25019), nullptr);
        EXPECT_NE(AfxBuscarBitmap(26021), nullptr); // page 2's drawing for paper
        EXPECT_EQ(AfxBuscarBitmap(26022), nullptr);
        EXPECT_NE(CRuntimeClass::FromName("CMod863Doc"), nullptr);
        EXPECT_NE(CRuntimeClass::FromName("CMod871P2View"), nullptr);

        std::unique_ptr<CGuiaDoc> doc(cargador.Buscar("871")->crear());
        EXPECT_EQ(doc->GetCodModelo(), "871A1");
    }
    EXPECT_EQ(AfxCadena(26002), "");
    EXPECT_EQ(AfxBuscarPlantilla(26001), nullptr);
    EXPECT_EQ(AfxBuscarBitmap(25000), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CMod863Doc"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CMod871Doc"), nullptr);
}

TEST(Plugins, ABrokenPluginIsNamedAndTheOthersStillWork) {
    apoyo::CarpetaTemporal tmp;
    CopiarPlugins(tmp);
    apoyo::Escribir(tmp / "libMod999.so", "no soy una biblioteca");
    fs::copy_file(kBin / "libModelo.so", tmp.Ruta() / "libModelo.so"); // not a form
    apoyo::Escribir(tmp / "LEEME.txt", "x");
    CargadorPlugins cargador;
    cargador.CargarCarpeta(tmp.Ruta().string());
    ASSERT_EQ(cargador.Errores().size(), 1u);
    EXPECT_NE(cargador.Errores()[0].Find("libMod999.so"), -1);
    EXPECT_EQ(cargador.Plugins().size(), kFormularios);
}

TEST(Plugins, ALibraryWithoutTheEntryPointsIsNotAForm) {
    apoyo::CarpetaTemporal tmp;
    fs::copy_file(MODELO_LIB_SIN_ENTRADAS, tmp.Ruta() / "libModFalso.so");
    CargadorPlugins cargador;
    cargador.CargarCarpeta(tmp.Ruta().string());
    EXPECT_TRUE(cargador.Plugins().empty());
    ASSERT_EQ(cargador.Errores().size(), 1u);
    EXPECT_NE(cargador.Errores()[0].Find("no es un módulo de formulario"), -1);
}

// The table of operations is checked once, at load: a plug-in built against another layout,
// or missing an entry the program calls without asking, is named and left out, and the forms
// beside it still load.
TEST(Plugins, APluginWhoseOperationsDoNotFitIsTurnedDownAtLoad) {
    struct Caso {
        const char* biblioteca;
        const char* motivo; // "" when it must load
    };
    const Caso casos[] = {
        {MODELO_LIB_MODULO_SANO, ""},
        {MODELO_LIB_MODULO_VERSION_AJENA, "es de otra versión del programa"},
        {MODELO_LIB_MODULO_SIN_CUOTA, "no trae la operación cuota"},
        {MODELO_LIB_MODULO_SIN_TABLA, "no trae la tabla de operaciones"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.biblioteca);
        apoyo::CarpetaTemporal tmp;
        CopiarPlugins(tmp);
        fs::copy_file(caso.biblioteca, tmp.Ruta() / "libMod990.so");
        CargadorPlugins cargador;
        cargador.CargarCarpeta(tmp.Ruta().string());
        EXPECT_NE(cargador.Buscar("863"), nullptr);
        EXPECT_NE(cargador.Buscar("871"), nullptr);
        if (*caso.motivo == '\0') {
            EXPECT_TRUE(cargador.Errores().empty());
            EXPECT_NE(cargador.Buscar("990"), nullptr);
            continue;
        }
        EXPECT_EQ(cargador.Buscar("990"), nullptr);
        ASSERT_EQ(cargador.Errores().size(), 1u);
        EXPECT_NE(cargador.Errores()[0].Find("libMod990.so"), -1) << cargador.Errores()[0];
        EXPECT_NE(cargador.Errores()[0].Find(caso.motivo), -1) << cargador.Errores()[0];
    }
}

TEST(Host, NewDeclarationsGetSequentialCodesOfTheirForm) {
    apoyo::CarpetaTemporal tmp;
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta()).c_str()), CString(kBin.string()));
    auto a = host.Nueva("863", "03", "2024");
    auto b = host.Nueva("871", "", "");
    auto c = host.Nueva("863", "", "");
    EXPECT_EQ(a->GetCodDeclar(), "8630000000001");
    EXPECT_EQ(b->GetCodDeclar(), "8710000000001");
    EXPECT_EQ(c->GetCodDeclar(), "8630000000002");
    EXPECT_THROW(host.Nueva("866", "", ""), ErrorUsuario);
    EXPECT_EQ(host.Almacen().Listar().size(), 3u);
}

TEST(Host, BoxesSurviveASaveAndAReopen) {
    apoyo::CarpetaTemporal tmp;
    const CString base = apoyo::BaseNueva(tmp.Ruta()).c_str();
    // An apostrophe and letters beyond ASCII: Latin-1 bytes in a file, which keeps bytes as they
    // come; UTF-8 on a server, which keeps text in UTF-8 only.
    const CString nombre = apoyo::EnServidor() ? "O'BRIEN \xC3\x91U\xC3\x91"
                                                 "EZ"
                                               : "O'BRIEN \xD1U\xD1"
                                                 "EZ";
    CString codigo;
    {
        CHost host(base, CString(kBin.string()));
        auto doc = host.Nueva("863", "12", "2023");
        codigo = doc->GetCodDeclar();
        doc->SetCasilla(11, 0, nombre);
        doc->SetCasilla(72, 0, "1.244,50");
        doc->SetCasilla(72, 1, "9,99"); // page 2 is a copy: the save replicates over it
        host.Guardar(*doc);
    }
    CHost host(base, CString(kBin.string()));
    auto doc = host.Abrir(codigo);
    EXPECT_EQ(doc->GetCasilla(11, 0), nombre);
    EXPECT_EQ(doc->GetCasilla(72, 1), "1.244,50");
    EXPECT_EQ(doc->GetCasilla(10, 0), "");
    EXPECT_EQ(doc->GetMesPeriodo(), "12");
    EXPECT_EQ(doc->GetEstado(), "0");
    EXPECT_TRUE(doc->PermiteCambios());
    EXPECT_EQ(doc->NumPaginas(), 2);
    EXPECT_EQ(doc->GetPagina(0).Ejemplar.GetSize(), 2); // the host asked for the copy kinds
    EXPECT_THROW(host.Abrir("8639999999999"), ErrorUsuario);
}

TEST(Host, AFailedSaveLeavesTheLastGoodOne) {
    apoyo::CarpetaTemporal tmp;
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta()).c_str()), CString(kBin.string()));
    auto doc = host.Nueva("863", "", "");
    doc->SetCasilla(10, 0, "BUENO");
    host.Guardar(*doc);
    // A trigger makes the next save fail half way, after the old boxes were deleted.
    const std::string base = host.BaseDatos().Ruta().c_str();
    apoyo::Sql(base, apoyo::EnServidor()
                         ? "CREATE FUNCTION falla() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "IF NEW.VALOR = 'MALO' THEN RAISE EXCEPTION 'disco'; END IF; "
                           "RETURN NEW; END $$; CREATE TRIGGER falla BEFORE INSERT ON CASILLAS "
                           "FOR EACH ROW EXECUTE FUNCTION falla()"
                         : "CREATE TRIGGER falla BEFORE INSERT ON CASILLAS WHEN NEW.VALOR = "
                           "'MALO' BEGIN SELECT RAISE(ABORT, 'disco'); END");
    doc->SetCasilla(10, 0, "MALO");
    doc->SetCasilla(11, 0, "OTRO");
    EXPECT_THROW(host.Guardar(*doc), CExcepcionBD);
    auto releido = host.Abrir(doc->GetCodDeclar());
    EXPECT_EQ(releido->GetCasilla(10, 0), "BUENO");
    EXPECT_EQ(releido->GetCasilla(11, 0), "");
}

// The list of declarations shows the period the boxes hold, or none where they hold no month
// or year: a box written raw by a script must not put text into the list's columns.
TEST(Host, TheStoredPeriodIsTheBoxesMonthAndYearOrNothing) {
    apoyo::CarpetaTemporal tmp;
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta()).c_str()), CString(kBin.string()));
    auto doc = host.Nueva("863", "", "");
    const struct {
        const char *mes, *anio, *mesGuardado, *anioGuardado;
    } casos[] = {
        {"3", "2024", "03", "2024"},
        {"12", "1999", "12", "1999"},
        {"13", "20245", "", ""},
        {"MARZO", "24X", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : casos) {
        doc->SetCasilla(1, 0, c.mes);
        doc->SetCasilla(2, 0, c.anio);
        host.Guardar(*doc);
        const auto r = host.Buscar(doc->GetCodDeclar());
        EXPECT_EQ(r.mes, c.mesGuardado) << c.mes;
        EXPECT_EQ(r.anio, c.anioGuardado) << c.anio;
    }
}

// A correction writes the earlier declaration as the page shows it: the day it became final
// day first, the year of its period (or, without one, of that day), its serial padded.
TEST(Host, ACorrectionWritesTheEarlierDeclarationAsThePageShowsIt) {
    Reloj::Fijar([] { return COleDateTime(2024, 4, 5, 23, 59, 58); });
    struct RelojDeVuelta {
        ~RelojDeVuelta() { Reloj::Fijar({}); }
    } relojDeVuelta;
    apoyo::CarpetaTemporal tmp;
    CHost host(CString(apoyo::BaseNueva(tmp.Ruta()).c_str()), CString(kBin.string()));
    auto sinPeriodo = host.Nueva("863", "", "");
    auto conPeriodo = host.Nueva("863", "11", "2023");
    const struct {
        CGuiaDoc* anterior;
        TipoCorreccion tipo;
        const char *complementaria, *sustitutiva, *anio;
    } casos[] = {
        {sinPeriodo.get(), TipoCorreccion::Sustitutiva, "", "S", "2024"},
        {conPeriodo.get(), TipoCorreccion::Complementaria, "S", "", "2023"},
    };
    for (const auto& c : casos) {
        const auto previa = host.Buscar(c.anterior->GetCodDeclar());
        auto doc = host.Nueva("863", "", "");
        host.Corregir(*doc, CHost::Anterior(previa, c.tipo));
        EXPECT_EQ(doc->GetCasilla(50, 0), c.complementaria);
        EXPECT_EQ(doc->GetCasilla(51, 0), c.sustitutiva);
        EXPECT_EQ(doc->GetCasilla(52, 0), previa.codigo);
        EXPECT_EQ(doc->GetCasilla(53, 0), "05/04/2024");
        EXPECT_EQ(doc->GetCasilla(54, 0), c.anio);
        EXPECT_EQ(doc->GetCasilla(55, 0), previa.codigo.Right(6));
    }

    // A stamp that is no day of the calendar gives no date rather than a made-up one.
    EXPECT_EQ(CAlmacenDeclaraciones::Dia("2024-02-29 00:00:00"),
              COleDateTime(2024, 2, 29, 0, 0, 0));
    for (const char* marca : {"2023-02-29 00:00:00", "2024-4-5 10:00:00", "", "2024-04"})
        EXPECT_EQ(CAlmacenDeclaraciones::Dia(marca).GetStatus(), COleDateTime::invalid) << marca;
}
