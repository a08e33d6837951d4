// A person's actions on a view: focusing, typing, clicking, picking a date, leaving. Each one
// sends the notifications a screen would send for it, in the same order, so a test, the
// command line and the window drive the page's rules the same way.
#pragma once

#include "Modelo/windows/GuiaView.h"

class MODELO_API CPersona {
public:
    explicit CPersona(CGuiaView& vista) : vista_(vista) {}

    // Clicks into the control (or tabs to it). False when it is disabled, hidden or absent.
    bool Enfocar(int id);
    // Focuses the edit and types the text at its end, one character at a time: a character
    // the control refuses (its kind, its limit) is left out. False when any was left out.
    bool Teclear(int id, const CString& texto);
    // Focuses the edit, selects everything and deletes it (one change when it held text).
    bool Borrar(int id);
    // Replaces the text as typing over the selected text does: the first character replaces
    // it all (one change), the others follow one by one. An empty text deletes it all.
    bool Escribir(int id, const CString& texto);
    // Clicks a button or a check box: it takes the focus, a check box toggles, then the click
    // is notified.
    bool Pulsar(int id);
    // Opens the picker's calendar, picks the date (a null date clears an optional picker) and
    // closes the calendar.
    bool ElegirFecha(int id, const COleDateTime& fecha);
    // Tab: the focus moves to the next enabled, visible control that can take it.
    bool Tabular();
    // The focus leaves the view.
    void Salir();

    // Characters refused since the person began.
    int Rechazados() const { return rechazados_; }

private:
    CWnd* Control(int id) const;
    bool Pulsaciones(int id, const CString& texto, bool sobreSeleccion);
    CGuiaView& vista_;
    int rechazados_ = 0;
};
