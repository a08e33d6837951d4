// CGuiaView: the base of a form page view, built from a page template over a background image.
// The view owns the windows of its controls, exchanges their values with the page's boxes and
// sends the controls' notifications to its message map.
#pragma once

#include "Modelo/base/CObject.h"
#include "Modelo/codes/Codigos.h"
#include "Modelo/windows/Controles.h"
#include "Modelo/windows/DataExchange.h"
#include "Modelo/windows/Ventanas.h"

#include <map>
#include <memory>
#include <vector>

class CGuiaDoc;
class CDataExchange;
class CDC;

class MODELO_API CGuiaView : public CWnd {
public:
    DECLARE_DYNAMIC(CGuiaView)
    explicit CGuiaView(UINT idPlantilla, UINT idFondo = 0);
    ~CGuiaView() override;

    UINT GetIdPlantilla() const { return idPlantilla_; }
    UINT GetIdFondo() const { return idFondo_; }
    void SetIdFondo(UINT idBitmap) { idFondo_ = idBitmap; }
    // The page's drawing for paper, the same page as shapes and text, printed instead of the
    // page image when the resource chain has it (a bitmap enlarged to a sheet blurs).
    UINT GetIdDibujoFondo() const { return idDibujoFondo_; }
    void SetIdDibujoFondo(UINT idDibujo) { idDibujoFondo_ = idDibujo; }

    CGuiaDoc* GetDocument() const { return doc_; }
    void SetDocument(CGuiaDoc* doc) { doc_ = doc; }
    // The page index whose boxes the view shows (0 is page 1).
    int GetPagina() const { return pagina_; }
    void SetPagina(int pagina) { pagina_ = pagina; }

    // ----- the window -------------------------------------------------------------------------
    // Creates the windows of every control of the template, at their pixel rectangles, with
    // the template's styles and enabled state, and binds the view's own handles
    // (UpdateData(FALSE)). False when the template is not in the resource chain.
    bool Crear();
    bool Creada() const { return !ventanas_.empty(); }
    const PlantillaDialogo* Plantilla() const;
    // The host's handle of the control of that id, or null.
    CWnd* GetDlgItem(int id) const;
    // Every control, in the template's order (the tab order).
    std::vector<CWnd*> Controles() const;
    // The control that has the focus, or null.
    CWnd* GetFocus() const;
    // Takes the focus out of the view (the window went to the background): the control that
    // had it is told it lost it.
    void QuitarFoco();

    // Exchanges the values with the controls: false when a value was refused.
    bool UpdateData(bool guardar = true);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Sends a notification of a control to the view's message map, as the control itself
    // would. False when no handler took it or when notifications nest too deep (a rule that
    // feeds itself is cut off instead of exhausting the stack).
    bool EnviarNotificacion(int id, UINT codigo);
    int NotificacionesCortadas() const { return cortadas_; }

    // The one observer that mirrors the view on a screen; null for none.
    void SetObservador(IObservadorVista* observador) { observador_ = observador; }
    IObservadorVista* GetObservador() const { return observador_; }

    bool EsSoloLectura() const { return soloLectura_; }

    // ----- operations the host drives; a form's view extends them and calls these first -----
    virtual bool InicializarControles();
    virtual bool InicializarTooltips();
    virtual bool InicializarControlesAyuda();
    virtual bool InicializarControlesValidacion();
    virtual bool CargarDatos();
    virtual bool SalvarDatos();
    // Edit mode gives every control the enabled state of its template; read-only disables every
    // control that shows a box, and no rule enables one again until edit mode returns.
    virtual bool ModoEdicion();
    virtual bool ModoSoloLectura();
    // Focuses the control of the box (the one mapped for validation, else the template's) and
    // scrolls it into sight. False for a box the view does not show.
    virtual bool PosicionarEnCasilla(int casilla);

    // ----- boxes of the view's page to and from the values of its controls ------------------
    bool CargarControlCasilla(int casilla, CString& valor);
    bool SalvarControlCasilla(int casilla, const CString& valor);
    // A check state: "S" is ticked, anything else unticked; unticked saves as "".
    bool CargarControlCasilla(int casilla, int& marca);
    bool SalvarControlCasilla(int casilla, int marca);
    // A date box holds "DD/MM/YYYY", "" for no date.
    bool CargarControlCasilla(int casilla, COleDateTime& fecha);
    bool SalvarControlCasilla(int casilla, const COleDateTime& fecha);
    // Through the picker: an empty box makes an optional picker show no date.
    bool CargarControlCasilla(int casilla, CDateTimeCtrl& selector, COleDateTime& fecha);
    bool SalvarControlCasilla(int casilla, CDateTimeCtrl& selector, COleDateTime& fecha);
    // Through a code table: the control shows the text, the box keeps the code. A code the
    // table lacks is shown and kept as it is, so a load and a save never lose it.
    bool CargarControlCasilla(int casilla, CString& valor, const CStringArray& codigos,
                              const CStringArray& textos);
    bool SalvarControlCasilla(int casilla, const CString& valor, const CStringArray& codigos,
                              const CStringArray& textos);

    // ----- help, validation and enabling ------------------------------------------------------
    void MapearControlAyuda(int casilla, int idControl);
    void MapearControlValidacion(int casilla, int idControl);
    int ControlAyuda(int casilla) const;      // 0 when not mapped
    int ControlValidacion(int casilla) const; // 0 when not mapped
    int CasillaAyuda(int idControl) const;    // -1 when the control maps no box
    const std::map<int, int>& MapaAyuda() const { return ayuda_; }
    const std::map<int, int>& MapaValidacion() const { return validacion_; }
    bool HabilitarControl(int idControl);
    bool InhabilitarControl(int idControl);

