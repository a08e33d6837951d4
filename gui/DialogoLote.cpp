#include "DialogoLote.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "render/Impresion.h"
#include "render/Pagina.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A folder field with its button; the folder dialog shows folders only, so it opens no file
// of the folder the database may live in.
QLineEdit* CampoCarpeta(QWidget* padre, QFormLayout* forma, const QString& etiqueta,
                        const QString& titulo) {
    auto* fila = new QHBoxLayout;
    auto* campo = new QLineEdit(padre);
    auto* boton = new QPushButton("Examinar…", padre);
    fila->addWidget(campo, 1);
    fila->addWidget(boton);
    QObject::connect(boton, &QPushButton::clicked, padre, [padre, campo, titulo] {
        const QString elegida = QFileDialog::getExistingDirectory(
            padre, titulo, campo->text(),
            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (!elegida.isEmpty())
            campo->setText(elegida);
    });
    forma->addRow(etiqueta, fila);
    return campo;
}

QString Hallazgos(const CListaErrores& hallazgos) {
    QStringList lineas;
    for (const stError& e : hallazgos)
        lineas << TextoQt(e.Codigo + "  " + e.Descripcion +
                          (e.Detalle.IsEmpty() ? CString() : " " + e.Detalle));
    return lineas.join('\n');
}

} // namespace

DialogoLote::DialogoLote(CHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setWindowTitle("Lote del mes");
    auto* forma = new QFormLayout;
    carpeta_ = CampoCarpeta(this, forma, "Carpeta de los ficheros:",
                            "Carpeta con un fichero de documentos por cliente");
    // Last month is the one an office files.
    const QDate anterior = QDate::currentDate().addMonths(-1);
    mes_ = new QSpinBox(this);
    mes_->setRange(1, 12);
    mes_->setValue(anterior.month());
    anio_ = new QSpinBox(this);
    anio_->setRange(1900, 9999);
    anio_->setValue(anterior.year());
    auto* periodo = new QHBoxLayout;
    periodo->addWidget(mes_);
    periodo->addWidget(anio_);
    periodo->addStretch();
    forma->addRow("Periodo (mes, año):", periodo);
    formulario_ = new QComboBox(this);
    for (const auto& p : host_.Plugins().Plugins())
        formulario_->addItem(TextoQt(p.codigo + " - " + p.titulo), TextoQt(p.codigo));
    formulario_->setCurrentIndex(std::max(0, formulario_->findData(QString("863"))));
    // A form's title is a long sentence: the combo shows its start, the list and the tip the rest.
    formulario_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    formulario_->setMinimumContentsLength(40);
    formulario_->setToolTip(formulario_->currentText());
    connect(formulario_, &QComboBox::currentTextChanged, formulario_, &QComboBox::setToolTip);
    forma->addRow("Formulario:", formulario_);
    carpetaPdf_ = CampoCarpeta(
        this, forma, "Carpeta de los PDF (opcional):", "Carpeta donde se imprime cada declaración");
    finalizar_ = new QCheckBox("Finalizar las declaraciones sin errores", this);
    forma->addRow(finalizar_);

    barra_ = new QProgressBar(this);
    barra_->setValue(0);
    estado_ = new QLabel(this);
    tabla_ = new QTableWidget(0, 8, this);
    tabla_->setHorizontalHeaderLabels(
        {"Fichero", "NIF", "Nombre", "Declaración", "Documentos", "Total", "Errores", "Estado"});
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->verticalHeader()->hide();
    tabla_->horizontalHeader()->setStretchLastSection(true);
    connect(tabla_, &QTableWidget::cellDoubleClicked, this, [this](int fila, int) {
        const QString codigo = tabla_->item(fila, 3)->text();
        if (codigo.isEmpty() || enCurso_)
            return;
        emit abrir(codigo);
        accept();
    });

    // The findings of the row at hand, in full.
    detalle_ = new QLabel(this);
    detalle_->setWordWrap(true);
    detalle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(tabla_, &QTableWidget::currentCellChanged, this, [this](int fila) {
        detalle_->setText(fila >= 0 && fila < int(resultados_.size())
                              ? Hallazgos(resultados_[size_t(fila)].hallazgos)
                              : QString());
    });

    ejecutar_ = new QPushButton("Ejecutar", this);
    cancelar_ = new QPushButton("Detener", this);
    cancelar_->setEnabled(false);
    auto* botones = new QDialogButtonBox(this);
    botones->addButton("Cerrar", QDialogButtonBox::RejectRole);
    botones->addButton(ejecutar_, QDialogButtonBox::ActionRole);
    botones->addButton(cancelar_, QDialogButtonBox::ActionRole);
    connect(botones, &QDialogButtonBox::rejected, this, &DialogoLote::reject);
    connect(ejecutar_, &QPushButton::clicked, this, &DialogoLote::Ejecutar);
    connect(cancelar_, &QPushButton::clicked, this, [this] { cancelado_ = true; });

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    todo->addWidget(barra_);
    todo->addWidget(estado_);
    todo->addWidget(tabla_, 1);
    todo->addWidget(detalle_);
    todo->addWidget(botones);
    resize(900, 520);
}

