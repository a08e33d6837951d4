// Backups of the database from the command line.
#include "ComandosComun.h"
#include "Copias.h"
#include "Modelo/base/Funciones.h"

void RegistrarCopias(CLI::App& db, Contexto& ctx) {
    auto fichero = std::make_shared<std::string>();
    auto* backup = db.add_subcommand(
        "backup", "Copia de seguridad de la base de datos, aunque otros escriban");
    backup->add_option("FILE", *fichero, "Fichero de la copia")->required();
    backup->callback([&ctx, fichero] {
        const CString destino(*fichero);
        copias::Copiar(ctx.Host(), destino);
        Imprimir("Copia de seguridad escrita en " + destino + ".");
    });

    struct Opc {
        std::string fichero;
        bool si = false;
    };
    auto o = std::make_shared<Opc>();
    auto* restore =
        db.add_subcommand("restore", "Sustituye toda la base de datos por una copia de seguridad");
    restore->add_option("FILE", o->fichero, "Fichero de la copia")->required();
    restore->add_flag("--yes", o->si, "Sin pedir confirmación");
    restore->callback([&ctx, o] {
        const CString origen(o->fichero);
        CHost& host = ctx.Host();
        const bool hecha = copias::Restaurar(host, origen, [&] {
            return o->si || Confirmar("¿Sustituir todo el contenido de la base de datos " +
                                      CitaBreve(DestinoVisible(host.BaseDatos().Ruta()), 200) +
                                      " por la copia " + CitaBreve(origen, 200) + "? [s/N] ");
        });
        if (!hecha)
            throw ErrorUsuario("No se ha restaurado la copia; la base de datos sigue como estaba");
        Imprimir("Base de datos restaurada desde " + origen + ".");
    });
}
