// CGuiaView: the base of a form page view, built from a page template over a background image.
#pragma once

#include "Modelo/CObject.h"
#include "Modelo/Codigos.h"

#include <map>

class CGuiaDoc;

class MODELO_API CGuiaView : public CCmdTarget {
public:
    DECLARE_DYNAMIC(CGuiaView)
    explicit CGuiaView(UINT idPlantilla, UINT idFondo = 0);
    ~CGuiaView() override;

    UINT GetIdPlantilla() const { return idPlantilla_; }
    UINT GetIdFondo() const { return idFondo_; }
    void SetIdFondo(UINT idBitmap) { idFondo_ = idBitmap; }

    CGuiaDoc* GetDocument() const { return doc_; }
    void SetDocument(CGuiaDoc* doc) { doc_ = doc; }

    // Operations the host drives; a form's view extends them and calls these first.
    virtual bool CargarDatos();
    virtual bool SalvarDatos();
    virtual bool ModoEdicion();
    virtual bool ModoSoloLectura();
    virtual bool PosicionarEnCasilla(int casilla);

    // ----- the printed codes ------------------------------------------------------------------
    // Render into a picture control, by its id: the PDF417 of the document's payload of page
    // index `pagina` (the document's GetPaginaPrincipal() is the page that has one), and the
    // Code 128 of the declaration code. False, with the control left without an image, when
    // there is no document or nothing that can be encoded.
    bool CargarCodigoPuntos(int idControl, int pagina);
    bool CargarCodigoBarras(int idControl);
    // The image a picture control shows and prints; null when it has none.
    const stImagenCodigo* ImagenControl(int idControl) const;

protected:
    // A page template names its own background; 0 until the view sets it.
    UINT idPlantilla_;
    UINT idFondo_ = 0;
    CGuiaDoc* doc_ = nullptr;
    bool soloLectura_ = false;

private:
    bool CargarImagen(int idControl, bool correcta, stImagenCodigo imagen);
    std::map<int, stImagenCodigo> imagenes_;
};
