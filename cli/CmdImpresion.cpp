// `modelo print`: the declaration printed through the host's Imprimir, exactly as the window
// prints it, into a PDF file or as a job of the system's print service.
#include "ComandosComun.h"
#include "Modelo/store/BaseDatos.h"
#include "Modelo/store/FicheroAtomico.h"
#include "render/Impresion.h"
#include "render/Impresora.h"

#include <cstdio>

void RegistrarImpresion(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, salida, impresora;
        int copias = 1;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "print", "Imprime la declaración como el impreso: en un fichero PDF o en una impresora");
    OpcionCodigo(cmd, o->codigo);
    auto* salida = cmd->add_option("-o,--output", o->salida, "Fichero PDF que se escribe")
                       ->type_name("FICHERO");
    auto* impresora =
        cmd->add_option("--printer", o->impresora, "Impresora del sistema")->type_name("NOMBRE");
    salida->excludes(impresora);
    OpcionEntera(
        cmd->add_option("--copies", o->copias, "Copias de la declaración entera (1 por defecto)"),
        1, 99);
    cmd->callback([&ctx, o, salida, impresora] {
        if (salida->count() == 0 && impresora->count() == 0)
            throw ErrorUsuario("Indique dónde imprimir: -o FICHERO.pdf o --printer NOMBRE");
        if (salida->count() != 0 && o->salida.empty())
            throw ErrorUsuario("El nombre del fichero PDF no puede estar vacío");
        // The printer is asked first: a refusal composes nothing and holds no snapshot.
        ColaImpresion cola;
        CString error;
        if (impresora->count() != 0 && !cola.Abrir(CString(o->impresora), error))
            throw ErrorUsuario("No se pudo imprimir: " + error);
        CHost& host = ctx.Host();
        // One snapshot: the boxes, the code tables and the parties the pages look up.
        CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
        auto doc = host.Abrir(CString(o->codigo));
        CPrintInfo info;
        info.m_nCopias = o->copias;
        QByteArray pdf;
        if (!ImprimirPDF(*doc, info, pdf))
            throw ErrorUsuario("No se pudo imprimir la declaración " + doc->GetCodDeclar() + ": " +
                               info.m_strError);
        t.Confirmar();
        if (impresora->count() == 0) {
            EscribirFicheroAtomico(CString(o->salida),
                                   std::string_view(pdf.constData(), size_t(pdf.size())));
            return;
        }
        TrabajoImpresion trabajo;
        if (!cola.Enviar(pdf, TituloImpreso(*doc), trabajo, error))
            throw ErrorUsuario("No se pudo imprimir la declaración " + doc->GetCodDeclar() + ": " +
                               error);
        Imprimir("Trabajo " + trabajo.nombre + " enviado a " + CString(o->impresora) + ".");
        // A job that waits is still in the queue and prints once released: not a refusal,
        // or a script would send it again and print it twice.
        if (!trabajo.espera.IsEmpty())
            std::fprintf(stderr, "modelo: %s.\n", trabajo.espera.c_str());
    });
}