    // The host's help on a block of a page, and the month drop list under an edit.
    void AbrirAyudaBloque(const CString& modelo, const CString& pagina, const CString& clave);
    void ActivarDropListMeses(CWnd* control);

    CToolTipCtrl& GetToolTip() { return tooltip_; }
    const CToolTipCtrl& GetToolTip() const { return tooltip_; }

    // ----- the printed codes and the data-protection texts ----------------------------------
    // The PDF417 of the document's payload of page index `pagina`, and the Code 128 of the
    // declaration code, into a picture static. False, with the static cleared, when there is
    // no document or nothing that can be encoded.
    bool CargarCodigoPuntos(CStatic& estatico, int pagina);
    bool CargarCodigoBarras(CStatic& estatico);
    bool CargarCodigoPuntos(int idControl, int pagina);
    bool CargarCodigoBarras(int idControl);
    const stImagenCodigo* ImagenControl(int idControl) const;
    bool Cargar_Titulos_LOPD_Vistas(int idTitulo1, int idTitulo2, int idTexto);

    // ----- printing -----------------------------------------------------------------------------
    // A form's view registers what it prints, in its order: the controls printed with their
    // values, and the statics of its two codes. The base forgets an earlier registration and
    // is false for a view without windows.
    virtual bool InicializarControlesImpresora();
    void CargarControlImpresora(CWnd* control);
    void CargarControlImpresoraCodPuntos(CWnd* control);
    void CargarControlImpresoraCodBarras(CWnd* control);
    // The registered control whose text is the data-protection text, printed wrapped in its
    // box (the other texts are one line each).
    void SetIdTextoLOPD(int idControl) { idTextoLopd_ = idControl; }
    int GetIdTextoLOPD() const { return idTextoLopd_; }
    const std::vector<int>& ControlesImpresora() const { return impresion_; }
    int ControlImpresoraCodPuntos() const { return idCodPuntos_; } // 0 when none
    int ControlImpresoraCodBarras() const { return idCodBarras_; } // 0 when none

    // Prints the page on a device: `escalaX` and `escalaY` are device pixels per page pixel,
    // the device's viewport origin is the page's top left. The base prints the page image, the
    // draft label of a draft, every registered control at its scaled place with its value, the
    // two codes rendered for the device, and the caption of the copy being printed. A code
    // that cannot be drawn leaves its reason in GetErrorImpresion(), and the document stops
    // the job: a sheet must not go out without the code a reader expects on it.
    virtual void ImprimirVista(CDC* dc, double escalaX, double escalaY);
    // The caption of a copy kind (nothing for 0, a page printed once without kinds) and the
    // label that marks a draft on every sheet it prints.
    virtual void ImprimirRotuloEjemplar(CDC* dc, int ejemplar, double escalaX, double escalaY);
    virtual void ImprimirRotuloBorrador(CDC* dc, double escalaX, double escalaY);
    // The copy kind the page is being printed for; set by the document before ImprimirVista.
    void SetEjemplarImpresion(int ejemplar) { ejemplar_ = ejemplar; }
    int GetEjemplarImpresion() const { return ejemplar_; }
    CString GetErrorImpresion() const { return errorImpresion_; }

    // ----- for the window model ---------------------------------------------------------------
    void Notificar(int idControl, CambioVentana cambio);
    // An edit's text changed: EN_CHANGE now, or, while the view shows its values, once every
    // value is shown, so that a rule run by the change reads the whole page and not half of it.
    void TextoCambiado(int idControl);
    void FijarFoco(EstadoVentana* ventana);
    EstadoVentana* VentanaConFoco() const { return foco_; }

protected:
    UINT idPlantilla_;
    UINT idFondo_ = 0;
    UINT idDibujoFondo_ = 0;
    CGuiaDoc* doc_ = nullptr;
    int pagina_ = 0;
    bool soloLectura_ = false;

private:
    CWnd* Control(int id) const;
    const ControlPlantilla* ControlDeCasilla(int casilla) const;

    std::vector<std::unique_ptr<EstadoVentana>> ventanas_;
    std::vector<std::unique_ptr<CWnd>> handles_; // the host's handle of each window
    std::map<int, size_t> porId_;
    EstadoVentana* foco_ = nullptr;
    IObservadorVista* observador_ = nullptr;
    std::map<int, int> ayuda_, validacion_;
    CToolTipCtrl tooltip_;
    int profundidad_ = 0;
    int cortadas_ = 0;
    int intercambios_ = 0;
    std::vector<int> cambiosPendientes_;
    std::vector<int> impresion_;
    int idCodPuntos_ = 0, idCodBarras_ = 0, idTextoLopd_ = 0;
    int ejemplar_ = 0;
    CString errorImpresion_;
};

// Opens the view of a page exactly as every face of the host does: the document's view of the
// page type, the windows of its template, InicializarControles, InicializarTooltips,
// InicializarControlesAyuda, InicializarControlesValidacion, CargarDatos, then the edit mode
// for a declaration that may change and the read-only mode otherwise. Null, with the reason in
// `error`, when a step fails. `soloLectura` opens it read-only whatever the declaration allows:
// the edit mode applies the page's rules (a total summed again, rows emptied), and a page
// opened to be printed must show the stored boxes as they are, as its code carries them.
MODELO_API std::unique_ptr<CGuiaView> AbrirVistaPagina(CGuiaDoc& doc, int pagina, CString& error,
                                                       bool soloLectura = false);
