// The window's responsiveness: opening a filled declaration (its widgets created, loaded and
// drawn) and the handling of one keystroke in a box that runs a rule (a quota: the total is
// computed again and redrawn).
//
//   bench_ventana [TRIES]     (default: 30)
//
// Prints the median and the slowest try of each, in milliseconds, on the offscreen platform.
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"
#include "support/Apoyo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Reloj_ = std::chrono::steady_clock;

double Ms(Reloj_::time_point desde) {
    return std::chrono::duration<double, std::milli>(Reloj_::now() - desde).count();
}

void Informe(const char* que, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-44s median %7.2f ms   slowest %7.2f ms   (%zu tries)\n", que, v[v.size() / 2],
                v.back(), v.size());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int intentos = argc > 1 ? std::max(3, std::atoi(argv[1])) : 30;
    apoyo::CarpetaTemporal tmp;
    CHost host(CString(tmp / "bench.db"), MODELO_BIN_DIR);
    CServiciosGrabados ui;
    AfxFijarServicios(&ui);
    const CString codigo = host.Nueva("863", "03", "2024")->GetCodDeclar();
    {
        auto doc = host.Abrir(codigo);
        const std::pair<int, const char*> valores[] = {
            {10, "B12345674"}, {11, "TRANSPORTES DEL NORTE, S.L."},
            {21, "28"},        {22, "079"},
            {60, "3"},         {64, "1.500,00"},
            {68, "15,00"},     {62, "1"},
            {66, "20,00"},     {70, "0,20"},
            {72, "15,20"},     {140, "12345678Z"}};
        for (auto [casilla, valor] : valores)
            doc->SetCasilla(casilla, 0, valor);
        host.Guardar(*doc);
    }
    VentanaPrincipal ventana(host);
    ventana.show();
    QApplication::processEvents();

    std::vector<double> abrir, tecla;
    for (int i = 0; i < intentos; ++i) {
        const auto t0 = Reloj_::now();
        PestanaDeclaracion* p = ventana.Abrir(codigo);
        p->Pagina(0)->grab(); // drawn, as the screen would draw it
        abrir.push_back(Ms(t0));

        PaginaWidget* pagina = p->Pagina(0);
        const int id = pagina->Vista().Plantilla()->ControlDeCasilla(70)->id;
        auto* cuota = qobject_cast<QLineEdit*>(pagina->WidgetDe(id));
        cuota->setFocus();
        const auto t1 = Reloj_::now();
        QTest::keyClick(cuota, Qt::Key_5);
        QTest::keyClick(cuota, Qt::Key_Tab); // leaving the quota computes the total
        QApplication::processEvents();
        tecla.push_back(Ms(t1) / 2);
        ventana.Pestanas()->removeTab(ventana.Pestanas()->indexOf(p));
        delete p;
    }
    Informe("open a filled declaration (create, load, draw)", abrir);
    Informe("one keystroke in a quota box (rule + redraw)", tecla);
    AfxFijarServicios(nullptr);
    return 0;
}
