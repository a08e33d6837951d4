#include "Modelo/GuiaView.h"

#include "Modelo/GuiaDoc.h"
#include "Modelo/Recursos.h"

IMPLEMENT_DYNAMIC(CGuiaView, CCmdTarget)

CGuiaView::CGuiaView(UINT idPlantilla) : idPlantilla_(idPlantilla) {}

CGuiaView::~CGuiaView() = default;

// A view can only show a page whose template is in the resource chain.
bool CGuiaView::CargarDatos() {
    return doc_ != nullptr && AfxBuscarPlantilla(int(idPlantilla_));
}

bool CGuiaView::SalvarDatos() {
    return doc_ != nullptr && !soloLectura_;
}

bool CGuiaView::ModoEdicion() {
    soloLectura_ = false;
    return true;
}

bool CGuiaView::ModoSoloLectura() {
    soloLectura_ = true;
    return true;
}

bool CGuiaView::PosicionarEnCasilla(int casilla) {
    const PlantillaDialogo* plantilla = AfxBuscarPlantilla(int(idPlantilla_));
    if (!plantilla)
        return false;
    for (const auto& c : plantilla->controles)
        if (c.casilla == casilla)
            return true;
    return false;
}
