#include "VentanaPrincipal.h"

#include "AccionesAsesor.h"
#include "Ajustes.h"
#include "CasosDeUso.h"
#include "CopiasSeguridad.h"
#include "DialogoLote.h"
#include "Formularios.h"
#include "Modelo/services/Servicios.h"
#include "PestanaDeclaracion.h"
#include "ServiciosVentana.h"
#include "VigilanteBaseDatos.h"
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
#include <QScrollBar>
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

const QString kTitulo = "Modelo — autoliquidaciones de documentos negociados";
// A tab shows this much of a client's name; the tooltip has the whole of it.
constexpr int kLetrasPestana = 32;
enum Columna { ColCodigo, ColFormulario, ColPeriodo, ColNif, ColNombre, ColEstado, ColModificada };

} // namespace

VentanaPrincipal::VentanaPrincipal(CHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host) {
    resize(1100, 900);
    pestanas_ = new QTabWidget(this);
    pestanas_->setTabsClosable(true);
    pestanas_->setDocumentMode(true);
    setCentralWidget(pestanas_);

    auto* inicio = new QWidget;
    busqueda_ = new QLineEdit;
    busqueda_->setObjectName("busqueda");
    busqueda_->setPlaceholderText("Buscar por código, formulario, periodo o estado…");
    busqueda_->setClearButtonEnabled(true);
    connect(busqueda_, &QLineEdit::textChanged, this, &VentanaPrincipal::Filtrar);
    // Typed until one row is left, Enter opens it: the chosen row if shown, else the first.
    connect(busqueda_, &QLineEdit::returnPressed, this, [this] {
        int fila = lista_->currentRow();
        if (fila < 0 || lista_->isRowHidden(fila)) {
            fila = -1;
            for (int f = 0; f < lista_->rowCount() && fila < 0; ++f)
                if (!lista_->isRowHidden(f))
                    fila = f;
        }
        if (fila < 0)
            return;
        lista_->setCurrentCell(fila, ColCodigo);
        AbrirSeleccionada();
    });
    lista_ = new QTableWidget(0, 7);
    lista_->setHorizontalHeaderLabels({"Código", "Formulario", "Periodo", "NIF del sujeto pasivo",
                                       "Nombre o razón social", "Estado", "Última modificación"});
    lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->setSortingEnabled(true);
    lista_->verticalHeader()->hide();
    // Every column as wide as its widest text and its header; the client's name takes what is
    // left, cut when it must, whole in its tooltip.
    QHeaderView* cabecera = lista_->horizontalHeader();
    cabecera->setMinimumSectionSize(60);
    cabecera->setSectionResizeMode(QHeaderView::ResizeToContents);
    cabecera->setSectionResizeMode(ColNombre, QHeaderView::Stretch);
    // Enter and a double click alike.
    connect(lista_, &QTableWidget::activated, this, &VentanaPrincipal::AbrirSeleccionada);
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
    connect(pestanas_, &QTabWidget::currentChanged, this, [this] {
        ActualizarAcciones();
        RotularVentana();
    });

    vigilante_ = new VigilanteBaseDatos(host_.BaseDatos(), kVigilanciaMs, this);
    connect(vigilante_, &VigilanteBaseDatos::CambioAjeno, this, &VentanaPrincipal::RecargarLista);
    connect(vigilante_, &VigilanteBaseDatos::Fallo, this, [this](const QString& motivo) {
        statusBar()->showMessage("No se ha podido leer la lista de declaraciones: " + motivo);
    });
    CrearAcciones();
    RecargarLista();
    ActualizarAcciones();
    RotularVentana();
    statusBar()->showMessage("Base de datos: " + TextoQt(DestinoVisible(host_.BaseDatos().Ruta())));
    // Said for as long as the window is open: a message of the moment would be replaced.
    if (host_.BaseDatos().SoloLectura()) {
        auto* aviso = new QLabel("Sólo lectura: " + TextoQt(host_.BaseDatos().MotivoSoloLectura()) +
                                 ". No se puede guardar ningún cambio.");
        aviso->setObjectName("avisoSoloLectura");
        aviso->setStyleSheet("QLabel { color: #8a1c00; font-weight: bold; }");
        statusBar()->addPermanentWidget(aviso);
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
    guardar_ = accion(archivo, "&Guardar", QKeySequence::Save, [this] {
        if (PestanaDeclaracion* p = Actual())
            Guardar(p);
        RecargarLista();
        ActualizarAcciones();
    });
    deshacer_ = accion(archivo, "&Deshacer cambios", QKeySequence(),
                       enActual(&PestanaDeclaracion::DeshacerCambios));
    archivo->addSeparator();
    imprimir_ =
        accion(archivo, "&Imprimir…", QKeySequence::Print, enActual(&PestanaDeclaracion::Imprimir));
    exportar_ = accion(archivo, "&Exportar PDF…", QKeySequence(),
                       enActual(&PestanaDeclaracion::ExportarPDF));
    archivo->addSeparator();
    accion(archivo, "&Lote del mes…", QKeySequence(), [this] {
        QString elegida;
        DialogoLote d(host_, this);
        connect(&d, &DialogoLote::abrir, this, [&elegida](const QString& c) { elegida = c; });
        d.exec();
        RecargarLista();
        if (!elegida.isEmpty())
            Abrir(TextoModelo(elegida));
    })->setObjectName("loteDelMes");
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

    recargar_ =
        accion(ver, "Ac&tualizar la lista", QKeySequence(Qt::Key_F5), [this] { RecargarLista(); });
    ver->addSeparator();
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
    AnadirAccionesAsesor(*this, host_, archivo, declaracion);
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
    std::vector<casos::Declaracion> declaraciones;
    try {
        vigilante_->Visto();
        declaraciones = casos::Declaraciones(host_);
    } catch (const CExcepcionBD& e) {
        // The list stays as it was; the next change or F5 tries again.
        statusBar()->showMessage("No se ha podido leer la lista de declaraciones: " +
                                 TextoQt(DescribirFalloBD(e, host_.BaseDatos().Ruta())));
        return;
    }
    const QTableWidgetItem* actual = lista_->item(lista_->currentRow(), ColCodigo);
    const QString elegida = actual ? actual->text() : QString();
    const int columna = std::max(0, lista_->currentColumn());
    const int desplazamiento = lista_->verticalScrollBar()->value();

    lista_->setSortingEnabled(false);
    lista_->setRowCount(int(declaraciones.size()));
    for (int i = 0; i < int(declaraciones.size()); ++i) {
        const auto& r = declaraciones[size_t(i)].resumen;
        const CHost::Sujeto& sujeto = declaraciones[size_t(i)].sujeto;
        const QString periodo =
            r.mes.IsEmpty() ? QString() : TextoQt(r.mes) + "/" + TextoQt(r.anio);
        const QString celdas[] = {TextoQt(r.codigo),    TextoQt(r.modelo.Left(3)), periodo,
                                  TextoQt(sujeto.nif),  TextoQt(sujeto.nombre),    Estado(r.estado),
                                  TextoQt(r.modificada)};
        for (int c = 0; c < 7; ++c) {
            auto* item = new QTableWidgetItem(celdas[c]);
            if (c == ColNombre)
                item->setToolTip(celdas[c]);
            lista_->setItem(i, c, item);
        }
    }
    lista_->setSortingEnabled(true);
    Filtrar(busqueda_->text());

    lista_->verticalScrollBar()->setValue(desplazamiento);
    for (int f = 0; f < lista_->rowCount(); ++f)
        if (!elegida.isEmpty() && lista_->item(f, ColCodigo)->text() == elegida) {
            lista_->setCurrentCell(f, columna);
            return;
        }
    // The chosen one is gone (another program deleted it): nothing is chosen, rather than the
    // row that took its place.
    lista_->setCurrentCell(-1, -1);
    lista_->clearSelection();
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
        pestanas_->addTab(p, TextoQt(codigo));
        connect(p, &PestanaDeclaracion::Cambiada, this, [this, p] {
            Rotular(p);
            ActualizarAcciones();
        });
        pestanas_->setCurrentWidget(p);
        Rotular(p);
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
    formulario->setCurrentIndex(formulario->findData(TextoQt(casos::FormularioPorDefecto(host_))));
    CString mesPorDefecto, anioPorDefecto;
    casos::PeriodoPorDefecto(host_, COleDateTime::GetCurrentTime(), mesPorDefecto, anioPorDefecto);
    auto* mes = new QSpinBox;
    mes->setRange(1, 12);
    mes->setValue(std::atoi(mesPorDefecto));
    auto* anio = new QSpinBox;
    anio->setRange(2000, 2100);
    anio->setValue(std::atoi(anioPorDefecto));
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
        QMessageBox pregunta(QMessageBox::Question, "Cambios sin guardar",
                             "La declaración " + TextoQt(p->Codigo()) +
                                 " tiene cambios sin guardar. ¿Guardarlos?",
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        BotonesEnCastellano(pregunta);
        pregunta.setDefaultButton(QMessageBox::Save);
        pregunta.setEscapeButton(QMessageBox::Cancel);
        const int r = pregunta.exec();
        if (r == QMessageBox::Cancel || (r == QMessageBox::Save && !Guardar(p)))
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

bool VentanaPrincipal::Guardar(PestanaDeclaracion* p) {
    if (!p->Guardar())
        return false; // the tab told the person why
    statusBar()->showMessage("Declaración " + TextoQt(p->Codigo()) + " guardada.", 10000);
    return true;
}

QString VentanaPrincipal::Nombre(PestanaDeclaracion* p) {
    return TextoQt(host_.SujetoDe(p->Pagina(0)->Vista()).nombre);
}

void VentanaPrincipal::Rotular(PestanaDeclaracion* p) {
    const int i = pestanas_->indexOf(p);
    if (i <= 0)
        return;
    const bool cambios = p->Modificada();
    const QString codigo = TextoQt(p->Codigo());
    const QString nombre = Nombre(p);
    QString texto = nombre.isEmpty() ? codigo : nombre;
    if (texto.size() > kLetrasPestana)
        texto = texto.left(kLetrasPestana - 1).trimmed() + "…";
    pestanas_->setTabText(i, texto + (cambios ? "*" : "") + Sufijo(host_, p));
    pestanas_->setTabToolTip(i, nombre.isEmpty() ? codigo : codigo + " · " + nombre);
    if (p == Actual())
        RotularVentana();
}

void VentanaPrincipal::RotularVentana() {
    const QString soloLectura = host_.BaseDatos().SoloLectura() ? " (sólo lectura)" : "";
    PestanaDeclaracion* p = Actual();
    if (!p) {
        setWindowModified(false);
        setWindowTitle(kTitulo + soloLectura);
        return;
    }
    const QString nombre = Nombre(p);
    // "[*]" is where the desktop shows the unsaved-changes mark of a modified window.
    setWindowTitle(TextoQt(p->Codigo()) + (nombre.isEmpty() ? "" : " · " + nombre) + "[*] — " +
                   "Modelo" + soloLectura);
    setWindowModified(p->Modificada());
}
