// Importing the liquidation data file into a declaration, as the page-1 import does.
#include "ComandosComun.h"
#include "Modelo/Funciones.h"

#include <filesystem>
#include <fstream>

namespace {

// The file is checked before anything is cleared: a path that cannot be read must not cost
// the user the liquidation table they have.
void ExigirLegible(const std::string& ruta) {
    std::error_code ec;
    const auto estado = std::filesystem::status(ruta, ec);
    if (ec || !std::filesystem::is_regular_file(estado))
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)) +
                           (std::filesystem::is_directory(estado) ? " (es una carpeta)" : ""));
    std::ifstream f(ruta, std::ios::binary);
    if (!f)
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(ruta)));
}

} // namespace

void RegistrarImportacion(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, fichero;
    };
    auto o = std::make_shared<Opc>();
    auto* import = app.add_subcommand(
        "import", "Carga el fichero de documentos declarados en la autoliquidación");
    import->add_option("CODE", o->codigo, "Código de la declaración")->required();
    import->add_option("FILE", o->fichero, "Fichero de datos")->required();
    import->callback([&ctx, o] {
        CHost& host = ctx.Host();
    // The whole import is one change of the store: killed halfway, it leaves the
    // declaration as it was.
    CBaseDatos::Transaccion t(host.BaseDatos());
    auto doc = host.Abrir(CString(o->codigo));
    CHost::ExigirBorrador(*doc);
    if (!host.Ofrece(*doc, "importar"))
        throw ErrorUsuario("El formulario " + doc->GetCodModelo().Left(3) +
                           " no tiene importación de fichero");
    ExigirLegible(o->fichero);
    host.Guardar(*doc);
    CStringArray args;
    args.Add(CString(o->fichero));
    const CStringArray r = host.Operacion(*doc, "importar", args);
    if (r[0] == "2")
        throw ErrorUsuario("No se puede leer el fichero " + CitaBreve(CString(o->fichero)));
    host.Guardar(*doc);
    t.Confirmar();
    ctx.estado = r[0] == "1" ? kHecho : kHallazgos;
});
}
