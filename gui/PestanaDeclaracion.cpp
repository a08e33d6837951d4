#include "PestanaDeclaracion.h"

#include "CasosDeUso.h"
#include "DialogoFicheros.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/store/FicheroAtomico.h"
#include "render/Impresion.h"
#include "render/Impresora.h"
#include "render/Pagina.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>

PestanaDeclaracion::PestanaDeclaracion(CHost& host, const CString& codigo, QWidget* parent)
    : QWidget(parent), host_(host), codigo_(codigo) {
    auto* division = new QSplitter(Qt::Vertical, this);
    paginas_ = new QTabWidget(division);
    panelErrores_ = new QWidget(division);
    errores_ = new QTreeWidget;
    errores_->setHeaderLabels({"Código", "Casilla", "Descripción", "Detalle"});
    errores_->setRootIsDecorated(false);
    errores_->setAccessibleName("Errores de la declaración");
    errores_->setAccessibleDescription("Intro o doble clic en un error lleva a su casilla");
    errores_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    errores_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    errores_->header()->setStretchLastSection(true);
    errores_->setColumnWidth(2, 420);
    connect(errores_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { IrAError(errores_->indexOfTopLevelItem(item)); });
    connect(errores_, &QTreeWidget::currentItemChanged, this, &PestanaDeclaracion::MostrarDetalle);
    auto* titulo = new QLabel("&Errores (Intro en uno lleva a su casilla):");
    titulo->setBuddy(errores_);
    // A finding's detail may run long; the list cuts it, this shows it whole.
    detalle_ = new QLabel;
    detalle_->setTextFormat(Qt::PlainText);
    detalle_->setWordWrap(true);
    detalle_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    detalle_->setFocusPolicy(Qt::StrongFocus);
    detalle_->setAccessibleName("Detalle del error elegido");
    auto* cajaErrores = new QVBoxLayout(panelErrores_);
    cajaErrores->setContentsMargins(4, 4, 4, 4);
    cajaErrores->addWidget(titulo);
    cajaErrores->addWidget(errores_, 1);
    cajaErrores->addWidget(detalle_);
    panelErrores_->hide();
    division->setStretchFactor(0, 4);
    division->setStretchFactor(1, 1);
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->addWidget(division);
    Cargar();
}

PestanaDeclaracion::~PestanaDeclaracion() {
    // The widgets observe the views: they go first.
    paginas_->clear();
    for (QScrollArea* d : desplazables_)
        delete d;
}

void PestanaDeclaracion::Cargar() {
    paginas_->clear();
    for (QScrollArea* d : desplazables_)
        delete d;
    desplazables_.clear();
    paginasWidget_.clear();
    vistas_.clear();
    doc_ = host_.Abrir(codigo_);
    // A database that cannot be written is shown as it is: nothing typed could be saved.
    if (host_.BaseDatos().SoloLectura()) {
        doc_->SetPermiteCambios(false);
        doc_->SetModoEdicion(false);
    }
    for (int i = 0; i < doc_->NumPaginas(); ++i) {
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*doc_, i, error);
        if (!vista)
            throw ErrorUsuario(error);
        auto* desplazable = new QScrollArea;
        auto* pagina = new PaginaWidget(*vista, desplazable);
        desplazable->setWidget(pagina);
        desplazable->setAlignment(Qt::AlignHCenter);
        desplazable->setBackgroundRole(QPalette::Dark);
        pagina->SetZoom(zoom_);
        connect(pagina, &PaginaWidget::MostrarWidget, desplazable,
                [desplazable](QWidget* w) { desplazable->ensureWidgetVisible(w, 40, 80); });
        connect(pagina, &PaginaWidget::AyudaCasilla, this, [this](int casilla) {
            const CString texto = doc_->GetAyuda(casilla);
            AfxServicios().MessageBox(texto.IsEmpty() ? CString("Esta casilla no tiene ayuda.")
                                                      : texto,
                                      "Ayuda de la casilla", MB_OK | MB_ICONINFORMATION);
        });
        connect(pagina, &PaginaWidget::Editada, this, [this] { modificada_ = true; });
        connect(pagina, &PaginaWidget::Pulsado, this, &PestanaDeclaracion::Revisar);
        connect(pagina, &PaginaWidget::Editada, this, &PestanaDeclaracion::Cambiada);
        paginas_->addTab(desplazable, QString("Página %1").arg(i + 1));
        desplazables_.push_back(desplazable);
        paginasWidget_.push_back(pagina);
        vistas_.push_back(std::move(vista));
    }
    guardado_ = doc_->Casillas();
    modificada_ = false;
}

