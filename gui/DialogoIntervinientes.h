// The parties dialog of the window: the party store kept through the host's maintenance, and
// the party of each role of the declaration.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Host.h"
#include "Modelo/parties/MantenimientoIntervinientes.h"
#endif

#include <QDialog>

class QTableWidget;
class QLabel;

class DialogoIntervinientes : public QDialog {
    Q_OBJECT
public:
    DialogoIntervinientes(CHost& host, bool edicion, const CString& modelo,
                          const CString& declaracion, QWidget* padre = nullptr);

    QTableWidget* Tabla() const { return tabla_; }

private:
    void Recargar();
    CString Seleccionado() const; // the order number of the chosen row, "" for none
    // Asks for the fields of a party; false when the person cancels.
    bool PedirDatos(stInterviniente& p);
    void Hacer(const std::function<void()>& cambio);

    CHost& host_;
    CMantenimientoIntervinientes m_;
    bool edicion_;
    CString declaracion_;
    QTableWidget* tabla_ = nullptr;
    QLabel* vinculados_ = nullptr;
};
