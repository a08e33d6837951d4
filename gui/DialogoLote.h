// The adviser's month from the window: a folder of the clients' data files and the period, run
// client after client with a bar that can stop between clients, then the table of outcomes.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Lote.h"
#endif

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

class DialogoLote : public QDialog {
    Q_OBJECT
public:
    DialogoLote(CHost& host, QWidget* parent = nullptr);

    QLineEdit* Carpeta() const { return carpeta_; }
    QLineEdit* CarpetaPdf() const { return carpetaPdf_; }
    QSpinBox* Mes() const { return mes_; }
    QSpinBox* Anio() const { return anio_; }
    QCheckBox* Finalizar() const { return finalizar_; }
    QTableWidget* Tabla() const { return tabla_; }
    QLabel* Detalle() const { return detalle_; }
    QProgressBar* Barra() const { return barra_; }
    QPushButton* BotonEjecutar() const { return ejecutar_; }
    QPushButton* BotonCancelar() const { return cancelar_; }
    const std::vector<casos::ResultadoCliente>& Resultados() const { return resultados_; }

    // Runs the folder; the table shows what each file came to.
    void Ejecutar();

signals:
    // A client's declaration was asked for (a double click on its row).
    void abrir(const QString& codigo);

protected:
    void reject() override;

private:
    void Mostrar();
    CHost& host_;
    QLineEdit *carpeta_, *carpetaPdf_;
    QSpinBox *mes_, *anio_;
    QComboBox* formulario_;
    QCheckBox* finalizar_;
    QProgressBar* barra_;
    QLabel *estado_, *detalle_;
    QTableWidget* tabla_;
    QPushButton *ejecutar_, *cancelar_;
    bool enCurso_ = false, cancelado_ = false;
    std::vector<casos::ResultadoCliente> resultados_;
};
