#include "VentanaPrincipal.h"

#include "CasosDeUso.h"
#include "CopiasSeguridad.h"
#include "Formularios.h"
#include "Modelo/services/Servicios.h"
#include "PestanaDeclaracion.h"
#include "render/Pagina.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString Estado(const CString& e) {
    return e == estado::Borrador ? QString("Borrador") : QString("Definitiva");
}

QString Sufijo(CHost& host, const PestanaDeclaracion* p) {
    if (host.BaseDatos().SoloLectura())
        return " (sólo lectura)";
    return p->SoloLectura() ? " (definitiva)" : QString();
}

} // namespace

VentanaPrincipal::VentanaPrincipal(CHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host) {
    setWindowTitle("Modelo — autoliquidaciones de documentos negociados");
    resize(1100, 900);
    pestanas_ = new QTabWidget(this);
    pestanas_->setTabsClosable(true);
    pestanas_->setDocumentMode(true);
    setCentralWidget(pestanas_);

    auto* inicio = new QWidget;
    busqueda_ = new QLineEdit;
    busqueda_->setPlaceholderText("Buscar por código, formulario, periodo o estado…");
    busqueda_->setClearButtonEnabled(true);
    connect(busqueda_, &QLineEdit::textChanged, this, &VentanaPrincipal::Filtrar);
    lista_ = new QTableWidget(0, 7);
    lista_->setHorizontalHeaderLabels({"Código", "Formulario", "Periodo", "NIF del sujeto pasivo",
                                       "Nombre o razón social", "Estado", "Última modificación"});
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->setSortingEnabled(true);
    lista_->verticalHeader()->hide();
    lista_->horizontalHeader()->setStretchLastSection(true);
    connect(lista_, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { AbrirSeleccionada(); });
    nuevaBoton_ = new QPushButton("&Nueva…");
    auto* nueva = nuevaBoton_;
    auto* abrir = new QPushButton("&Abrir");
    eliminar_ = new QPushButton("&Eliminar…");
    eliminar_->setToolTip("Elimina el borrador elegido; una declaración definitiva se conserva");
    connect(nueva, &QPushButton::clicked, this, &VentanaPrincipal::Nueva);
    connect(abrir, &QPushButton::clicked, this, &VentanaPrincipal::AbrirSeleccionada);
    connect(eliminar_, &QPushButton::clicked, this, &VentanaPrincipal::Eliminar);
    connect(lista_, &QTableWidget::currentCellChanged, this, [this] {
        const int fila = lista_->currentRow();
        eliminar_->setEnabled(!host_.BaseDatos().SoloLectura() && fila >= 0 &&
                              lista_->item(fila, 5) &&
                              lista_->item(fila, 5)->text() == Estado(estado::Borrador));
    });
    auto* botones = new QHBoxLayout;
    botones->addWidget(busqueda_, 1);
    botones->addWidget(nueva);
    botones->addWidget(abrir);
    botones->addWidget(eliminar_);
    auto* caja = new QVBoxLayout(inicio);
    caja->addLayout(botones);
    caja->addWidget(lista_);
    pestanas_->addTab(inicio, "Declaraciones");
    // The list of declarations stays: it has no close button.
    pestanas_->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    connect(pestanas_, &QTabWidget::tabCloseRequested, this, &VentanaPrincipal::Cerrar);
    connect(pestanas_, &QTabWidget::currentChanged, this, &VentanaPrincipal::ActualizarAcciones);

    CrearAcciones();
    RecargarLista();
    ActualizarAcciones();
    statusBar()->showMessage("Base de datos: " + TextoQt(host_.BaseDatos().Ruta()));
    // Said for as long as the window is open: a message of the moment would be replaced.
    if (host_.BaseDatos().SoloLectura()) {
        auto* aviso = new QLabel("Sólo lectura: " + TextoQt(host_.BaseDatos().MotivoSoloLectura()) +
                                 ". No se puede guardar ningún cambio.");
        aviso->setObjectName("avisoSoloLectura");
        aviso->setStyleSheet("QLabel { color: #8a1c00; font-weight: bold; }");
        statusBar()->addPermanentWidget(aviso);
        setWindowTitle(windowTitle() + " (sólo lectura)");
    }
}

