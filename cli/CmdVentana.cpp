// `modelo gui`: the desktop window is a program of its own next to this one, so the command
// line never loads the widget toolkit; this command hands it the same database and plug-ins.
#include "ComandosComun.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

void RegistrarVentana(CLI::App& app, Contexto& ctx) {
    auto codigo = std::make_shared<std::string>();
    auto* cmd = app.add_subcommand("gui", "Abre la ventana del programa");
    cmd->add_option("CODE", *codigo, "Declaración que se abre al empezar");
    cmd->callback([&ctx, codigo] {
        const std::string ventana =
            (std::filesystem::path(CarpetaDelPrograma().str()) / "modelo-ventana").string();
        // A database named in the environment stays there: a server's address may carry a
        // password, which the list of processes would show to every user of the machine.
        std::vector<std::string> args{ventana};
        if (ctx.db) {
            args.push_back("--db");
            args.push_back(*ctx.db);
        }
        if (ctx.plugins) {
            args.push_back("--plugins");
            args.push_back(*ctx.plugins);
        }
        if (!codigo->empty())
            args.push_back(*codigo);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::fflush(stdout);
        execv(ventana.c_str(), argv.data());
        throw ErrorUsuario("No se puede abrir la ventana (" + CString(ventana) +
                           "): " + CString(std::strerror(errno)));
    });
}
