// The desktop window of the program: modelo-ventana [--db FILE] [--plugins DIR] [CODE].
#include "Host.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/store/BaseDatos.h"
#include "PestanaDeclaracion.h"
#include "ServiciosVentana.h"
#include "TraduccionesQt.h"
#include "VentanaPrincipal.h"
#include "render/Pagina.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Without a display Qt would abort with a message of its own; the person gets ours.
bool HayPantalla() {
    for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* s = std::getenv(v); s && *s)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::string db, plugins, codigo;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--db" || a == "--plugins") && i + 1 < argc)
            (a == "--db" ? db : plugins) = argv[++i];
        else if (!a.empty() && a[0] != '-' && codigo.empty())
            codigo = a;
        else {
            std::fprintf(stderr, "modelo: argumento no válido: %s\n",
                         CitaBreve(CString(a)).c_str());
            return 2;
        }
    }
    if (!HayPantalla()) {
        std::fprintf(stderr, "modelo: no hay pantalla en la que abrir la ventana (DISPLAY no "
                             "está definido); las órdenes de la línea de mandatos funcionan "
                             "sin ella\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Modelo");
    QApplication::setApplicationDisplayName("Modelo");
    QString sinTraduccion;
    const std::unique_ptr<QTranslator> castellano = InstalarCastellanoQt(&sinTraduccion);
    if (!castellano)
        std::fprintf(stderr, "modelo: aviso: %s; los textos propios de Qt saldrán en inglés\n",
                     sinTraduccion.toUtf8().constData());
    const CString rutaBD = db.empty() ? RutaBDPorDefecto() : CString(db);
    std::unique_ptr<CHost> host;
    try {
        host = std::make_unique<CHost>(rutaBD,
                                       plugins.empty() ? CarpetaDelPrograma() : CString(plugins));
    } catch (const CExcepcionBD& e) {
        const CString motivo = DescribirFalloBD(e, rutaBD);
        std::fprintf(stderr, "modelo: %s\n", motivo.c_str());
        QMessageBox::critical(nullptr, "Modelo", TextoQt(motivo));
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "modelo: %s\n", e.what());
        QMessageBox::critical(nullptr, "Modelo", QString::fromUtf8(e.what()));
        return 2;
    }
    VentanaPrincipal ventana(*host);
    ServiciosVentana servicios(&ventana, *host);
    servicios.alMostrarErrores = [&ventana](const CListaErrores& errores) {
        if (PestanaDeclaracion* p = ventana.Actual())
            p->MostrarHallazgos(errores);
    };
    AfxFijarServicios(&servicios);
    ventana.show();
    if (!codigo.empty())
        ventana.Abrir(CString(codigo));
    const int estado = app.exec();
    AfxFijarServicios(nullptr);
    return estado;
}