void VentanaPrincipal::CrearAcciones() {
    QMenu* archivo = menuBar()->addMenu("&Archivo");
    QMenu* declaracion = menuBar()->addMenu("&Declaración");
    QMenu* ver = menuBar()->addMenu("&Ver");
    QMenu* ayuda = menuBar()->addMenu("A&yuda");
    QToolBar* barra = addToolBar("Principal");
    barra->setMovable(false);

    // Quit and Close are spelt out: a desktop without a theme of its own gives the standard
    // keys of those two no key at all.
    auto accion = [this](QMenu* menu, const QString& texto, QKeySequence atajo, auto funcion) {
        QAction* a = menu->addAction(texto);
        if (!atajo.isEmpty())
            a->setShortcut(atajo);
        connect(a, &QAction::triggered, this, funcion);
        return a;
    };
    auto enActual = [this](auto metodo) {
        return [this, metodo] {
            if (PestanaDeclaracion* p = Actual())
                (p->*metodo)();
            RecargarLista();
            ActualizarAcciones();
        };
    };
    nueva_ = accion(archivo, "&Nueva…", QKeySequence::New, [this] { Nueva(); });
    QAction* nueva = nueva_;
    QAction* abrir = accion(archivo, "&Abrir", QKeySequence::Open, [this] { AbrirSeleccionada(); });
    guardar_ =
        accion(archivo, "&Guardar", QKeySequence::Save, enActual(&PestanaDeclaracion::Guardar));
    deshacer_ = accion(archivo, "&Deshacer cambios", QKeySequence(),
                       enActual(&PestanaDeclaracion::DeshacerCambios));
    archivo->addSeparator();
    imprimir_ =
        accion(archivo, "&Imprimir…", QKeySequence::Print, enActual(&PestanaDeclaracion::Imprimir));
    exportar_ = accion(archivo, "&Exportar PDF…", QKeySequence(),
                       enActual(&PestanaDeclaracion::ExportarPDF));
    archivo->addSeparator();
    accion(archivo, "C&opia de seguridad…", QKeySequence(),
           [this] { HacerCopiaSeguridad(this, host_); });
    QAction* restaurar = accion(archivo, "&Restaurar copia…", QKeySequence(), [this] {
        const bool hecha = RestaurarCopiaSeguridad(this, host_, [this] {
            for (int i = pestanas_->count() - 1; i >= 1; --i)
                if (!Cerrar(i))
                    return false;
            return true;
        });
        if (hecha)
            statusBar()->showMessage("Base de datos restaurada.");
        RecargarLista();
        ActualizarAcciones();
    });
    restaurar->setEnabled(!host_.BaseDatos().SoloLectura());
    archivo->addSeparator();
    cerrar_ = accion(archivo, "&Cerrar", QKeySequence(Qt::CTRL | Qt::Key_W),
                     [this] { Cerrar(pestanas_->currentIndex()); });
    accion(archivo, "&Salir", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    validar_ = accion(declaracion, "&Validar", QKeySequence(Qt::Key_F7), [this] {
        if (PestanaDeclaracion* p = Actual())
            statusBar()->showMessage(p->Validar() == 0 ? "La declaración no tiene errores."
                                                       : "Haga doble clic en un error para ir "
                                                         "a su casilla.");
    });
    finalizar_ =
        accion(declaracion, "&Finalizar", QKeySequence(), enActual(&PestanaDeclaracion::Finalizar));
    importar_ = accion(declaracion, "&Importar fichero…", QKeySequence(),
                       enActual(&PestanaDeclaracion::ImportarFichero));
    intervinientes_ = accion(declaracion, "I&ntervinientes…", QKeySequence(),
                             enActual(&PestanaDeclaracion::Intervinientes));

    ampliar_ = accion(ver, "&Ampliar", QKeySequence::ZoomIn, [this] {
        if (PestanaDeclaracion* p = Actual())
            p->SetZoom(p->Zoom() * 1.25);
    });
    reducir_ = accion(ver, "&Reducir", QKeySequence::ZoomOut, [this] {
        if (PestanaDeclaracion* p = Actual())
            p->SetZoom(p->Zoom() / 1.25);
    });

    accion(ayuda, "&Ayuda", QKeySequence::HelpContents, [this] {
        AfxServicios().MessageBox(
            "Abra una declaración de la lista o cree una nueva. Rellene la página 1 sobre la "
            "imagen del impreso: el total, el periodo y la fecha de firma se revisan mientras "
            "escribe. Pulse F1 en una casilla para ver su ayuda; los botones de interrogación "
            "explican cada bloque. Valide para ver los errores y haga doble clic en uno para ir "
            "a su casilla; sin errores, puede finalizarla.",
            "Ayuda", MB_OK | MB_ICONINFORMATION);
    });
    accion(ayuda, "A&cerca de", QKeySequence(), [this] {
        AfxServicios().MessageBox(CString("Modelo: cumplimentación, validación, importación e "
                                          "impresión de las autoliquidaciones de los modelos ") +
                                      formularios::kProsa + ".",
                                  "Acerca de Modelo", MB_OK | MB_ICONINFORMATION);
    });

    for (QAction* a :
         {nueva, abrir, guardar_, validar_, finalizar_, importar_, intervinientes_, imprimir_})
        barra->addAction(a);
}

PestanaDeclaracion* VentanaPrincipal::Actual() const {
    return qobject_cast<PestanaDeclaracion*>(pestanas_->currentWidget());
}

void VentanaPrincipal::ActualizarAcciones() {
    PestanaDeclaracion* p = Actual();
    const bool editable = p && !p->SoloLectura();
    for (QAction* a : {guardar_, deshacer_, finalizar_, importar_})
        a->setEnabled(editable);
    const bool escribible = !host_.BaseDatos().SoloLectura();
    nueva_->setEnabled(escribible);
    nuevaBoton_->setEnabled(escribible);
    if (!escribible)
        eliminar_->setEnabled(false);
    for (QAction* a :
         {validar_, intervinientes_, cerrar_, ampliar_, reducir_, imprimir_, exportar_})
        a->setEnabled(p != nullptr);
}

void VentanaPrincipal::RecargarLista() {
    lista_->setSortingEnabled(false);
    const std::vector<casos::Declaracion> declaraciones = casos::Declaraciones(host_);
    lista_->setRowCount(int(declaraciones.size()));
    for (int i = 0; i < int(declaraciones.size()); ++i) {
        const auto& r = declaraciones[size_t(i)].resumen;
        const CHost::Sujeto& sujeto = declaraciones[size_t(i)].sujeto;
        const QString periodo =
            r.mes.IsEmpty() ? QString() : TextoQt(r.mes) + "/" + TextoQt(r.anio);
        const QString celdas[] = {TextoQt(r.codigo),    TextoQt(r.modelo.Left(3)), periodo,
                                  TextoQt(sujeto.nif),  TextoQt(sujeto.nombre),    Estado(r.estado),
                                  TextoQt(r.modificada)};
        for (int c = 0; c < 7; ++c)
            lista_->setItem(i, c, new QTableWidgetItem(celdas[c]));
    }
    lista_->setSortingEnabled(true);
    Filtrar(busqueda_->text());
}

void VentanaPrincipal::Filtrar(const QString& texto) {
    for (int f = 0; f < lista_->rowCount(); ++f) {
        bool visible = texto.isEmpty();
        for (int c = 0; c < lista_->columnCount() && !visible; ++c)
            visible = lista_->item(f, c) &&
                      lista_->item(f, c)->text().contains(texto, Qt::CaseInsensitive);
        lista_->setRowHidden(f, !visible);
    }
}

PestanaDeclaracion* VentanaPrincipal::Abrir(const CString& codigo) {
    for (int i = 1; i < pestanas_->count(); ++i) {
        auto* p = qobject_cast<PestanaDeclaracion*>(pestanas_->widget(i));
        if (p && p->Codigo() == codigo) {
            pestanas_->setCurrentIndex(i);
            return p;
        }
    }
    try {
        auto* p = new PestanaDeclaracion(host_, codigo);
        const int i = pestanas_->addTab(p, TextoQt(codigo) + Sufijo(host_, p));
        pestanas_->setCurrentIndex(i);
        connect(p, &PestanaDeclaracion::Cambiada, this, [this, p] {
            const int i = pestanas_->indexOf(p);
            if (i > 0)
                pestanas_->setTabText(i, TextoQt(p->Codigo()) + Sufijo(host_, p));
            ActualizarAcciones();
        });
        ActualizarAcciones();
        return p;
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se puede abrir la declaración: ") + e.what(),
                      MB_OK | MB_ICONERROR);
        return nullptr;
    }
}

