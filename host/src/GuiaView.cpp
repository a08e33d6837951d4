#include "Modelo/GuiaView.h"

#include "Modelo/GuiaDoc.h"
#include "Modelo/Recursos.h"

IMPLEMENT_DYNAMIC(CGuiaView, CCmdTarget)

CGuiaView::CGuiaView(UINT idPlantilla, UINT idFondo)
    : idPlantilla_(idPlantilla), idFondo_(idFondo) {}

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

// ----- the printed codes ---------------------------------------------------------------------

bool CGuiaView::CargarImagen(int idControl, bool correcta, stImagenCodigo imagen) {
    if (!correcta) {
        imagenes_.erase(idControl);
        return false;
    }
    imagenes_[idControl] = std::move(imagen);
    return true;
}

bool CGuiaView::CargarCodigoPuntos(int idControl, int pagina) {
    stImagenCodigo imagen;
    CString error;
    const bool correcta =
        doc_ && GenerarImagenPDF417(doc_->GenerarCodigoPDF417(pagina), imagen, error);
    return CargarImagen(idControl, correcta, std::move(imagen));
}

bool CGuiaView::CargarCodigoBarras(int idControl) {
    stImagenCodigo imagen;
    CString error;
    const bool correcta =
        doc_ && GenerarImagenCode128(doc_->GenerarCodBarras(doc_->GetCodDeclar()), imagen, error);
    return CargarImagen(idControl, correcta, std::move(imagen));
}

const stImagenCodigo* CGuiaView::ImagenControl(int idControl) const {
    auto it = imagenes_.find(idControl);
    return it == imagenes_.end() ? nullptr : &it->second;
}
