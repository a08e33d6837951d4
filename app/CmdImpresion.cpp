// `modelo print`: the declaration printed through the host's Imprimir, exactly as the window
// prints it, into a PDF file or on a printer of the system.
#include "ComandosComun.h"
#include "Modelo/BaseDatos.h"
#include "Modelo/FicheroAtomico.h"
#include "render/Impresion.h"
#include "render/Impresora.h"

void RegistrarImpresion(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, salida, impresora;
        int copias = 1;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "print", "Imprime la declaración como el impreso: en un fichero PDF o en una impresora");
    cmd->add_option("CODE", o->codigo, "Código de la declaración")->required();
    auto* salida = cmd->add_option("-o,--output", o->salida, "Fichero PDF que se escribe")
                       ->type_name("FICHERO");
    auto* impresora =
        cmd->add_option("--printer", o->impresora, "Impresora del sistema")->type_name("NOMBRE");
    salida->excludes(impresora);
    cmd->add_option("--copies", o->copias, "Copias de la declaración entera (1 por defecto)")
        ->check(CLI::Range(1, 99));
    cmd->callback([&ctx, o, salida, impresora] {
        if (salida->count() == 0 && impresora->count() == 0)
            throw ErrorUsuario("Indique dónde imprimir: -o FICHERO.pdf o --printer NOMBRE");
        if (salida->count() != 0 && o->salida.empty())
            throw ErrorUsuario("El nombre del fichero PDF no puede estar vacío");
        CHost& host = ctx.Host();
        // One snapshot: the boxes, the code tables and the parties the pages look up.
        CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
        auto doc = host.Abrir(CString(o->codigo));
        CPrintInfo info;
        info.m_nCopias = o->copias;
        if (impresora->count() != 0) {
            if (!ImprimirEnImpresora(*doc, CString(o->impresora), info))
                throw ErrorUsuario("No se pudo imprimir la declaración " + doc->GetCodDeclar() +
                                   ": " + info.m_strError);
            t.Confirmar();
            return;
        }
        QByteArray pdf;
        if (!ImprimirPDF(*doc, info, pdf))
            throw ErrorUsuario("No se pudo imprimir la declaración " + doc->GetCodDeclar() + ": " +
                               info.m_strError);
        t.Confirmar();
        EscribirFicheroAtomico(CString(o->salida),
                               std::string_view(pdf.constData(), size_t(pdf.size())));
    });
}
