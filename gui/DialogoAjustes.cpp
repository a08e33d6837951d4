#include "DialogoAjustes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "render/Pagina.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

DialogoAjustes::DialogoAjustes(CHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setWindowTitle("Ajustes");
    const casos::AjustesNueva a = casos::LeerAjustes(host_);

    presentador_ = new QComboBox;
    presentador_->addItem("(ninguno)");
    presentadores_.emplace_back();
    for (const stInterviniente& p : casos::Intervinientes(host_))
        if (p.CodDeclar.IsEmpty()) {
            presentador_->addItem(TextoQt(p.Nif + " — " + QuitarSep(p.Nombre)));
            presentadores_.emplace_back(p.Nif, p.Nombre);
        }
    int actual = -1;
    for (size_t i = 0; i < presentadores_.size() && actual < 0; ++i)
        if (presentadores_[i] == std::make_pair(a.presentadorNif, a.presentadorNombre))
            actual = int(i);
    // A presenter set before its party was added is kept as it is, not dropped unseen.
    if (actual < 0) {
        presentador_->addItem(TextoQt(a.presentadorNif + " — " + QuitarSep(a.presentadorNombre) +
                                      " (no está en el almacén)"));
        presentadores_.emplace_back(a.presentadorNif, a.presentadorNombre);
        actual = int(presentadores_.size()) - 1;
    }
    presentador_->setCurrentIndex(actual);

    formulario_ = new QComboBox;
    for (const auto& p : host_.Plugins().Plugins())
        formulario_->addItem(TextoQt(p.codigo + " — " + p.titulo), TextoQt(p.codigo));
    formulario_->setCurrentIndex(
        formulario_->findData(TextoQt(casos::FormularioPorDefecto(host_))));
    // The forms' titles are long: the list shows them whole, the box what fits.
    for (QComboBox* c : {presentador_, formulario_}) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(40);
    }
    periodo_ = new QComboBox;
    periodo_->addItems({"El mes anterior", "El mes en curso"});
    periodo_->setCurrentIndex(a.mesEnCurso ? 1 : 0);

    auto* forma = new QFormLayout(this);
    auto* nota = new QLabel("Valores con los que empieza cada declaración nueva.");
    nota->setWordWrap(true);
    forma->addRow(nota);
    forma->addRow("Presentador por defecto", presentador_);
    forma->addRow("Formulario", formulario_);
    forma->addRow("Periodo de devengo", periodo_);
    botones_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(botones_, &QDialogButtonBox::accepted, this, &DialogoAjustes::accept);
    connect(botones_, &QDialogButtonBox::rejected, this, &DialogoAjustes::reject);
    if (host_.BaseDatos().SoloLectura()) {
        botones_->button(QDialogButtonBox::Ok)->setEnabled(false);
        forma->addRow(
            new QLabel("Sólo lectura: " + TextoQt(host_.BaseDatos().MotivoSoloLectura()) + "."));
    }
    forma->addRow(botones_);
}

void DialogoAjustes::accept() {
    casos::AjustesNueva a;
    const auto& p = presentadores_.at(size_t(std::max(0, presentador_->currentIndex())));
    a.presentadorNif = p.first;
    a.presentadorNombre = p.second;
    a.formulario = TextoModelo(formulario_->currentData().toString());
    a.mesEnCurso = periodo_->currentIndex() == 1;
    try {
        casos::GuardarAjustes(host_, a);
    } catch (const std::exception& e) {
        // The dialog stays open with what the person chose: nothing of it was kept.
        AfxMessageBox(CString("No se han guardado los ajustes: ") + e.what(), MB_OK | MB_ICONERROR);
        return;
    }
    QDialog::accept();
}
