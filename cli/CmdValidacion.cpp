// Validating a declaration and turning a valid draft into a final declaration.
#include "CasosDeUso.h"
#include "ComandosComun.h"

namespace {

void ImprimirErrores(const CListaErrores& errores, bool json) {
    Tabla tabla;
    for (const stError& e : errores)
        tabla.Nueva()
            .Columna("codigo", e.Codigo)
            .Columna("casilla", NombreCasilla(e.Pagina, e.Casilla))
            .SoloJson("pagina", e.Pagina + 1)
            .Columna("descripcion", e.Descripcion)
            .SoloJson("detalle", e.Detalle.str());
    tabla.Escribir(json);
}

} // namespace

void RegistrarValidacion(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        bool json = false;
    };
    auto v = std::make_shared<Opc>();
    auto* validate = app.add_subcommand("validate", "Valida una declaración");
    OpcionCodigo(validate, v->codigo);
    OpcionJson(validate, v->json);
    validate->callback([&ctx, v] {
        auto doc = ctx.Host().Abrir(CString(v->codigo));
        const CListaErrores errores = casos::Validar(*doc);
        ImprimirErrores(errores, v->json);
        ctx.estado = errores.IsEmpty() ? kHecho : kHallazgos;
    });

    auto f = std::make_shared<std::string>();
    auto* finalize = app.add_subcommand(
        "finalize", "Valida y, sin errores, convierte la declaración en definitiva");
    OpcionCodigo(finalize, *f);
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
