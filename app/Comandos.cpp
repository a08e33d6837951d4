#include "Comandos.h"

#include "ComandosComun.h"
#include "Modelo/FicheroAtomico.h"
#include "Modelo/Funciones.h"

#include <cstdio>
#include <functional>
#include <optional>

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

void Imprimir(const CString& linea) {
    std::fwrite(linea.c_str(), 1, size_t(linea.GetLength()), stdout);
    std::fputc('\n', stdout);
}

std::string Json(const nlohmann::json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Json(const nlohmann::ordered_json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool LeerCasilla(const std::string& texto, int& pagina, int& casilla) {
    if (texto.size() < 4 || texto.size() > 6 || texto[0] != 'P' || texto[2] != '-')
        return false;
    if (texto[1] != '1' && texto[1] != '2')
        return false;
    int n = 0;
    for (size_t i = 3; i < texto.size(); ++i) {
        if (!texto::EsDigito(texto[i]))
            return false;
        n = n * 10 + (texto[i] - '0');
    }
    pagina = texto[1] - '1';
    casilla = n;
    return true;
}

CString NombreCasilla(int pagina, int casilla) {
    return CString::Formatted("P%d-%d", pagina + 1, casilla);
}

CString SignificadoCasilla(const CGuiaDoc& doc, int pagina, int casilla) {
    const stCasillaCatalogo* e = doc.EntradaCatalogo(casilla);
    if (!e)
        return CString();
    return pagina == 0 ? CString(e->Significado)
                       : CString(e->Significado) + " (copia de la página 1)";
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

// The parser's refusals quote what was typed; a huge argument is cut to a readable line.
std::string MensajeDeFallo(const CLI::App*, const CLI::Error& e) {
    return "modelo: " + CitaBreve(CString(e.what()), 300).str() +
           "\nUse --help para ver las opciones.\n";
}
} // namespace

int EjecutarModelo(int argc, char** argv) {
    Contexto ctx;
    CLI::App app{"Modelo: cumplimentación, validación e impresión de autoliquidaciones", "modelo"};
    app.failure_message(MensajeDeFallo); // before the commands, which copy it
    app.add_option_function<std::string>("--db", NoVacio(ctx.db, "--db"),
                                         "Fichero de la base de datos")
        ->type_name("FICHERO");
    app.add_option_function<std::string>("--plugins", NoVacio(ctx.plugins, "--plugins"),
                                         "Carpeta de los módulos de formulario")
        ->type_name("CARPETA");
    app.require_subcommand(0, 1);
    RegistrarDeclaraciones(app, ctx);
    RegistrarDatos(app, ctx);
    RegistrarCodigos(app, ctx);
    RegistrarValidacion(app, ctx);
    RegistrarPagina(app, ctx);
    RegistrarVistas(app, ctx);

    try {
        app.parse(argc, argv); // the chosen command runs inside, as its callback
        if (app.get_subcommands().empty())
            std::fputs(app.help().c_str(), stdout);
        std::fflush(stdout);
        return ctx.estado;
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
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
