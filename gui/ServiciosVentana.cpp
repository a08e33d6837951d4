#include "ServiciosVentana.h"

#include "DialogoFicheros.h"
#include "DialogoIntervinientes.h"
#include "Modelo/base/Funciones.h"
#include "PaginaWidget.h"
#include "render/Pagina.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>

ServiciosVentana::ServiciosVentana(QWidget* padre, CHost& host) : padre_(padre), host_(host) {}

ServiciosVentana::~ServiciosVentana() {
    delete progreso_;
}

void BotonesEnCastellano(QMessageBox& caja) {
    const std::pair<QMessageBox::StandardButton, const char*> textos[] = {
        {QMessageBox::Yes, "&Sí"},       {QMessageBox::No, "&No"},
        {QMessageBox::Ok, "&Aceptar"},   {QMessageBox::Cancel, "&Cancelar"},
        {QMessageBox::Save, "&Guardar"}, {QMessageBox::Discard, "&Descartar"}};
    for (auto [boton, texto] : textos)
        if (QAbstractButton* b = caja.button(boton))
            b->setText(texto);
}

int ServiciosVentana::MessageBox(const CString& texto, const CString& titulo, UINT tipo) {
    QMessageBox caja(padre_);
    caja.setWindowTitle(TextoQt(titulo));
    CString t = texto;
    t.TrimRight("\n");
    caja.setText(TextoQt(t));
    switch (tipo & 0xF0) {
    case MB_ICONERROR:
        caja.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONWARNING:
        caja.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONQUESTION:
        caja.setIcon(QMessageBox::Question);
        break;
    default:
        caja.setIcon(QMessageBox::Information);
    }
    switch (tipo & 0xF) {
    case MB_YESNO:
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        if (tipo & MB_DEFBUTTON2)
            caja.setDefaultButton(QMessageBox::No);
        break;
    case MB_OKCANCEL:
        caja.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        if (tipo & MB_DEFBUTTON2)
            caja.setDefaultButton(QMessageBox::Cancel);
        break;
    default:
        caja.setStandardButtons(QMessageBox::Ok);
    }
    BotonesEnCastellano(caja);
    const int respuesta = caja.exec();
    switch (tipo & 0xF) {
    case MB_YESNO:
        return respuesta == QMessageBox::Yes ? IDYES : IDNO;
    case MB_OKCANCEL:
        return respuesta == QMessageBox::Ok ? IDOK : IDCANCEL;
    default:
        return IDOK;
    }
}

void ServiciosVentana::MostrarBarra(bool visible) {
    if (!visible) {
        delete progreso_;
        progreso_ = nullptr;
        return;
    }
    if (!progreso_) {
        progreso_ = new QProgressDialog(padre_);
        progreso_->setWindowModality(Qt::WindowModal);
        progreso_->setCancelButton(nullptr);
        progreso_->setRange(0, 0); // the length of the work is not known
        progreso_->setMinimumDuration(300);
    }
    pasos_ = 0;
}

void ServiciosVentana::SetTexto(const CString& texto) {
    if (progreso_)
        progreso_->setLabelText(TextoQt(texto));
}

// The window is redrawn now and then, never so often that it slows the work down.
void ServiciosVentana::AnimarBarra() {
    if (progreso_ && ++pasos_ % 500 == 0) {
        progreso_->setValue(0);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void ServiciosVentana::MostrarErrores(const CListaErrores& errores) {
    if (alMostrarErrores)
        alMostrarErrores(errores);
}

QString FiltroQt(const CString& filtro) {
    const int corte = filtro.Find('|');
    return TextoQt(corte < 0 ? filtro : filtro.Left(corte));
}

bool ServiciosVentana::ElegirFichero(const CString& filtro, const CString& titulo, CString& ruta) {
    const QString elegido = PedirFicheroParaAbrir(padre_, TextoQt(titulo), FiltroQt(filtro));
    if (elegido.isEmpty())
        return false;
    ruta = CString(QFile::encodeName(elegido).toStdString());
    return true;
}

void ServiciosVentana::MostrarAyuda(const CString& modelo, const CString& pagina,
                                    const CString& clave) {
    const CString texto = TextoAyudaBloque(modelo, pagina, clave);
    QMessageBox caja(QMessageBox::Information, "Ayuda",
                     texto.IsEmpty() ? "No hay ayuda para este apartado." : TextoQt(texto),
                     QMessageBox::Ok, padre_);
    BotonesEnCastellano(caja);
    caja.exec();
}

void ServiciosVentana::VaciarPortapapeles() {
    QApplication::clipboard()->clear();
}

// The page decides whether the list drops down (PaginaWidget::ListaMeses).
void ServiciosVentana::ListaMeses(CWnd& control) {
    CGuiaView* vista = control.GetParentView();
    QWidget* w = padre_ && vista
                     ? padre_->findChild<QWidget*>(NombreControl(*vista, control.GetDlgCtrlID()))
                     : nullptr;
    if (auto* pagina = w ? qobject_cast<PaginaWidget*>(w->parentWidget()) : nullptr)
        pagina->ListaMeses(control.GetDlgCtrlID());
}

int ServiciosVentana::DialogoIntervinientes(bool edicion, const CString& modelo,
                                            const CString& declaracion) {
    ::DialogoIntervinientes dialogo(host_, edicion, modelo, declaracion, padre_);
    return dialogo.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
