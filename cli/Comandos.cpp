#include "Comandos.h"

#include "Castellano.h"
#include "ComandosComun.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/store/FicheroAtomico.h"

#include <cstdio>
#include <functional>

CString Contexto::RutaBD() const {
    return db ? CString(*db) : RutaBDPorDefecto();
}

CHost& Contexto::Host() {
    if (!host_) {
        const CString carpeta = plugins ? CString(*plugins) : CarpetaDelPrograma();
        host_ = std::make_unique<CHost>(RutaBD(), carpeta);
        for (const CString& e : host_->Plugins().Errores())
            std::fprintf(stderr, "%s\n", e.c_str());
        if (host_->Plugins().Plugins().empty())
            throw ErrorUsuario("No hay ningún módulo de formulario en " + carpeta);
    }
    return *host_;
}

namespace {

// An empty name would silently mean the default one: a script whose variable came out empty
// must not write into the user's own database.
std::function<void(const std::string&)> NoVacio(std::optional<std::string>& destino,
                                                const char* opcion) {
    return [&destino, opcion](const std::string& valor) {
        if (valor.empty())
            throw CLI::ValidationError(opcion, "no puede ser un nombre vacío");
        destino = valor;
    };
}

int EjecutarOrden(int argc, char** argv) {
    Contexto ctx;
    CLI::App app{"Modelo: cumplimentación, validación e impresión de autoliquidaciones", "modelo"};
    app.failure_message(MensajeDeFallo); // before the commands, which copy it
    AyudaEnCastellano(app);              // so do they the help flag and the option group
    app.set_version_flag("--version", "modelo " MODELO_VERSION, "Muestra la versión y termina");
    app.add_option_function<std::string>("--db", NoVacio(ctx.db, "--db"),
                                         "Fichero de la base de datos, o la dirección "
                                         "postgresql://usuario@servidor:puerto/base de una "
                                         "base de datos en un servidor (también MODELO_DB)")
        ->type_name("FICHERO|URI");
    app.add_option_function<std::string>("--plugins", NoVacio(ctx.plugins, "--plugins"),
                                         "Carpeta de los módulos de formulario")
        ->type_name("CARPETA");
    app.require_subcommand(0, 1);
    RegistrarDeclaraciones(app, ctx);
    RegistrarDatos(app, ctx);
    RegistrarIntervinientes(app, ctx);
    RegistrarVentana(app, ctx);
    RegistrarCodigos(app, ctx);
    RegistrarValidacion(app, ctx);
    RegistrarPagina(app, ctx);
    RegistrarVistas(app, ctx);
    RegistrarImpresion(app, ctx);
    RegistrarClientes(app, ctx);
    RegistrarLote(app, ctx);
    GruposEnCastellano(app);

    try {
        app.parse(argc, argv); // the chosen command runs inside, as its callback
        if (app.get_subcommands().empty())
            std::fputs(app.help().c_str(), stdout);
        return ctx.estado;
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        AnotarFalloSalida(); // the parser flushes its help and version itself
        return rc == 0 ? kHecho : kRechazado;
    } catch (const ErrorUsuario& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
    } catch (const CExcepcionFichero& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
    } catch (const CExcepcionBD& e) {
        std::fprintf(stderr, "modelo: %s\n", DescribirFalloBD(e, ctx.RutaBD()).c_str());
    } catch (const std::exception& e) {
        // Anything else (a file system error, memory) still ends in one line and a refusal.
        std::fprintf(stderr, "modelo: error: %s\n", e.what());
    }
    return kRechazado;
}

} // namespace

int EjecutarModelo(int argc, char** argv) {
    const int estado = EjecutarOrden(argc, argv);
    if (const CString motivo = SalidaPerdida(); !motivo.IsEmpty()) {
        std::fprintf(stderr, "modelo: no se ha podido escribir la salida: %s\n", motivo.c_str());
        return kRechazado;
    }
    return estado;
}
