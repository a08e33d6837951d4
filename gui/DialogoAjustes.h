// The settings of the window: the default presenter and the other defaults of a new
// declaration, kept in the store where the `config` command keeps them.
#pragma once

#ifndef Q_MOC_RUN
#include "Ajustes.h"
#endif

#include <QDialog>
#include <vector>

class QComboBox;
class QDialogButtonBox;

class DialogoAjustes : public QDialog {
    Q_OBJECT
public:
    explicit DialogoAjustes(CHost& host, QWidget* parent = nullptr);

    QComboBox* Presentador() const { return presentador_; }
    QComboBox* Formulario() const { return formulario_; }
    QComboBox* Periodo() const { return periodo_; }
    QDialogButtonBox* Botones() const { return botones_; }

    void accept() override;

private:
    CHost& host_;
    QComboBox* presentador_ = nullptr;
    QComboBox* formulario_ = nullptr;
    QComboBox* periodo_ = nullptr;
    QDialogButtonBox* botones_ = nullptr;
    // The presenter of each item of the list: number and name as the store keeps them.
    std::vector<std::pair<CString, CString>> presentadores_;
};