PaginaWidget* PestanaDeclaracion::Pagina(int indice) const {
    return indice >= 0 && indice < int(paginasWidget_.size()) ? paginasWidget_[size_t(indice)]
                                                              : nullptr;
}

// Page 1 holds everything a person types; page 2 is its copy.
std::map<std::pair<int, int>, CString> PestanaDeclaracion::Mostrado() {
    if (!vistas_.empty()) {
        paginasWidget_[0]->TerminarEdicion();
        vistas_[0]->SalvarDatos();
    }
    return doc_->Casillas();
}

bool PestanaDeclaracion::TieneCambios() {
    return !SoloLectura() && Mostrado() != guardado_;
}

bool PestanaDeclaracion::Guardar() {
    if (SoloLectura())
        return false;
    try {
        paginasWidget_[0]->TerminarEdicion();
        vistas_[0]->SalvarDatos();
        if (!casos::Guardar(host_, *doc_))
            return false;
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha guardado la declaración: ") + e.what(),
                      MB_OK | MB_ICONERROR);
        return false;
    }
    Guardado();
    // The findings on show may be the ones this save fixed.
    if (deValidacion_ && panelErrores_->isVisibleTo(this))
        Validar();
    emit Cambiada();
    return true;
}

void PestanaDeclaracion::Guardado() {
    guardado_ = doc_->Casillas();
    modificada_ = false;
    for (size_t i = 1; i < vistas_.size(); ++i)
        vistas_[i]->CargarDatos(); // the save replicated page 1 onto them
}

void PestanaDeclaracion::DeshacerCambios() {
    Cargar();
    OcultarHallazgos();
    emit Cambiada();
}

int PestanaDeclaracion::Validar() {
    Mostrado();
    const CListaErrores hallazgos = casos::Validar(*doc_);
    MostrarHallazgos(hallazgos);
    deValidacion_ = true;
    return hallazgos.GetSize();
}

void PestanaDeclaracion::MostrarHallazgos(const CListaErrores& hallazgos) {
    hallazgos_ = hallazgos;
    deValidacion_ = false;
    errores_->clear();
    for (const stError& e : hallazgos_) {
        auto* item = new QTreeWidgetItem({TextoQt(e.Codigo),
                                          QString("P%1-%2").arg(e.Pagina + 1).arg(e.Casilla),
                                          TextoQt(e.Descripcion), TextoQt(e.Detalle)});
        const QString entero =
            TextoQt(e.Descripcion) + (e.Detalle.IsEmpty() ? QString() : "\n" + TextoQt(e.Detalle));
        for (int c = 0; c < errores_->columnCount(); ++c)
            item->setToolTip(c, entero);
        errores_->addTopLevelItem(item);
    }
    if (errores_->topLevelItemCount() > 0)
        errores_->setCurrentItem(errores_->topLevelItem(0));
    MostrarDetalle();
    panelErrores_->setVisible(!hallazgos_.IsEmpty());
}

void PestanaDeclaracion::OcultarHallazgos() {
    hallazgos_ = CListaErrores();
    deValidacion_ = false;
    errores_->clear();
    detalle_->clear();
    panelErrores_->hide();
}

void PestanaDeclaracion::MostrarDetalle() {
    const int fila = errores_->indexOfTopLevelItem(errores_->currentItem());
    if (fila < 0 || fila >= hallazgos_.GetSize()) {
        detalle_->clear();
        return;
    }
    const stError& e = hallazgos_[fila];
    QString texto = QString("%1 (casilla P%2-%3): %4")
                        .arg(TextoQt(e.Codigo))
                        .arg(e.Pagina + 1)
                        .arg(e.Casilla)
                        .arg(TextoQt(e.Descripcion));
    if (!e.Detalle.IsEmpty())
        texto += "\n" + TextoQt(e.Detalle);
    detalle_->setText(texto);
}

