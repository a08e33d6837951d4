#include "AccionesAsesor.h"

#include "CasosDeUso.h"
#include "DialogoAjustes.h"
#include "Modelo/services/Servicios.h"
#include "PestanaDeclaracion.h"
#include "Traspaso.h"
#include "VentanaPrincipal.h"
#include "VistaClientes.h"
#include "render/Pagina.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdlib>
#include <optional>

DialogoPeriodo::DialogoPeriodo(const QString& titulo, const QString& texto, int mes, int anio,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(titulo);
    auto* forma = new QFormLayout(this);
    auto* nota = new QLabel(texto);
    nota->setWordWrap(true);
    forma->addRow(nota);
    mes_ = new QSpinBox;
    mes_->setRange(1, 12);
    mes_->setValue(mes);
    anio_ = new QSpinBox;
    anio_->setRange(2000, 2100);
    anio_->setValue(anio);
    forma->addRow("Mes de devengo", mes_);
    forma->addRow("Año de devengo", anio_);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    forma->addRow(botones);
}

CString DeclaracionElegida(VentanaPrincipal& ventana) {
    if (PestanaDeclaracion* p = ventana.Actual())
        return p->Codigo();
    if (ventana.Pestanas()->currentIndex() != 0)
        return CString();
    const QTableWidget* lista = ventana.Lista();
    const int fila = lista->currentRow();
    return fila >= 0 && lista->item(fila, 0) ? TextoModelo(lista->item(fila, 0)->text())
                                             : CString();
}

namespace {

// The chosen declaration as the store holds it; null after telling the person why not.
std::optional<CAlmacenDeclaraciones::Resumen> Elegida(VentanaPrincipal& ventana, CHost& host) {
    const CString codigo = DeclaracionElegida(ventana);
    if (codigo.IsEmpty()) {
        AfxMessageBox("Elija antes una declaración de la lista.", MB_OK | MB_ICONINFORMATION);
        return std::nullopt;
    }
    try {
        return host.Buscar(codigo);
    } catch (const std::exception& e) {
        AfxMessageBox(e.what(), MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
}

template <class Crear> void CrearYAbrir(VentanaPrincipal& ventana, Crear crear) {
    try {
        const CString codigo = crear()->GetCodDeclar();
        ventana.RecargarLista();
        ventana.Abrir(codigo);
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha creado la declaración: ") + e.what(), MB_OK | MB_ICONERROR);
    }
}

} // namespace

void DuplicarParaOtroPeriodo(VentanaPrincipal& ventana, CHost& host) {
    const auto origen = Elegida(ventana, host);
    if (!origen)
        return;
    CString mes = origen->mes, anio = origen->anio;
    if (std::atoi(mes) < 1 || std::atoi(mes) > 12 || std::atoi(anio) <= 0) {
        const COleDateTime hoy = COleDateTime::GetCurrentTime();
        mes = CString::Formatted("%02d", hoy.GetMonth());
        anio = CString::Formatted("%04d", hoy.GetYear());
    } else {
        casos::PeriodoSiguiente(mes, anio);
    }
    DialogoPeriodo d("Duplicar para otro periodo",
                     "Una declaración nueva en borrador con los intervinientes de la " +
                         TextoQt(origen->codigo) + " y sin importes.",
                     std::atoi(mes), std::atoi(anio), &ventana);
    if (d.exec() != QDialog::Accepted)
        return;
    CrearYAbrir(ventana, [&] {
        return casos::NuevaComo(host, origen->modelo.Left(3), origen->codigo,
                                CString::Formatted("%02d", d.Mes()->value()),
                                CString::Formatted("%04d", d.Anio()->value()));
    });
}

void NuevaCorreccion(VentanaPrincipal& ventana, CHost& host, bool complementaria) {
    const auto anterior = Elegida(ventana, host);
    if (!anterior)
        return;
    const CString clase = complementaria ? "complementaria" : "sustitutiva";
    if (anterior->estado != estado::Definitiva) {
        AfxMessageBox("La declaración " + anterior->codigo +
                          " sigue en borrador: se corrige modificándola, sin " + clase + ".",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (AfxMessageBox("¿Crear una declaración " + clase + " de la " + anterior->codigo +
                          ", con sus intervinientes y sus datos de presentación?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CrearYAbrir(ventana, [&] {
        return casos::NuevaCorrectora(host, anterior->modelo.Left(3), anterior->codigo,
                                      complementaria, "", "");
    });
}

void AnadirAccionesAsesor(VentanaPrincipal& ventana, CHost& host, QMenu* archivo,
                          QMenu* declaracion) {
    auto* clientes =
        new VistaClientes(host, [&ventana](const CString& codigo) { ventana.Abrir(codigo); });
    clientes->setObjectName("vistaClientes");
    QTabWidget* pestanas = ventana.Pestanas();
    pestanas->insertTab(1, clientes, "Clientes");
    // Like the list of declarations, it stays.
    pestanas->tabBar()->setTabButton(1, QTabBar::RightSide, nullptr);

    const bool escribible = !host.BaseDatos().SoloLectura();
    declaracion->addSeparator();
    QAction* duplicar = declaracion->addAction("D&uplicar para otro periodo…");
    QObject::connect(duplicar, &QAction::triggered, &ventana,
                     [&ventana, &host] { DuplicarParaOtroPeriodo(ventana, host); });
    QAction* complementaria = declaracion->addAction("&Complementaria…");
    QObject::connect(complementaria, &QAction::triggered, &ventana,
                     [&ventana, &host] { NuevaCorreccion(ventana, host, true); });
    QAction* sustitutiva = declaracion->addAction("&Sustitutiva…");
    QObject::connect(sustitutiva, &QAction::triggered, &ventana,
                     [&ventana, &host] { NuevaCorreccion(ventana, host, false); });
    for (QAction* a : {duplicar, complementaria, sustitutiva})
        a->setEnabled(escribible);

    // Before Salir, the last entry of the menu.
    QAction* salir = archivo->actions().isEmpty() ? nullptr : archivo->actions().last();
    auto* ajustes = new QAction("A&justes…", archivo);
    archivo->insertAction(salir, ajustes);
    QObject::connect(ajustes, &QAction::triggered, &ventana, [&ventana, &host] {
        DialogoAjustes d(host, &ventana);
        d.exec();
    });
}
