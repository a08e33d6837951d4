// The program's window: the declarations of every client, and each open declaration in a tab
// of its own.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Host.h"
#endif

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class PestanaDeclaracion;
class VigilanteBaseDatos;

class VentanaPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit VentanaPrincipal(CHost& host, QWidget* parent = nullptr);

    // Opens a stored declaration in its tab (or brings its tab forward); null when it cannot.
    PestanaDeclaracion* Abrir(const CString& codigo);
    PestanaDeclaracion* Actual() const;
    QTableWidget* Lista() const { return lista_; }
    QTabWidget* Pestanas() const { return pestanas_; }
    // Reads the list again from the database, the chosen declaration still chosen.
    void RecargarLista();
    // How often the window looks for another program's change to the database.
    static constexpr int kVigilanciaMs = 1000;
    // Closes a tab, asking first when it has unsaved changes; false when the person kept it.
    bool Cerrar(int indice);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void CrearAcciones();
    void Nueva();
    void AbrirSeleccionada();

public:
    // Deletes the chosen draft, asking first.
    void Eliminar();

private:
    void ActualizarAcciones();
    void Filtrar(const QString& texto);
    // The tab's text and the window's title follow the declaration: its client, whether it
    // has unsaved changes.
    void Rotular(PestanaDeclaracion* p);
    void RotularVentana();
    // The client's name as page 1 of the tab shows it now.
    QString Nombre(PestanaDeclaracion* p);
    // Saves the tab's declaration and says so in the status bar; false when it was not saved.
    bool Guardar(PestanaDeclaracion* p);

    CHost& host_;
    QTabWidget* pestanas_ = nullptr;
    QTableWidget* lista_ = nullptr;
    QLineEdit* busqueda_ = nullptr;
    QPushButton* eliminar_ = nullptr;
    QPushButton* nuevaBoton_ = nullptr;
    VigilanteBaseDatos* vigilante_ = nullptr;
    QAction *nueva_ = nullptr, *guardar_ = nullptr, *deshacer_ = nullptr, *validar_ = nullptr,
            *finalizar_ = nullptr, *importar_ = nullptr, *intervinientes_ = nullptr,
            *cerrar_ = nullptr, *imprimir_ = nullptr, *exportar_ = nullptr, *ampliar_ = nullptr,
            *reducir_ = nullptr, *recargar_ = nullptr;
};
