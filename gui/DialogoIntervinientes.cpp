#include "DialogoIntervinientes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "render/Pagina.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

DialogoIntervinientes::DialogoIntervinientes(CHost& host, bool edicion, const CString& modelo,
                                             const CString& declaracion, QWidget* padre)
    : QDialog(padre), host_(host), m_(host.BaseDatos()), edicion_(edicion),
      declaracion_(declaracion) {
    setWindowTitle("Intervinientes de la declaración " + TextoQt(declaracion) + " (" +
                   TextoQt(modelo) + ")");
    resize(760, 460);
    tabla_ = new QTableWidget(0, 4, this);
    tabla_->setHorizontalHeaderLabels({"Nº", "NIF", "Nombre o razón social", "Teléfono"});
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tabla_->verticalHeader()->hide();
    vinculados_ = new QLabel(this);
    vinculados_->setTextFormat(Qt::PlainText);

    auto* anadir = new QPushButton("&Añadir…");
    auto* editar = new QPushButton("&Corregir…");
    auto* quitar = new QPushButton("&Quitar");
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {anadir, editar, quitar})
        botones->addWidget(b);
    botones->addStretch();
    auto* papeles = new QHBoxLayout;
    for (const char* papel : {rol::SujetoPasivo, rol::Representante, rol::Presentador}) {
        auto* vincular = new QPushButton(QString("Como %1").arg(papel));
        vincular->setToolTip("Vincula el interviniente elegido a la declaración en este papel");
        vincular->setEnabled(edicion_);
        connect(vincular, &QPushButton::clicked, this, [this, papel] {
            const CString n = Seleccionado();
            if (n.IsEmpty())
                return;
            Hacer([&] { casos::VincularInterviniente(host_, declaracion_, papel, n); });
        });
        papeles->addWidget(vincular);
        auto* quitarPapel = new QPushButton(QString("Sin %1").arg(papel));
        quitarPapel->setEnabled(edicion_);
        connect(quitarPapel, &QPushButton::clicked, this, [this, papel] {
            Hacer([&] { casos::DesvincularInterviniente(host_, declaracion_, papel); });
        });
        papeles->addWidget(quitarPapel);
    }
    connect(anadir, &QPushButton::clicked, this, [this] {
        stInterviniente p;
        if (PedirDatos(p))
            Hacer([&] { casos::AnadirInterviniente(host_, p); });
    });
    connect(editar, &QPushButton::clicked, this, [this] {
        const CString n = Seleccionado();
        for (stInterviniente p : m_.Libres())
            if (p.NumOrden == n && PedirDatos(p))
                Hacer([&] { casos::CorregirInterviniente(host_, n, p); });
    });
    connect(quitar, &QPushButton::clicked, this, [this] {
        const CString n = Seleccionado();
        if (!n.IsEmpty() && QMessageBox::question(this, "Quitar interviniente",
                                                  "¿Quitar del almacén el interviniente " +
                                                      TextoQt(n) + "?") == QMessageBox::Yes)
            Hacer([&] { casos::QuitarInterviniente(host_, n); });
    });

    auto* cierre = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(cierre, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(cierre, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* caja = new QVBoxLayout(this);
    caja->addWidget(new QLabel("Intervinientes del almacén:"));
    caja->addWidget(tabla_);
    caja->addLayout(botones);
    caja->addWidget(new QLabel("Papeles en esta declaración:"));
    caja->addWidget(vinculados_);
    caja->addLayout(papeles);
    caja->addWidget(cierre);
    Recargar();
}

void DialogoIntervinientes::Recargar() {
    const std::vector<stInterviniente> libres = m_.Libres();
    tabla_->setRowCount(int(libres.size()));
    for (int i = 0; i < int(libres.size()); ++i) {
        const stInterviniente& p = libres[size_t(i)];
        const CString campos[] = {p.NumOrden, p.Nif, QuitarSep(p.Nombre), p.Telefono};
        for (int c = 0; c < 4; ++c)
            tabla_->setItem(i, c, new QTableWidgetItem(TextoQt(campos[c])));
    }
    QString texto;
    for (const char* papel : {rol::SujetoPasivo, rol::Representante, rol::Presentador}) {
        QString quien = "—";
        for (const stInterviniente& p : m_.Vinculados(declaracion_))
            if (p.Rol == papel)
                quien = TextoQt(p.Nif + " " + QuitarSep(p.Nombre));
        texto += QString("%1: %2\n").arg(papel, quien);
    }
    vinculados_->setText(texto.trimmed());
}

CString DialogoIntervinientes::Seleccionado() const {
    const int fila = tabla_->currentRow();
    return fila < 0 || !tabla_->item(fila, 0) ? CString()
                                              : TextoModelo(tabla_->item(fila, 0)->text());
}

void DialogoIntervinientes::Hacer(const std::function<void()>& cambio) {
    try {
        cambio();
    } catch (const CExcepcionInterviniente& e) {
        AfxMessageBox(e.what(), MB_OK | MB_ICONWARNING);
    } catch (const ErrorUsuario& e) {
        AfxMessageBox(e.what(), MB_OK | MB_ICONWARNING);
    } catch (const CExcepcionBD& e) {
        AfxMessageBox(CString("No se ha guardado el cambio: ") + e.what(), MB_OK | MB_ICONERROR);
    }
    Recargar();
}

bool DialogoIntervinientes::PedirDatos(stInterviniente& p) {
    QDialog d(this);
    d.setWindowTitle("Datos del interviniente");
    auto* forma = new QFormLayout(&d);
    CString a1, a2, n;
    ExtraerCadBD(p.Nombre, a1, a2, n);
    struct Campo {
        const char* etiqueta;
        CString* valor;
        QLineEdit* edit = nullptr;
    };
    Campo campos[] = {{"NIF", &p.Nif},
                      {"Primer apellido o razón social", &a1},
                      {"Segundo apellido", &a2},
                      {"Nombre", &n},
                      {"Tipo de vía", &p.TipoVia},
                      {"Vía", &p.NombreVia},
                      {"Número", &p.Numero},
                      {"Escalera", &p.Escalera},
                      {"Piso", &p.Piso},
                      {"Puerta", &p.Puerta},
                      {"Provincia (código)", &p.Provincia},
                      {"Municipio (código)", &p.Municipio},
                      {"Código postal", &p.CodigoPostal},
                      {"Teléfono", &p.Telefono}};
    for (Campo& c : campos) {
        c.edit = new QLineEdit(TextoQt(*c.valor));
        forma->addRow(c.etiqueta, c.edit);
    }
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    forma->addRow(botones);
    if (d.exec() != QDialog::Accepted)
        return false;
    for (Campo& c : campos)
        *c.valor = TextoModelo(c.edit->text().trimmed().toUpper());
    const CString sep(kSeparadorNombre, 1);
    p.Nombre = a2.IsEmpty() && n.IsEmpty() ? a1 : a1 + sep + a2 + sep + n;
    return true;
}
