#include "DialogoIntervinientes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "render/Pagina.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <tuple>

namespace {

// The name first: typing its start in a picker chooses the party.
QString Describir(const stInterviniente& p) {
    return TextoQt(QuitarSep(p.Nombre) + " — " + p.Nif);
}

// A bound copy is shown as the stored party it was made from while nothing tells them apart;
// once the stored one is corrected, the copy is a choice of its own until bound again.
bool MismosDatos(const stInterviniente& a, const stInterviniente& b) {
    auto campos = [](const stInterviniente& p) {
        return std::tie(p.Nif, p.Nombre, p.Provincia, p.Municipio, p.TipoVia, p.NombreVia, p.Numero,
                        p.Escalera, p.Piso, p.Puerta, p.CodigoPostal, p.Telefono);
    };
    return campos(a) == campos(b);
}

} // namespace

DialogoIntervinientes::DialogoIntervinientes(CHost& host, bool edicion, const CString& modelo,
                                             const CString& declaracion, QWidget* padre)
    : QDialog(padre), host_(host), m_(host.BaseDatos()), edicion_(edicion),
      declaracion_(declaracion), papeles_{{{rol::SujetoPasivo},
                                           {rol::Representante},
                                           {rol::Presentador}}} {
    setWindowTitle("Intervinientes de la declaración " + TextoQt(declaracion) + " (" +
                   TextoQt(modelo) + ")");
    resize(760, 500);
    tabla_ = new QTableWidget(0, 4, this);
    tabla_->setHorizontalHeaderLabels({"Nº", "NIF", "Nombre o razón social", "Teléfono"});
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table, as it leaves any other control; the arrows move inside it.
    tabla_->setTabKeyNavigation(false);
    tabla_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabla_->verticalHeader()->hide();
    tabla_->setAccessibleName("Intervinientes del almacén");
    tabla_->setAccessibleDescription("Los intervinientes guardados; elija uno para modificarlo "
                                     "o quitarlo, o para vincularlo en un papel más abajo");
    auto* etiquetaTabla = new QLabel("&Intervinientes del almacén:");
    etiquetaTabla->setBuddy(tabla_);

    auto* anadir = new QPushButton("&Nuevo…");
    anadir->setAccessibleName("Nuevo interviniente");
    anadir->setToolTip("Añade un interviniente al almacén");
    corregir_ = new QPushButton("&Modificar…");
    corregir_->setAccessibleName("Modificar el interviniente elegido");
    corregir_->setToolTip("Corrige los datos del interviniente elegido en el almacén");
    quitar_ = new QPushButton("&Quitar del almacén");
    quitar_->setAccessibleName("Quitar del almacén el interviniente elegido");
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {anadir, corregir_, quitar_})
        botones->addWidget(b);
    botones->addStretch();

    // One mnemonic each, none taken by the buttons above or by Aceptar and Cancelar.
    const char* const etiquetas[] = {"&Sujeto pasivo:", "&Representante:", "&Presentador:"};
    auto* grupo = new QGroupBox("Papeles en esta declaración");
    auto* forma = new QFormLayout(grupo);
    for (size_t i = 0; i < papeles_.size(); ++i) {
        Papel& papel = papeles_[i];
        papel.selector = new QComboBox;
        papel.selector->setAccessibleName(papel.nombre);
        papel.selector->setAccessibleDescription(
            QString("El interviniente que la declaración lleva como %1").arg(papel.nombre));
        papel.selector->setEnabled(edicion_);
        papel.selector->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        papel.selector->setMinimumContentsLength(40);
        auto* etiqueta = new QLabel(etiquetas[i]);
        etiqueta->setBuddy(papel.selector);
        forma->addRow(etiqueta, papel.selector);
    }
    if (!edicion_)
        forma->addRow(new QLabel("La declaración no admite cambios: los papeles sólo se "
                                 "muestran."));

    connect(anadir, &QPushButton::clicked, this, [this] {
        stInterviniente p;
        if (PedirDatos(p))
            Hacer([&] { casos::AnadirInterviniente(host_, p); });
    });
    connect(corregir_, &QPushButton::clicked, this, [this] {
        const CString n = Seleccionado();
        for (stInterviniente p : m_.Libres())
            if (p.NumOrden == n && PedirDatos(p))
                Hacer([&] { casos::CorregirInterviniente(host_, n, p); });
    });
    connect(quitar_, &QPushButton::clicked, this, [this] {
        const CString n = Seleccionado();
        if (!n.IsEmpty() &&
            QMessageBox::question(this, "Quitar interviniente",
                                  "¿Quitar del almacén el interviniente " + TextoQt(n) + "?",
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) == QMessageBox::Yes)
            Hacer([&] { casos::QuitarInterviniente(host_, n); });
    });
    connect(tabla_, &QTableWidget::itemDoubleClicked, corregir_, &QPushButton::click);
    connect(tabla_, &QTableWidget::currentCellChanged, this, [this](int fila) {
        corregir_->setEnabled(fila >= 0);
        quitar_->setEnabled(fila >= 0);
    });

    auto* cierre = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(cierre, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(cierre, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* caja = new QVBoxLayout(this);
    caja->addWidget(etiquetaTabla);
    caja->addWidget(tabla_);
    caja->addLayout(botones);
    caja->addWidget(grupo);
    caja->addWidget(cierre);
    Recargar();
    tabla_->setFocus();
}

QComboBox* DialogoIntervinientes::Selector(const CString& papel) const {
    for (const Papel& p : papeles_)
        if (papel == p.nombre)
            return p.selector;
    return nullptr;
}

void DialogoIntervinientes::Recargar() {
    const CString elegido = Seleccionado();
    const std::vector<stInterviniente> libres = m_.Libres();
    tabla_->setRowCount(int(libres.size()));
    int fila = libres.empty() ? -1 : 0;
    for (int i = 0; i < int(libres.size()); ++i) {
        const stInterviniente& p = libres[size_t(i)];
        const CString campos[] = {p.NumOrden, p.Nif, QuitarSep(p.Nombre), p.Telefono};
        for (int c = 0; c < 4; ++c)
            tabla_->setItem(i, c, new QTableWidgetItem(TextoQt(campos[c])));
        if (p.NumOrden == elegido)
            fila = i;
    }
    // A row is always current, so the buttons act on something a keyboard user can see.
    tabla_->setCurrentCell(fila, 0);
    corregir_->setEnabled(fila >= 0);
    quitar_->setEnabled(fila >= 0);
    RecargarPapeles();
}

void DialogoIntervinientes::RecargarPapeles() {
    const std::vector<stInterviniente> libres = m_.Libres();
    const std::vector<stInterviniente> vinculados = m_.Vinculados(declaracion_);
    for (Papel& papel : papeles_) {
        QComboBox* s = papel.selector;
        // What the person chose stays chosen while the store changes under it.
        const bool elegidoPorLaPersona =
            s->count() > 0 && s->currentData().toString() != papel.inicial;
        const QString antes = s->currentData().toString();
        s->clear();
        s->addItem("(ninguno)", QString());
        const stInterviniente* actual = nullptr;
        for (const stInterviniente& v : vinculados)
            if (v.Rol == papel.nombre)
                actual = &v;
        papel.inicial = actual ? QString(kActual) : QString();
        for (const stInterviniente& p : libres) {
            s->addItem(QString("%1 (nº %2)").arg(Describir(p), TextoQt(p.NumOrden)),
                       TextoQt(p.NumOrden));
            if (actual && papel.inicial == kActual && MismosDatos(*actual, p))
                papel.inicial = TextoQt(p.NumOrden);
        }
        if (papel.inicial == kActual)
            s->insertItem(1, Describir(*actual) + " (el vinculado ahora)", QString(kActual));
        const int i = s->findData(elegidoPorLaPersona ? antes : papel.inicial);
        s->setCurrentIndex(i >= 0 ? i : 0);
    }
}

CString DialogoIntervinientes::Seleccionado() const {
    const int fila = tabla_->currentRow();
    return fila < 0 || !tabla_->item(fila, 0) ? CString()
                                              : TextoModelo(tabla_->item(fila, 0)->text());
}

bool DialogoIntervinientes::Hacer(const std::function<void()>& cambio) {
    bool hecho = false;
    try {
        cambio();
        hecho = true;
    } catch (const CExcepcionInterviniente& e) {
        AfxMessageBox(e.what(), MB_OK | MB_ICONWARNING);
    } catch (const ErrorUsuario& e) {
        AfxMessageBox(e.what(), MB_OK | MB_ICONWARNING);
    } catch (const CExcepcionBD& e) {
        AfxMessageBox(CString("No se ha guardado el cambio: ") + e.what(), MB_OK | MB_ICONERROR);
    }
    Recargar();
    return hecho;
}

void DialogoIntervinientes::accept() {
    if (!edicion_) {
        QDialog::accept();
        return;
    }
    // Each role's binding is checked against what the store holds now, and a refusal leaves
    // every role as it was.
    const bool hecho = Hacer([this] {
        CBaseDatos::Transaccion t(host_.BaseDatos());
        for (const Papel& papel : papeles_) {
            const QString elegido = papel.selector->currentData().toString();
            if (elegido == papel.inicial)
                continue;
            if (elegido.isEmpty())
                casos::DesvincularInterviniente(host_, declaracion_, papel.nombre);
            else
                casos::VincularInterviniente(host_, declaracion_, papel.nombre,
                                             TextoModelo(elegido));
        }
        t.Confirmar();
    });
    if (hecho)
        QDialog::accept();
}

bool DialogoIntervinientes::PedirDatos(stInterviniente& p) {
    QDialog d(this);
    d.setWindowTitle(p.NumOrden.IsEmpty() ? QString("Nuevo interviniente")
                                          : "Interviniente " + TextoQt(p.NumOrden));
    auto* forma = new QFormLayout(&d);
    stInterviniente leido = p;
    CString a1, a2, n;
    ExtraerCadBD(p.Nombre, a1, a2, n);
    struct Campo {
        const char* etiqueta;
        CString* valor;
        QLineEdit* edit = nullptr;
    };
    Campo campos[] = {{"NIF", &leido.Nif},
                      {"Primer apellido o razón social", &a1},
                      {"Segundo apellido", &a2},
                      {"Nombre", &n},
                      {"Tipo de vía", &leido.TipoVia},
                      {"Vía", &leido.NombreVia},
                      {"Número", &leido.Numero},
                      {"Escalera", &leido.Escalera},
                      {"Piso", &leido.Piso},
                      {"Puerta", &leido.Puerta},
                      {"Provincia (código)", &leido.Provincia},
                      {"Municipio (código)", &leido.Municipio},
                      {"Código postal", &leido.CodigoPostal},
                      {"Teléfono", &leido.Telefono}};
    for (Campo& c : campos) {
        c.edit = new QLineEdit(TextoQt(*c.valor));
        c.edit->setAccessibleName(c.etiqueta);
        forma->addRow(c.etiqueta, c.edit);
    }
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto leer = [&] {
        for (Campo& c : campos)
            *c.valor = TextoModelo(c.edit->text().trimmed().toUpper());
        const CString sep(kSeparadorNombre, 1);
        leido.Nombre = a2.IsEmpty() && n.IsEmpty() ? a1 : a1 + sep + a2 + sep + n;
    };
    // A refused party keeps the dialog open with what was typed, rather than losing it.
    connect(botones, &QDialogButtonBox::accepted, &d, [&] {
        leer();
        const CString motivo = CMantenimientoIntervinientes::Comprobar(leido);
        if (motivo.IsEmpty())
            d.accept();
        else
            AfxMessageBox(motivo, MB_OK | MB_ICONWARNING);
    });
    connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    forma->addRow(botones);
    if (d.exec() != QDialog::Accepted)
        return false;
    p = leido;
    return true;
}