void VentanaPrincipal::AbrirSeleccionada() {
    const int fila = lista_->currentRow();
    if (fila >= 0 && lista_->item(fila, 0))
        Abrir(TextoModelo(lista_->item(fila, 0)->text()));
}

void VentanaPrincipal::Nueva() {
    QDialog d(this);
    d.setWindowTitle("Nueva declaración");
    auto* forma = new QFormLayout(&d);
    auto* formulario = new QComboBox;
    for (const auto& p : host_.Plugins().Plugins())
        formulario->addItem(TextoQt(p.codigo + " — " + p.titulo), TextoQt(p.codigo));
    const COleDateTime hoy = COleDateTime::GetCurrentTime();
    auto* mes = new QSpinBox;
    mes->setRange(1, 12);
    mes->setValue(hoy.GetMonth() == 1 ? 12 : hoy.GetMonth() - 1);
    auto* anio = new QSpinBox;
    anio->setRange(2000, 2100);
    anio->setValue(hoy.GetMonth() == 1 ? hoy.GetYear() - 1 : hoy.GetYear());
    forma->addRow("Formulario", formulario);
    forma->addRow("Mes de devengo", mes);
    forma->addRow("Año de devengo", anio);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    forma->addRow(botones);
    if (d.exec() != QDialog::Accepted)
        return;
    try {
        auto doc = host_.Nueva(TextoModelo(formulario->currentData().toString()),
                               CString::Formatted("%02d", mes->value()),
                               CString::Formatted("%04d", anio->value()));
        RecargarLista();
        Abrir(doc->GetCodDeclar());
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha creado la declaración: ") + e.what(), MB_OK | MB_ICONERROR);
    }
}

