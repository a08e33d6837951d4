#include "Comandos.h"

#include "ComandosComun.h"

#include <cstdio>

CHost& Contexto::Host() {
    if (!host_) {
        const CString carpeta = plugins.empty() ? CarpetaDelPrograma() : CString(plugins);
        host_ = std::make_unique<CHost>(db.empty() ? RutaBDPorDefecto() : CString(db), carpeta);
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

int EjecutarModelo(int argc, char** argv) {
    Contexto ctx;
    CLI::App app{"Modelo: cumplimentación, validación e impresión de autoliquidaciones", "modelo"};
    app.add_option("--db", ctx.db, "Fichero de la base de datos")->type_name("FICHERO");
    app.add_option("--plugins", ctx.plugins, "Carpeta de los módulos de formulario")
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
    } catch (const CExcepcionBD& e) {
        std::fprintf(stderr, "modelo: error de la base de datos: %s\n", e.what());
    } catch (const std::exception& e) {
        // Anything else (a file system error, memory) still ends in one line and a refusal.
        std::fprintf(stderr, "modelo: error: %s\n", e.what());
    }
    return kRechazado;
}
