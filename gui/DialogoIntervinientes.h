// The parties dialog of the window: the party store kept through the host's maintenance, and
// the party of each role of the declaration, chosen from the store.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Host.h"
#include "Modelo/parties/MantenimientoIntervinientes.h"
#endif

#include <QDialog>
#include <array>

class QComboBox;
class QPushButton;
class QTableWidget;

class DialogoIntervinientes : public QDialog {
    Q_OBJECT
public:
    DialogoIntervinientes(CHost& host, bool edicion, const CString& modelo,
                          const CString& declaracion, QWidget* padre = nullptr);

    QTableWidget* Tabla() const { return tabla_; }
    // The picker of a role (Sujeto Pasivo, Representante, Presentador); null for another.
    QComboBox* Selector(const CString& papel) const;

    // The roles' choices are bound on OK, all or none; a refusal keeps the dialog open.
    void accept() override;

private:
    void Recargar();
    void RecargarPapeles();
    CString Seleccionado() const; // the order number of the chosen row, "" for none
    // Asks for the fields of a party until the store would take them; false on cancel.
    bool PedirDatos(stInterviniente& p);
    // Runs a change of the store; false, after telling the person why, when it was refused.
    bool Hacer(const std::function<void()>& cambio);

    // A role's picker holds "" for no party, a free party's order number, or this for the
    // copy bound now when no stored party is the same.
    static constexpr const char* kActual = "*";
    struct Papel {
        const char* nombre;
        QComboBox* selector = nullptr;
        QString inicial = {}; // what the declaration has, in the picker's terms
    };

    CHost& host_;
    CMantenimientoIntervinientes m_;
    bool edicion_;
    CString declaracion_;
    QTableWidget* tabla_ = nullptr;
    QPushButton *corregir_ = nullptr, *quitar_ = nullptr;
    std::array<Papel, 3> papeles_;
};
