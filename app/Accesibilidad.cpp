#include "Accesibilidad.h"

#include "Modelo/document/GuiaDoc.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/windows/GuiaView.h"

namespace {

CString CasillaYSignificado(const CGuiaDoc* doc, int casilla) {
    const stCasillaCatalogo* e = doc ? doc->EntradaCatalogo(casilla) : nullptr;
    CString nombre = CString::Formatted("Casilla %d", casilla);
    if (e && e->Significado)
        nombre += CString(". ") + e->Significado;
    return nombre;
}

// A bar code has one row repeated; a stacked code (PDF417) has rows of its own.
bool EsCodigoDeBarras(const stImagenCodigo& imagen) {
    for (int y = 1; y < imagen.Alto; ++y)
        for (int x = 0; x < imagen.Ancho; ++x)
            if (imagen.Negro(x, y) != imagen.Negro(x, 0))
                return false;
    return true;
}

} // namespace

stNombreAccesible NombreAccesible(const CGuiaView& vista, int idControl) {
    const PlantillaDialogo* plantilla = vista.Plantilla();
    const ControlPlantilla* c = plantilla ? plantilla->Control(idControl) : nullptr;
    CWnd* w = vista.GetDlgItem(idControl);
    CGuiaDoc* doc = vista.GetDocument();
    if (!c || !w)
        return {};
    if (c->casilla >= 0) {
        const stCasillaCatalogo* e = doc ? doc->EntradaCatalogo(c->casilla) : nullptr;
        CString descripcion = doc ? doc->GetAyuda(c->casilla) : CString();
        if (e) {
            const CString formato = "Formato: " + NombreFormato(e->Formato) + ".";
            descripcion = descripcion.IsEmpty() ? formato : descripcion + " " + formato;
        }
        return {CasillaYSignificado(doc, c->casilla), descripcion};
    }
    if (c->accion != AccionBoton::Ninguna) {
        // The same words as the button's tip, and the row it serves, so that two buttons of
        // one kind are told apart.
        const CString accion =
            AfxCadena(c->accion == AccionBoton::Ayuda ? cadena_host::TooltipAyuda
                                                      : cadena_host::TooltipIntervinientes);
        return {accion + CString::Formatted(", casilla %d", c->casillaFila),
                accion + ": " + CasillaYSignificado(doc, c->casillaFila)};
    }
    if (const stImagenCodigo* imagen = vista.ImagenControl(idControl); imagen && !imagen->IsEmpty())
        return EsCodigoDeBarras(*imagen)
                   ? stNombreAccesible{"Código de barras de la declaración",
                                       "El número de justificante en código de barras."}
                   : stNombreAccesible{"Código PDF417 de la declaración",
                                       "Los datos de la página en un código bidimensional."};
    return {w->GetWindowText(), CString()};
}