// Closing in the middle of a client would leave this dialog gone under the running loop: it
// stops the run after the client at hand instead.
void DialogoLote::reject() {
    if (enCurso_) {
        cancelado_ = true;
        return;
    }
    QDialog::reject();
}

void DialogoLote::Ejecutar() {
    if (enCurso_)
        return;
    casos::OpcionesLote o;
    o.carpeta = TextoModelo(carpeta_->text());
    o.carpetaPdf = TextoModelo(carpetaPdf_->text());
    o.formulario = TextoModelo(formulario_->currentData().toString());
    o.mes = CString::Formatted("%02d", mes_->value());
    o.anio = CString::Formatted("%04d", anio_->value());
    o.finalizar = finalizar_->isChecked();
    enCurso_ = true;
    cancelado_ = false;
    ejecutar_->setEnabled(false);
    cancelar_->setEnabled(true);
    resultados_.clear();
    Mostrar();
    try {
        resultados_ = casos::EjecutarLote(
            host_, o,
            [](CGuiaDoc& doc, std::string& pdf, CString& error) {
                return ImprimirPDF(doc, pdf, error);
            },
            [this](size_t i, size_t n, const CString& fichero) {
                barra_->setMaximum(int(n));
                barra_->setValue(int(i));
                estado_->setText(
                    i < n ? QString("Cliente %1 de %2: %3").arg(i + 1).arg(n).arg(TextoQt(fichero))
                          : QString("Hecho: %1 ficheros.").arg(n));
                // The only moment a click on Detener can be seen: between two clients.
                QCoreApplication::processEvents();
                return !cancelado_;
            });
        if (cancelado_)
            estado_->setText(QString("Detenido: %1 ficheros hechos.").arg(resultados_.size()));
    } catch (const std::exception& e) {
        estado_->setText("No se ha ejecutado el lote.");
        AfxMessageBox(CString("No se ha ejecutado el lote: ") + e.what(), MB_OK | MB_ICONERROR);
    }
    enCurso_ = false;
    ejecutar_->setEnabled(true);
    cancelar_->setEnabled(false);
    Mostrar();
}

void DialogoLote::Mostrar() {
    tabla_->setRowCount(int(resultados_.size()));
    for (int f = 0; f < int(resultados_.size()); ++f) {
        const casos::ResultadoCliente& r = resultados_[size_t(f)];
        const QStringList celdas = {TextoQt(r.fichero),
                                    TextoQt(r.nif),
                                    TextoQt(r.nombre),
                                    TextoQt(r.codigo),
                                    QString::number(r.documentos),
                                    TextoQt(r.total),
                                    QString::number(r.hallazgos.GetSize()),
                                    TextoQt(r.estado)};
        for (int c = 0; c < celdas.size(); ++c) {
            auto* item = new QTableWidgetItem(celdas[c]);
            if (c == 4 || c == 5 || c == 6)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The findings themselves, where the pointer rests on the row.
            if (!r.hallazgos.IsEmpty())
                item->setToolTip(Hallazgos(r.hallazgos));
            if (!r.Limpio())
                item->setForeground(QColor(0x8a, 0x1c, 0x00));
            tabla_->setItem(f, c, item);
        }
    }
    tabla_->resizeColumnsToContents();
}
