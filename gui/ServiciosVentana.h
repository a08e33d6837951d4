// The host's services in the window: message boxes, the progress of a long task, the file
// dialog, the help window, the clipboard, the month list and the parties dialog.
#pragma once

#include "Host.h"
#include "Modelo/services/Servicios.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QMessageBox;
class QProgressDialog;

class ServiciosVentana : public IServiciosUsuario {
public:
    ServiciosVentana(QWidget* padre, CHost& host);
    ~ServiciosVentana() override;

    int MessageBox(const CString& texto, const CString& titulo, UINT tipo) override;
    void MostrarBarra(bool visible) override;
    void SetTexto(const CString& texto) override;
    void AnimarBarra() override;
    void MostrarErrores(const CListaErrores& errores) override;
    bool ElegirFichero(const CString& filtro, const CString& titulo, CString& ruta) override;
    void MostrarAyuda(const CString& modelo, const CString& pagina, const CString& clave) override;
    void VaciarPortapapeles() override;
    void ListaMeses(CWnd& control) override;
    int DialogoIntervinientes(bool edicion, const CString& modelo,
                              const CString& declaracion) override;

    // Where the findings of a refused data file go: the list of the declaration's tab.
    std::function<void(const CListaErrores&)> alMostrarErrores;

private:
    QPointer<QWidget> padre_;
    CHost& host_;
    QProgressDialog* progreso_ = nullptr;
    long pasos_ = 0;
};

// The standard buttons of the box in Spanish, whatever translation of Qt is found or not.
void BotonesEnCastellano(QMessageBox& caja);

// "Ficheros Txt (*.txt)|*.txt||" as Qt writes a filter: "Ficheros Txt (*.txt)".
QString FiltroQt(const CString& filtro);
