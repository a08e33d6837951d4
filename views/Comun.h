// What the two page views share: a party group's controls and values, the layout of its name
// fields, the Courier New code label and the code label's text.
#pragma once

#include "Modelo/GuiaView.h"
#include "core/Casillas.h"

#include <array>

// The fourteen controls of a party group (taxpayer or representative), in box order, with the
// value of each.
struct GrupoInterviniente {
    explicit GrupoInterviniente(int primeraCasilla) : primera(primeraCasilla) {}

    int primera; // box of the identification number
    CEditTrans nif, apellido1, apellido2, nombre, tipoVia, nombreVia, numero, escalera, piso,
        puerta;
    CEditNumber telefono;
    CEditTrans provincia, municipio;
    CEditNumber codigoPostal;
    std::array<CString, casilla::grupo::Tamano> valor;

    CWnd& Control(int item);
    int Casilla(int item) const { return primera + item; }
};

// The template id of the control that shows a box of the view's page.
int IdDeCasilla(const CGuiaView& vista, int casilla);

// Binds every control of the group and exchanges its values.
void IntercambiarGrupo(CDataExchange* pDX, const CGuiaView& vista, GrupoInterviniente& g);

// Loads the group's boxes in the host's order: the identification number, the name layout it
// asks for, the rest as text, province and municipality through the document's code lists.
void CargarGrupo(CGuiaView& vista, GrupoInterviniente& g);
void SalvarGrupo(CGuiaView& vista, GrupoInterviniente& g);

// A natural person's name is shown in three fields, an entity's in one wide field.
void DisponerNombre(GrupoInterviniente& g, const CString& nif);

// The face of the declaration code, on screen and on paper.
inline constexpr const char* kFuenteCodigo = "Courier New";

// Gives the code label a font equal to its own with the code's face.
void FuenteCourier(CWnd& etiqueta, CFont& fuente);

// The label under the bar code shows the declaration code once the declaration has left the
// draft state.
void CargarEtiquetaCodigo(const CGuiaDoc& doc, CString& etiqueta);

// What both page views print on top of the host's page: the declaration code under the bar
// code, where the label shows it on screen, scaled to the device (none on a draft).
void ImprimirVistaConCodigo(CGuiaView& vista, CWnd& etiqueta, CDC* dc, double escalaX,
                            double escalaY);

// Registers the data-protection titles and text for printing, in their order, and tells the
// host which of them is the text.
void RegistrarLopdImpresora(CGuiaView& vista, CStaticTransBold& titulo1, CStaticTransBold& titulo2,
                            CStaticTransBold& texto);
