// A whole database copied to or from another one (a server's, or a file) from the command line.
#include "ComandosComun.h"
#include "CopiaEntreBases.h"

void RegistrarCopiaBases(CLI::App& db, Contexto& ctx) {
    struct Opc {
        std::string hacia, desde;
        bool sobrescribir = false, json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* copy = db.add_subcommand(
        "copy",
        "Copia toda la base de datos a otra vacía (un servidor o un fichero), o desde otra");
    auto* to = copy->add_option("--to", o->hacia, "Base de datos de destino: URI o fichero");
    auto* from =
        copy->add_option("--from", o->desde, "Base de datos de origen, que se copia en la de --db");
    to->excludes(from);
    copy->add_flag("--sobrescribir", o->sobrescribir,
                   "Reemplaza el contenido de un destino que tiene declaraciones o intervinientes");
    OpcionJson(copy, o->json);
    copy->callback([&ctx, o, to, from] {
        if (!to->count() && !from->count())
            throw ErrorUsuario("Indique --to DESTINO o --from ORIGEN");
        CHost& host = ctx.Host();
        const auto copiadas =
            to->count() ? entrebases::CopiarHacia(host, CString(o->hacia), o->sobrescribir)
                        : entrebases::CopiarDesde(host, CString(o->desde), o->sobrescribir);
        Tabla tabla;
        for (const auto& t : copiadas)
            tabla.Nueva()
                .Columna("tabla", t.tabla)
                .Columna("filas", Celda(CString::Formatted("%lld", t.filas), t.filas));
        tabla.Escribir(o->json);
    });
}
