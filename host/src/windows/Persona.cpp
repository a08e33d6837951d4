#include "Modelo/windows/Persona.h"

#include "windows/EstadoVentana.h"

CWnd* CPersona::Control(int id) const {
    return vista_.GetDlgItem(id);
}

bool CPersona::Enfocar(int id) {
    CWnd* w = Control(id);
    if (!w || !AdmiteFoco(*w->GetSafeHwnd()))
        return false;
    w->SetFocus();
    return w->TieneFoco();
}

bool CPersona::Teclear(int id, const CString& texto) {
    return Enfocar(id) && EsEdicion(Control(id)->GetClase()) && Pulsaciones(id, texto, false);
}

// Each character as a key: a rule run by the previous one may have moved the focus or disabled
// the edit, and then the person's keys go nowhere. With `sobreSeleccion` the first key replaces
// the whole text, as typing over a selection does.
bool CPersona::Pulsaciones(int id, const CString& texto, bool sobreSeleccion) {
    bool todo = true;
    const std::string_view s = texto.view();
    for (size_t i = 0; i < s.size();) {
        const size_t largo = LargoCaracter(s, i);
        CString tecla(std::string(s.substr(i, largo)));
        i += largo;
        CWnd* w = Control(id);
        if (!w->TieneFoco() || !w->IsWindowEnabled()) {
            ++rechazados_;
            todo = false;
            continue;
        }
        auto* edicion = static_cast<CEdit*>(w);
        tecla = edicion->Tecleado(tecla);
        const CString nuevo = sobreSeleccion ? tecla : w->GetWindowText() + tecla;
        if (!edicion->Admite(nuevo)) {
            ++rechazados_;
            todo = false;
            continue;
        }
        sobreSeleccion = false;
        w->SetWindowText(nuevo);
    }
    return todo;
}

bool CPersona::Borrar(int id) {
    if (!Enfocar(id) || !EsEdicion(Control(id)->GetClase()))
        return false;
    Control(id)->SetWindowText("");
    return true;
}

bool CPersona::Escribir(int id, const CString& texto) {
    if (texto.IsEmpty())
        return Borrar(id);
    return Enfocar(id) && EsEdicion(Control(id)->GetClase()) && Pulsaciones(id, texto, true);
}

bool CPersona::Pulsar(int id) {
    CWnd* w = Control(id);
    if (!w || !EsBoton(w->GetClase()) || !Enfocar(id))
        return false;
    if (w->GetClase() == ClaseControl::CheckBox) {
        auto* b = static_cast<CButton*>(w);
        b->SetCheck(b->GetCheck() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    }
    vista_.EnviarNotificacion(id, BN_CLICKED);
    return true;
}

bool CPersona::ElegirFecha(int id, const COleDateTime& fecha) {
    CWnd* w = Control(id);
    if (!w || !EsSelectorFecha(w->GetClase()) || !Enfocar(id))
        return false;
    vista_.EnviarNotificacion(id, DTN_DROPDOWN);
    auto* selector = static_cast<CDateTimeCtrl*>(Control(id));
    const bool hecho = selector->SetTime(fecha);
    if (hecho)
        vista_.EnviarNotificacion(id, DTN_DATETIMECHANGE);
    vista_.EnviarNotificacion(id, DTN_CLOSEUP);
    return hecho;
}

bool CPersona::Tabular() {
    const std::vector<CWnd*> controles = vista_.Controles();
    if (controles.empty())
        return false;
    size_t inicio = 0;
    if (CWnd* foco = vista_.GetFocus())
        for (size_t i = 0; i < controles.size(); ++i)
            if (controles[i] == foco)
                inicio = i + 1;
    for (size_t k = 0; k < controles.size(); ++k) {
        CWnd* w = controles[(inicio + k) % controles.size()];
        if (AdmiteFoco(*w->GetSafeHwnd())) {
            w->SetFocus();
            return true;
        }
    }
    return false;
}

void CPersona::Salir() {
    vista_.QuitarFoco();
}
