// The clients of the office by the months of a year: a glance shows which month still lacks its
// declaration; a cell opens that declaration, or creates it for that client after asking.
#pragma once

#ifndef Q_MOC_RUN
#include "Clientes.h"
#endif

#include <QWidget>
#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

class VistaClientes : public QWidget {
    Q_OBJECT
public:
    // `abrir` opens a stored declaration in the window.
    VistaClientes(CHost& host, std::function<void(const CString&)> abrir,
                  QWidget* parent = nullptr);

    void Recargar();
    // The cell of a client's month: opens its declaration, or offers to create it.
    void Elegir(int fila, int columna);

    QTableWidget* Tabla() const { return tabla_; }
    QComboBox* Formulario() const { return formulario_; }
    QSpinBox* Anio() const { return anio_; }
    QLineEdit* Busqueda() const { return busqueda_; }
    static constexpr int kPrimerMes = 2; // the columns before the months: number and name

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    // Hundreds of clients: only the rows whose number or name hold the text.
    void Filtrar();
    CHost& host_;
    std::function<void(const CString&)> abrir_;
    QComboBox* formulario_ = nullptr;
    QSpinBox* anio_ = nullptr;
    QLineEdit* busqueda_ = nullptr;
    QTableWidget* tabla_ = nullptr;
    std::vector<casos::Cliente> clientes_;
};