bool PestanaDeclaracion::Finalizar() {
    if (SoloLectura())
        return false;
    paginasWidget_[0]->TerminarEdicion();
    // Nothing is saved before the answer: No leaves the declaration as it was.
    if (AfxMessageBox("¿Finalizar la declaración " + codigo_ +
                          "? Una declaración definitiva ya no se puede modificar ni eliminar.",
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    CListaErrores hallazgos;
    try {
        vistas_[0]->SalvarDatos();
        if (!casos::Finalizar(host_, *doc_, hallazgos)) {
            if (hallazgos.IsEmpty())
                return false; // not saved, and the person was told why
            Guardado();
            MostrarHallazgos(hallazgos);
            deValidacion_ = true;
            emit Cambiada();
            AfxMessageBox(CString::Formatted("La declaración tiene %d errores y sigue en "
                                             "borrador. Haga doble clic en cada uno para ir a "
                                             "su casilla.",
                                             hallazgos.GetSize()),
                          MB_OK | MB_ICONWARNING);
            return false;
        }
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha podido finalizar: ") + e.what(), MB_OK | MB_ICONERROR);
        return false;
    }
    Cargar();
    OcultarHallazgos();
    emit Cambiada();
    return true;
}

void PestanaDeclaracion::ImportarFichero() {
    if (SoloLectura() || !host_.OfreceImportacion(*doc_)) {
        AfxMessageBox("Este formulario no importa ficheros de documentos.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    paginas_->setCurrentIndex(0);
    // The page itself tells the person what became of the file, and it saved its values into
    // the declaration first whatever the outcome: the tab follows the declaration either way.
    host_.Importar(*vistas_[0]);
    Revisar();
}

void PestanaDeclaracion::Revisar() {
    modificada_ = TieneCambios();
    emit Cambiada();
}

void PestanaDeclaracion::Imprimir() {
    Mostrado();
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialogo(&printer, this);
    dialogo.setWindowTitle("Imprimir la declaración " + TextoQt(codigo_));
    if (dialogo.exec() != QDialog::Accepted)
        return;
    CPrintInfo info;
    info.m_nCopias = std::max(1, printer.copyCount());
    if (!ImprimirEnQPrinter(*doc_, printer, info))
        AfxMessageBox("No se ha podido imprimir: " + info.m_strError, MB_OK | MB_ICONERROR);
}

void PestanaDeclaracion::ExportarPDF() {
    Mostrado();
    const QString ruta = PedirFicheroParaGuardar(this, "Exportar la declaración en PDF",
                                                 TextoQt(codigo_) + ".pdf", "PDF (*.pdf)");
    if (ruta.isEmpty())
        return;
    CPrintInfo info;
    QByteArray pdf;
    try {
        if (!ImprimirPDF(*doc_, info, pdf))
            throw std::runtime_error(info.m_strError.str());
        EscribirFicheroAtomico(CString(QFile::encodeName(ruta).toStdString()),
                               std::string_view(pdf.constData(), size_t(pdf.size())));
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha exportado el PDF: ") + e.what(), MB_OK | MB_ICONERROR);
    }
}

// The parties dialog is what the page's parties buttons open.
void PestanaDeclaracion::Intervinientes() {
    const PlantillaDialogo* p = vistas_[0]->Plantilla();
    for (const ControlPlantilla& c : p->controles) {
        if (c.accion != AccionBoton::Intervinientes)
            continue;
        paginas_->setCurrentIndex(0);
        vistas_[0]->GetDlgItem(c.id)->SetFocus();
        vistas_[0]->EnviarNotificacion(c.id, BN_CLICKED);
        Revisar();
        return;
    }
}

void PestanaDeclaracion::IrAError(int fila) {
    if (fila < 0 || fila >= hallazgos_.GetSize())
        return;
    const stError& e = hallazgos_[fila];
    if (e.Pagina < 0 || e.Pagina >= int(vistas_.size()))
        return;
    paginas_->setCurrentIndex(e.Pagina);
    vistas_[size_t(e.Pagina)]->PosicionarEnCasilla(e.Casilla);
}

void PestanaDeclaracion::SetZoom(double zoom) {
    zoom_ = zoom;
    for (PaginaWidget* p : paginasWidget_)
        p->SetZoom(zoom);
    if (!paginasWidget_.empty())
        zoom_ = paginasWidget_[0]->Zoom();
}

double PestanaDeclaracion::Zoom() const {
    return zoom_;
}
