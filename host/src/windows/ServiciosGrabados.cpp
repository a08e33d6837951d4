#include "Modelo/windows/ServiciosGrabados.h"

#include "Modelo/windows/Ventanas.h"

int CServiciosGrabados::MessageBox(const CString& texto, const CString& titulo, UINT tipo) {
    mensajes.push_back({texto, titulo, tipo});
    return respuesta;
}

void CServiciosGrabados::MostrarBarra(bool visible) {
    barraVisible += visible ? 1 : -1;
}

bool CServiciosGrabados::ElegirFichero(const CString& filtro, const CString& titulo,
                                       CString& ruta) {
    ficherosPedidos.push_back(filtro + "|" + titulo);
    if (ficheroElegido.IsEmpty())
        return false;
    ruta = ficheroElegido;
    return true;
}

void CServiciosGrabados::ListaMeses(CWnd& control) {
    listasMeses.push_back(control.GetDlgCtrlID());
    if (!mesElegido.IsEmpty())
        control.SetWindowText(mesElegido);
}

int CServiciosGrabados::DialogoIntervinientes(bool edicion, const CString& modelo,
                                              const CString& declaracion) {
    dialogosIntervinientes.push_back(CString(edicion ? "1" : "0") + "|" + modelo + "|" +
                                     declaracion);
    return respuestaIntervinientes;
}
