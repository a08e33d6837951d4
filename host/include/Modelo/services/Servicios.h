// What the host offers a person: messages, a progress bar, file choice, help and the error
// list. One interface, three faces: the desktop window, the command line and a recording one
// for tests (ServiciosGrabados.h). The plug-ins reach it only through the framework's functions.
#pragma once

#include "Modelo/base/CString.h"
#include "Modelo/base/Errores.h"

class CWnd;

// Message box types and answers.
enum : UINT {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100, // the second answer (No, Cancel) is the default one
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class MODELO_API IServiciosUsuario {
public:
    virtual ~IServiciosUsuario();
    virtual int MessageBox(const CString& texto, const CString& titulo, UINT tipo) = 0;
    virtual void MostrarBarra(bool visible) = 0;
    virtual void SetTexto(const CString& texto) = 0;
    virtual void AnimarBarra() = 0;
    virtual void MostrarErrores(const CListaErrores& errores) = 0;
    // A file to open: false when the person cancels.
    virtual bool ElegirFichero(const CString& filtro, const CString& titulo, CString& ruta) = 0;
    // The help of a block of a page of a model.
    virtual void MostrarAyuda(const CString& modelo, const CString& pagina,
                              const CString& clave) = 0;
    virtual void VaciarPortapapeles() = 0;
    // Offers the month names under an edit; choosing one types it into the edit.
    virtual void ListaMeses(CWnd& control) = 0;
    // The parties dialog of a declaration: IDOK or IDCANCEL.
    virtual int DialogoIntervinientes(bool edicion, const CString& modelo,
                                      const CString& declaracion) = 0;
};

// The help text of a block, from the database; "" when it has none.
MODELO_API CString TextoAyudaBloque(const CString& modelo, const CString& pagina,
                                    const CString& clave);

// Text on the standard streams: messages and help on stderr, the findings of a refused file on
// stdout; the progress bar only when stderr is a terminal.
class MODELO_API CServiciosConsola : public IServiciosUsuario {
public:
    int MessageBox(const CString& texto, const CString& titulo, UINT tipo) override;
    void MostrarBarra(bool visible) override;
    void SetTexto(const CString& texto) override;
    void AnimarBarra() override;
    void MostrarErrores(const CListaErrores& errores) override;
    // A terminal has no file dialog: it answers with the path the command was given.
    bool ElegirFichero(const CString& filtro, const CString& titulo, CString& ruta) override;
    void MostrarAyuda(const CString& modelo, const CString& pagina, const CString& clave) override;
    // A terminal has neither a clipboard nor drop lists.
    void VaciarPortapapeles() override {}
    void ListaMeses(CWnd&) override {}
    // The party store of a terminal is kept with `modelo parties`: the dialog takes it as it is.
    int DialogoIntervinientes(bool, const CString&, const CString&) override { return IDOK; }

    CString ficheroElegido; // "" answers as a cancelled dialog

private:
    bool barra_ = false;
    CString texto_;
    long pasos_ = 0;
    long long ultimoDibujo_ = 0;
};

// The services in force; the console ones until the host installs others.
MODELO_API IServiciosUsuario& AfxServicios();
MODELO_API void AfxFijarServicios(IServiciosUsuario* servicios); // null restores the default

MODELO_API int AfxMessageBox(const CString& texto, UINT tipo = MB_OK | MB_ICONINFORMATION);

// The progress bar of a long operation, through the services in force.
MODELO_API void MostrarBarra(bool visible);
MODELO_API void SetTexto(const CString& texto);
MODELO_API void AnimarBarra();

// Ids of the host's own strings.
namespace cadena_host {
inline constexpr int FicheroLeido = 1267; // "%1" is the file's path
inline constexpr int TooltipIntervinientes = 57204;
inline constexpr int TooltipAyuda = 57205;
inline constexpr int MaximoCaracteres = 61715; // "%1" is the limit
} // namespace cadena_host
