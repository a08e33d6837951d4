// Commands on what is printed and filed for a declaration: the payload of its PDF417 code, the
// rendered codes and the remittance records.
#include "ComandosComun.h"
#include "Modelo/codes/Codigos.h"

#include "Modelo/store/FicheroAtomico.h"
#include "Modelo/windows/GuiaView.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstring>

namespace {

constexpr const char* kPDF417 = "pdf417";
constexpr const char* kCode128 = "code128";

// Encoded in memory and handed whole to the atomic writer: a failed write never leaves half an
// image, nor destroys the file that was there.
void EscribirPNG(const stImagenCodigo& imagen, const std::string& ruta) {
    QImage q(imagen.Ancho, imagen.Alto, QImage::Format_Grayscale8);
    if (q.isNull())
        throw ErrorUsuario("No hay memoria para una imagen de " +
                           CString::Formatted("%d x %d", imagen.Ancho, imagen.Alto) + " puntos");
    for (int y = 0; y < imagen.Alto; ++y)
        std::memcpy(q.scanLine(y), imagen.Pixeles.data() + size_t(y) * size_t(imagen.Ancho),
                    size_t(imagen.Ancho));
    QByteArray png;
    QBuffer bufer(&png);
    if (!bufer.open(QIODevice::WriteOnly) || !q.save(&bufer, "PNG"))
        throw ErrorUsuario("No se puede codificar en PNG la imagen de " +
                           CString::Formatted("%d x %d", imagen.Ancho, imagen.Alto) + " puntos");
    EscribirFicheroAtomico(CString(ruta), std::string_view(png.constData(), size_t(png.size())));
}

void RegistrarPdf417(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        int pagina = 0;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand("pdf417", "Contenido del código PDF417 de una declaración");
    OpcionCodigo(cmd, o->codigo);
    OpcionEntera(
        cmd->add_option("--page", o->pagina, "Índice de la página: 0 es la página 1 (por defecto)"),
        0);
    OpcionJson(cmd, o->json, "Salida JSON con el prefijo y los delimitadores");
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        if (o->pagina < 0 || o->pagina >= doc->NumPaginas())
            throw ErrorUsuario(CString::Formatted("La declaración %s no tiene página de índice "
                                                  "%d (de 0 a %d)",
                                                  o->codigo.c_str(), o->pagina,
                                                  doc->NumPaginas() - 1));
        Tabla tabla(Tabla::Forma::Registro);
        tabla.Nueva()
            .SoloJson("prefix", doc->GenerarCodigoPDF417().str())
            .Columna("payload", doc->GenerarCodigoPDF417(o->pagina))
            .SoloJson("delimiters", {{"field", CGuiaDoc::kSeparadorCampo},
                                     {"table_open", CGuiaDoc::kAperturaTabla},
                                     {"row", CGuiaDoc::kSeparadorFila},
                                     {"table_close", CGuiaDoc::kCierreTabla},
                                     {"end", CGuiaDoc::kFinCodigo}});
        tabla.Escribir(o->json);
    });
}

void RegistrarImagen(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo, salida, tipo = kPDF417;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "barcode", "Dibuja en PNG el código PDF417 o el código de barras de una declaración");
    OpcionCodigo(cmd, o->codigo);
    cmd->add_option("-o,--output", o->salida, "Fichero PNG que se escribe")
        ->required()
        ->type_name("FICHERO");
    cmd->add_option("--kind", o->tipo, "pdf417 (por defecto) o code128")
        ->check(CLI::IsMember({kPDF417, kCode128}));
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        // The code as its page shows and prints it: the PDF417 takes the shape of its field.
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*doc, doc->GetPaginaPrincipal(), error);
        const stImagenCodigo* imagen = nullptr;
        if (vista && vista->InicializarControlesImpresora()) {
            imagen = vista->ImagenControl(o->tipo == kPDF417 ? vista->ControlImpresoraCodPuntos()
                                                             : vista->ControlImpresoraCodBarras());
        }
        stImagenCodigo propia;
        if (!imagen) {
            // Said why: the view's code failed for the same reason.
            const bool dibujado =
                o->tipo == kPDF417
                    ? GenerarImagenPDF417(doc->GenerarCodigoPDF417(doc->GetPaginaPrincipal()),
                                          propia, error)
                    : GenerarImagenCode128(doc->GenerarCodBarras(doc->GetCodDeclar()), propia,
                                           error);
            if (!dibujado)
                throw ErrorUsuario("No se puede dibujar el código de la declaración " +
                                   CString(o->codigo) + ": " + error);
            imagen = &propia;
        }
        EscribirPNG(*imagen, o->salida);
    });
}

void RegistrarRemesa(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string codigo;
        bool json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "remesa", "Registros de remesa de una declaración, revisados por su formulario");
    OpcionCodigo(cmd, o->codigo);
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        auto doc = ctx.Host().Abrir(CString(o->codigo));
        const CString declaracion = doc->GetCodDeclar();
        CListaRegRemesa registros;
        if (!doc->PrepararRegRemesa(declaracion, "", "", registros) ||
            !doc->RevisarRegRemesa(declaracion, "", "", registros))
            throw ErrorUsuario("El formulario no pudo preparar los registros de remesa de " +
                               declaracion);
        Tabla tabla;
        for (const stRegRemesa& r : registros)
            tabla.Nueva()
                .Columna("clave", r.Clave)
                .SoloJson("pagina", r.Pagina.str())
                .Columna("valor", r.Valor)
                .Columna("descripcion", r.DescripcionValor);
        tabla.Escribir(o->json);
    });
}

} // namespace

void RegistrarCodigos(CLI::App& app, Contexto& ctx) {
    RegistrarPdf417(app, ctx);
    RegistrarImagen(app, ctx);
    RegistrarRemesa(app, ctx);
}
