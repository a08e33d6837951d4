// What an adviser does once a month from the main window: the clients at a glance (a tab), a
// declaration carried over to another period, a correction of a final one, the settings.
#pragma once

#ifndef Q_MOC_RUN
#include "Host.h"
#endif

#include <QDialog>

class QMenu;
class QSpinBox;
class VentanaPrincipal;

// The period of a new declaration, asked with the one a caller proposes.
class DialogoPeriodo : public QDialog {
    Q_OBJECT
public:
    DialogoPeriodo(const QString& titulo, const QString& texto, int mes, int anio,
                   QWidget* parent = nullptr);
    QSpinBox* Mes() const { return mes_; }
    QSpinBox* Anio() const { return anio_; }

private:
    QSpinBox* mes_ = nullptr;
    QSpinBox* anio_ = nullptr;
};

// The declaration the person has at hand: the one of the tab in front, else the list's row;
// "" for none.
CString DeclaracionElegida(VentanaPrincipal& ventana);

// A draft with the chosen declaration's parties and no amounts, for the period asked (the next
// one proposed); opened in its tab.
void DuplicarParaOtroPeriodo(VentanaPrincipal& ventana, CHost& host);
// A complementary or substitutive declaration of the chosen final one, after asking.
void NuevaCorreccion(VentanaPrincipal& ventana, CHost& host, bool complementaria);

// The Clientes tab beside the declarations, and the entries of the menus.
void AnadirAccionesAsesor(VentanaPrincipal& ventana, CHost& host, QMenu* archivo,
                          QMenu* declaracion);
