// The host's services as a test answers them: everything the host asks to show is kept, and
// each question is answered as told. A month chosen from the list is typed into the page's edit,
// so this face sits with the windows it types into.
#pragma once

#include "Modelo/services/Servicios.h"

#include <vector>

// Keeps everything it is asked to show, for tests; answers as told.
class MODELO_API CServiciosGrabados : public IServiciosUsuario {
public:
    struct Mensaje {
        CString texto, titulo;
        UINT tipo;
    };
    std::vector<Mensaje> mensajes;
    std::vector<CString> textosBarra;
    std::vector<CString> ayudas;          // "model/page/key"
    std::vector<CString> ficherosPedidos; // "filter|title"
    int portapapelesVaciados = 0;
    std::vector<int> listasMeses; // control ids
    CString mesElegido;           // typed into the edit when a month list opens; "" for none
    std::vector<CString> dialogosIntervinientes; // "edit|model|declaration"
    int respuestaIntervinientes = IDOK;
    std::vector<CListaErrores> listasErrores;
    int barraVisible = 0; // times shown minus times hidden
    int animaciones = 0;
    int respuesta = IDOK;
    CString ficheroElegido; // "" answers as a cancelled file chooser

    int MessageBox(const CString& texto, const CString& titulo, UINT tipo) override;
    void MostrarBarra(bool visible) override;
    void SetTexto(const CString& texto) override { textosBarra.push_back(texto); }
    void AnimarBarra() override { ++animaciones; }
    void MostrarErrores(const CListaErrores& errores) override { listasErrores.push_back(errores); }
    bool ElegirFichero(const CString& filtro, const CString& titulo, CString& ruta) override;
    void MostrarAyuda(const CString& modelo, const CString& pagina, const CString& clave) override {
        ayudas.push_back(modelo + "/" + pagina + "/" + clave);
    }
    void VaciarPortapapeles() override { ++portapapelesVaciados; }
    void ListaMeses(CWnd& control) override;
    int DialogoIntervinientes(bool edicion, const CString& modelo,
                              const CString& declaracion) override;
};
