// CGuiaView: the base of a form page view, built from a page template over a background image.
#pragma once

#include "Modelo/CObject.h"

class CGuiaDoc;

class MODELO_API CGuiaView : public CCmdTarget {
public:
    DECLARE_DYNAMIC(CGuiaView)
    explicit CGuiaView(UINT idPlantilla);
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

protected:
    // A page template names its own background; 0 until the view sets it.
    UINT idPlantilla_;
    UINT idFondo_ = 0;
    CGuiaDoc* doc_ = nullptr;
    bool soloLectura_ = false;
};
