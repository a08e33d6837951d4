// `modelo batch`: a folder of one month's data files, each client's declaration in one run.
#include "ComandosComun.h"
#include "Lote.h"
#include "Modelo/base/Funciones.h"
#include "render/Impresion.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

// The bar a terminal shows on stderr while the run goes: files done, the client at hand and
// the time left, judged by the files done so far.
class BarraLote {
public:
    BarraLote() : activa_(isatty(STDERR_FILENO) == 1), inicio_(Reloj::now()) {}

    void Mostrar(size_t hechos, size_t total, const CString& fichero) {
        if (!activa_)
            return;
        constexpr int kAncho = 30;
        const int llenos = total ? int(kAncho * hechos / total) : kAncho;
        std::string barra(size_t(llenos), '#');
        barra.resize(kAncho, '.');
        CString queda = "--:--";
        if (hechos > 0) {
            const double s = std::chrono::duration<double>(Reloj::now() - inicio_).count();
            const long resto = long(s / double(hechos) * double(total - hechos) + 0.5);
            queda = CString::Formatted("%ld:%02ld", resto / 60, resto % 60);
        }
        const CString cliente = hechos < total ? CitaBreve(fichero, 30) : CString("hecho");
        std::fprintf(stderr, "\r\x1b[K[%s] %zu/%zu %s, quedan %s", barra.c_str(), hechos, total,
                     cliente.c_str(), queda.c_str());
        if (hechos == total)
            std::fputc('\n', stderr);
        std::fflush(stderr);
    }

private:
    using Reloj = std::chrono::steady_clock;
    bool activa_;
    Reloj::time_point inicio_;
};

nlohmann::ordered_json HallazgosJson(const CListaErrores& hallazgos) {
    auto lista = nlohmann::ordered_json::array();
    for (const stError& e : hallazgos)
        lista.push_back({{"codigo", e.Codigo.str()},
                         {"descripcion", e.Descripcion.str()},
                         {"detalle", e.Detalle.str()}});
    return lista;
}

} // namespace

void RegistrarLote(CLI::App& app, Contexto& ctx) {
    struct Opc {
        std::string carpeta, mes, anio, formulario = "863", pdf;
        bool finalizar = false, json = false;
    };
    auto o = std::make_shared<Opc>();
    auto* cmd = app.add_subcommand(
        "batch", "Los ficheros de documentos del mes de una carpeta, una declaración por cliente");
    cmd->add_option("DIR", o->carpeta, "Carpeta con un fichero de documentos por cliente")
        ->required();
    cmd->add_option("--month", o->mes, "Mes del lote (01 a 12)")->required();
    cmd->add_option("--year", o->anio, "Año del lote")->required();
    cmd->add_option("--form", o->formulario, "Formulario (863 por defecto)");
    cmd->add_option("--pdf", o->pdf, "Carpeta donde se imprime el PDF de cada declaración")
        ->type_name("CARPETA");
    cmd->add_flag("--finalize", o->finalizar, "Finaliza cada declaración sin errores");
    OpcionJson(cmd, o->json);
    cmd->callback([&ctx, o] {
        casos::OpcionesLote opciones;
        opciones.carpeta = CString(o->carpeta);
        opciones.formulario = CString(o->formulario);
        opciones.mes = CString(o->mes);
        opciones.anio = CString(o->anio);
        opciones.carpetaPdf = CString(o->pdf);
        opciones.finalizar = o->finalizar;
        // Refused before the host is opened: a mistyped period costs no database work.
        casos::NormalizarPeriodo(opciones);
        CHost& host = ctx.Host();
        BarraLote barra;
        const auto resultados = casos::EjecutarLote(
            host, opciones,
            [](CGuiaDoc& doc, std::string& pdf, CString& error) {
                return ImprimirPDF(doc, pdf, error);
            },
            [&barra](size_t i, size_t n, const CString& f) {
                barra.Mostrar(i, n, f);
                return true;
            });
        Tabla tabla;
        bool limpio = true;
        for (const casos::ResultadoCliente& r : resultados) {
            limpio = limpio && r.Limpio();
            tabla.Nueva()
                .Columna("fichero", r.fichero)
                .Columna("nif", r.nif)
                .Columna("nombre", r.nombre)
                .Columna("codigo", r.codigo)
                .Columna("documentos", r.documentos)
                .Columna("total", r.total)
                .Columna("hallazgos", Celda(CString::Formatted("%d", int(r.hallazgos.GetSize())),
                                            HallazgosJson(r.hallazgos)))
                .Columna("estado", r.estado)
                .SoloJson("pdf", r.pdf.str());
            // The table carries the count; the findings themselves go where messages go.
            if (!o->json)
                for (const stError& e : r.hallazgos)
                    std::fprintf(stderr, "%s: %s\t%s%s%s\n", r.fichero.c_str(), e.Codigo.c_str(),
                                 e.Descripcion.c_str(), e.Detalle.IsEmpty() ? "" : " ",
                                 e.Detalle.c_str());
        }
        tabla.Escribir(o->json);
        ctx.estado = limpio ? kHecho : kHallazgos;
    });
}