void VentanaPrincipal::Eliminar() {
    const int fila = lista_->currentRow();
    if (fila < 0 || !lista_->item(fila, 0))
        return;
    const CString codigo = TextoModelo(lista_->item(fila, 0)->text());
    for (int i = 1; i < pestanas_->count(); ++i)
        if (auto* p = qobject_cast<PestanaDeclaracion*>(pestanas_->widget(i));
            p && p->Codigo() == codigo && !Cerrar(i))
            return;
    try {
        if (!casos::BorrarBorrador(host_, codigo, [&] {
                return AfxMessageBox("¿Eliminar el borrador " + codigo +
                                         " con todas sus casillas? No se puede deshacer.",
                                     MB_YESNO | MB_ICONQUESTION) == IDYES;
            }))
            return; // the person said no: the list stays as it is, the row still chosen
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha eliminado la declaración: ") + e.what(),
                      MB_OK | MB_ICONERROR);
    }
    RecargarLista();
}

bool VentanaPrincipal::Cerrar(int indice) {
    auto* p = qobject_cast<PestanaDeclaracion*>(pestanas_->widget(indice));
    if (!p)
        return true;
    pestanas_->setCurrentIndex(indice);
    if (p->TieneCambios()) {
        const int r = QMessageBox::question(
            this, "Cambios sin guardar",
            "La declaración " + TextoQt(p->Codigo()) + " tiene cambios sin guardar. ¿Guardarlos?",
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (r == QMessageBox::Cancel || (r == QMessageBox::Save && !p->Guardar()))
            return false;
    }
    pestanas_->removeTab(indice);
    delete p;
    RecargarLista();
    ActualizarAcciones();
    return true;
}

void VentanaPrincipal::closeEvent(QCloseEvent* e) {
    for (int i = pestanas_->count() - 1; i >= 1; --i) {
        if (!Cerrar(i)) {
            e->ignore();
            return;
        }
    }
    e->accept();
}
