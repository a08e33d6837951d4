#include "VistaClientes.h"

#include "Ajustes.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "render/Pagina.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const kMeses[] = {"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                              "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};

// A filed month reads at once apart from one still to file and from one not started.
QTableWidgetItem* CeldaDelMes(const casos::MesCliente& m) {
    auto* celda = new QTableWidgetItem;
    celda->setTextAlignment(Qt::AlignCenter);
    if (m.Vacio()) {
        celda->setText("—");
        celda->setForeground(QColor(150, 150, 150));
        celda->setToolTip("Sin declaración: pulse para crearla");
        return celda;
    }
    const bool definitiva = m.estado == estado::Definitiva;
    celda->setText(definitiva ? "Definitiva" : "Borrador");
    celda->setBackground(definitiva ? QColor(198, 233, 198) : QColor(255, 236, 179));
    celda->setToolTip("Declaración " + TextoQt(m.codigo) + ": pulse para abrirla");
    return celda;
}

} // namespace

VistaClientes::VistaClientes(CHost& host, std::function<void(const CString&)> abrir,
                             QWidget* parent)
    : QWidget(parent), host_(host), abrir_(std::move(abrir)) {
    formulario_ = new QComboBox;
    for (const auto& p : host_.Plugins().Plugins())
        formulario_->addItem(TextoQt(p.codigo), TextoQt(p.codigo));
    formulario_->setCurrentIndex(
        formulario_->findData(TextoQt(casos::FormularioPorDefecto(host_))));
    CString mes, anio;
    casos::PeriodoPorDefecto(host_, COleDateTime::GetCurrentTime(), mes, anio);
    anio_ = new QSpinBox;
    anio_->setRange(2000, 2100);
    anio_->setValue(std::atoi(anio));
    busqueda_ = new QLineEdit;
    busqueda_->setPlaceholderText("Buscar por NIF o nombre…");
    busqueda_->setClearButtonEnabled(true);
    connect(busqueda_, &QLineEdit::textChanged, this, &VistaClientes::Filtrar);
    auto* actualizar = new QPushButton("&Actualizar");
    connect(actualizar, &QPushButton::clicked, this, &VistaClientes::Recargar);
    connect(formulario_, &QComboBox::currentIndexChanged, this, &VistaClientes::Recargar);
    connect(anio_, &QSpinBox::valueChanged, this, &VistaClientes::Recargar);

    tabla_ = new QTableWidget(0, kPrimerMes + 12);
    QStringList cabecera = {"NIF", "Nombre o razón social"};
    for (const char* m : kMeses)
        cabecera << m;
    tabla_->setHorizontalHeaderLabels(cabecera);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectItems);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->verticalHeader()->hide();
    tabla_->setWordWrap(false);
    tabla_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tabla_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Every month as wide as the widest state, so the months line up as a calendar does.
    const int ancho = tabla_->fontMetrics().horizontalAdvance("Definitiva") + 12;
    for (int c = kPrimerMes; c < kPrimerMes + 12; ++c) {
        tabla_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Fixed);
        tabla_->setColumnWidth(c, ancho);
    }
    connect(tabla_, &QTableWidget::cellClicked, this, &VistaClientes::Elegir);
    tabla_->installEventFilter(this);

    auto* barra = new QHBoxLayout;
    barra->addWidget(new QLabel("Formulario"));
    barra->addWidget(formulario_);
    barra->addWidget(new QLabel("Año de devengo"));
    barra->addWidget(anio_);
    barra->addWidget(busqueda_, 1);
    barra->addWidget(actualizar);
    auto* caja = new QVBoxLayout(this);
    caja->addLayout(barra);
    caja->addWidget(tabla_);
}

void VistaClientes::showEvent(QShowEvent* e) {
    // Declarations change in their tabs and in other programs: shown, the table is of now.
    Recargar();
    QWidget::showEvent(e);
}

bool VistaClientes::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == tabla_ && e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter) && tabla_->currentItem()) {
            Elegir(tabla_->currentRow(), tabla_->currentColumn());
            return true;
        }
    }
    return QWidget::eventFilter(objeto, e);
}

void VistaClientes::Recargar() {
    const int fila = tabla_->currentRow(), columna = tabla_->currentColumn();
    const CString formulario = TextoModelo(formulario_->currentData().toString());
    try {
        clientes_ =
            formulario.IsEmpty()
                ? std::vector<casos::Cliente>()
                : casos::Clientes(host_, formulario, CString::Formatted("%04d", anio_->value()));
    } catch (const std::exception& e) {
        clientes_.clear();
        AfxMessageBox(CString("No se pueden leer los clientes: ") + e.what(), MB_OK | MB_ICONERROR);
    }
    tabla_->setRowCount(int(clientes_.size()));
    for (int i = 0; i < int(clientes_.size()); ++i) {
        const casos::Cliente& c = clientes_[size_t(i)];
        tabla_->setItem(i, 0, new QTableWidgetItem(TextoQt(c.nif)));
        auto* nombre = new QTableWidgetItem(c.nif.IsEmpty() ? QString("(sin sujeto pasivo)")
                                                            : TextoQt(c.nombre));
        nombre->setToolTip(nombre->text());
        tabla_->setItem(i, 1, nombre);
        for (int m = 0; m < 12; ++m)
            tabla_->setItem(i, kPrimerMes + m, CeldaDelMes(c.meses[size_t(m)]));
    }
    if (fila >= 0 && fila < tabla_->rowCount())
        tabla_->setCurrentCell(fila, columna);
    Filtrar();
}

void VistaClientes::Filtrar() {
    const QString texto = busqueda_->text();
    for (int f = 0; f < tabla_->rowCount(); ++f)
        tabla_->setRowHidden(f,
                             !texto.isEmpty() &&
                                 !tabla_->item(f, 0)->text().contains(texto, Qt::CaseInsensitive) &&
                                 !tabla_->item(f, 1)->text().contains(texto, Qt::CaseInsensitive));
}

void VistaClientes::Elegir(int fila, int columna) {
    if (fila < 0 || fila >= int(clientes_.size()) || columna < kPrimerMes)
        return;
    const casos::Cliente& c = clientes_[size_t(fila)];
    const casos::MesCliente& m = c.meses[size_t(columna - kPrimerMes)];
    if (!m.Vacio()) {
        abrir_(m.codigo);
        return;
    }
    // Nobody's declarations have no client to create one for.
    if (c.nif.IsEmpty())
        return;
    const CString formulario = TextoModelo(formulario_->currentData().toString());
    const CString mes = CString::Formatted("%02d", columna - kPrimerMes + 1);
    const CString anio = CString::Formatted("%04d", anio_->value());
    if (host_.BaseDatos().SoloLectura()) {
        AfxMessageBox("La base de datos es de sólo lectura: no se puede crear la declaración.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (AfxMessageBox("¿Crear la declaración " + formulario + " de " + c.nombre + " (" + c.nif +
                          ") del periodo " + mes + "/" + anio + "?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    try {
        const CString codigo =
            casos::NuevaDeCliente(host_, formulario, c.nif, mes, anio)->GetCodDeclar();
        Recargar();
        abrir_(codigo);
    } catch (const std::exception& e) {
        AfxMessageBox(CString("No se ha creado la declaración: ") + e.what(), MB_OK | MB_ICONERROR);
    }
}
