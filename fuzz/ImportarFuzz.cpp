// libFuzzer target: any bytes as a liquidation data file, imported into a real document of
// form 863 on a real database. The import must refuse or take the file, never crash, and a
// refused file must leave the liquidation boxes empty.
#include "Formulario.h"
#include "Modelo/store/BaseDatos.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "core/ModDoc.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Entorno {
    std::string carpeta, base, fichero;
    CBaseDatos db;
    CServiciosGrabados ui;

    Entorno() {
        char plantilla[] = "/tmp/modelo-fuzz-XXXXXX";
        if (!mkdtemp(plantilla))
            std::abort();
        carpeta = plantilla;
        base = carpeta + "/fuzz.db";
        fichero = carpeta + "/datos.txt";
        db.Abrir(base.c_str());
        CBaseDatos::FijarActual(&db);
        AfxFijarServicios(&ui);
        // A fixed clock keeps the accepted periods the same on every run.
        Reloj::Fijar([] { return COleDateTime(2024, 6, 15, 12, 0, 0); });
    }
    // A bounded run ends through exit(), so every run in CI would otherwise leave a folder.
    ~Entorno() {
        AfxFijarServicios(nullptr);
        CBaseDatos::FijarActual(nullptr);
        db.Cerrar();
        std::error_code ignorado;
        std::filesystem::remove_all(carpeta, ignorado);
    }
};

Entorno& entorno() {
    static Entorno e;
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    Entorno& e = entorno();
    std::FILE* f = std::fopen(e.fichero.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(datos, 1, tamano, f);
    std::fclose(f);

    MOD_DOC doc;
    doc.CrearEstructPaginas();
    e.ui = CServiciosGrabados();
    doc.LimpiarDatosAutoliquidacion();
    const bool tomado = doc.AnalizarFicheroAutoliquidacion(e.fichero.c_str());
    if (!tomado) {
        for (int c = 60; c <= 72; ++c)
            if (!doc.GetCasilla(c, 0).IsEmpty())
                std::abort();
        if (e.ui.listasErrores.empty() || e.ui.listasErrores.back().IsEmpty())
            std::abort(); // a refusal always says why
    } else if (doc.GetCasilla(72, 0).IsEmpty()) {
        std::abort();
    }
    return 0;
}
