// Validating a declaration and turning a valid draft into a final declaration.
#include "CasosDeUso.h"
#include "ComandosComun.h"

namespace {

void ImprimirErrores(const CListaErrores& errores, bool json) {
    if (!json) {
        for (const stError& e : errores)
            Imprimir(e.Codigo + "\t" + NombreCasilla(e.Pagina, e.Casilla) + "\t" + e.Descripcion);
        return;
    }
    nlohmann::json lista = nlohmann::json::array();
    for (const stError& e : errores)
        lista.push_back({{"codigo", e.Codigo.str()},
                         {"casilla", NombreCasilla(e.Pagina, e.Casilla).str()},
                         {"pagina", e.Pagina + 1},
                         {"descripcion", e.Descripcion.str()},
                         {"detalle", e.Detalle.str()}});
    Imprimir(CString(Json(lista)));
}

} // namespace

void RegistrarValidacion(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        bool json = false;
    };
    auto v = std::make_shared<Opc>();
    auto* validate = app.add_subcommand("validate", "Valida una declaración");
    validate->add_option("CODE", v->codigo, "Código de la declaración")->required();
    validate->add_flag("--json", v->json, "Salida JSON");
    validate->callback([&ctx, v] {
        auto doc = ctx.Host().Abrir(CString(v->codigo));
        const CListaErrores errores = casos::Validar(*doc);
        ImprimirErrores(errores, v->json);
        ctx.estado = errores.IsEmpty() ? kHecho : kHallazgos;
    });

    auto f = std::make_shared<std::string>();
    auto* finalize = app.add_subcommand(
        "finalize", "Valida y, sin errores, convierte la declaración en definitiva");
    finalize->add_option("CODE", *f, "Código de la declaración")->required();
    finalize->callback([&ctx, f] {
        CHost& host = ctx.Host();
        // The declaration is read inside the transaction that finalizes it.
        CBaseDatos::Transaccion t(host.BaseDatos());
        auto doc = host.Abrir(CString(*f));
        CListaErrores errores;
        const bool definitiva = casos::Finalizar(host, *doc, errores);
        t.Confirmar();
        if (!definitiva) {
            ImprimirErrores(errores, false);
            std::fprintf(stderr, "La declaración %s sigue en borrador: tiene %d errores.\n",
                         doc->GetCodDeclar().c_str(), errores.GetSize());
            ctx.estado = kHallazgos;
            return;
        }
        Imprimir("La declaración " + doc->GetCodDeclar() + " es definitiva.");
    });
}
