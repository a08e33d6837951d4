// CGuiaDoc: the document base every form plug-in extends. It holds the declaration's boxes,
// its page table and the host state of the declaration, and gives the base versions of the
// operations through which the host drives a form.
#pragma once

#include "Modelo/base/CObject.h"
#include "Modelo/base/COleDateTime.h"
#include "Modelo/base/Errores.h"
#include "Modelo/document/CatalogoCasillas.h"

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <utility>

class CGuiaView;
class CIntervSet;
class CDC;
struct CPrintInfo;
class CTreeCtrl;

// Printed copies of a page. A page is printed once per copy kind in its list.
enum Ejemplar {
    EjemplarDeclarante = 1,
    EjemplarAdministracion = 2,
    EjemplarEntidadColaboradora = 3,
    EjemplarSujetoPasivo = 10,
};
MODELO_API CString NombreEjemplar(int ejemplar); // the caption printed on that copy

// An entry of the page table.
struct MODELO_API stPagina {
    int Indice = -1;        // page index: 0 is page 1
    CString Tipo;           // the page type text; the key by which views and copies are chosen
    int Orden = 0;          // position of the page among its type, 0 for a page of its own
    bool Principal = false; // the page that carries the declaration (code, barcode, totals)
    CArray<int, int> Ejemplar;

    stPagina() = default;
    stPagina(int indice, CString tipo, int orden, bool principal)
        : Indice(indice), Tipo(std::move(tipo)), Orden(orden), Principal(principal) {}
    void TipoEjemplar(int ejemplar) { Ejemplar.Add(ejemplar); }
};

// A remittance record: one line of what the host files for a declaration.
struct MODELO_API stRegRemesa {
    CString Clave;
    CString Pagina;
    CString Valor;
    CString DescripcionValor;
    bool Modificado = false;
    long Posicion = -1;
    long Longitud = -1;
    CString Formato;

    stRegRemesa() = default;
    stRegRemesa(CString clave, CString pagina = "", CString valor = "",
                CString descripcionValor = "", bool modificado = false, long posicion = -1,
                long longitud = -1, CString formato = "")
        : Clave(std::move(clave)), Pagina(std::move(pagina)), Valor(std::move(valor)),
          DescripcionValor(std::move(descripcionValor)), Modificado(modificado), Posicion(posicion),
          Longitud(longitud), Formato(std::move(formato)) {}
};
using CListaRegRemesa = CArray<stRegRemesa, stRegRemesa>;

// States of a declaration in the host's store.
namespace estado {
inline constexpr const char* Borrador = "0";
inline constexpr const char* Definitiva = "1";
} // namespace estado

class MODELO_API CGuiaDoc : public CDocument {
public:
    DECLARE_DYNAMIC(CGuiaDoc)
    CGuiaDoc();
    ~CGuiaDoc() override;

    // ----- boxes ------------------------------------------------------------------------------
    CString GetCasilla(int casilla, int pagina) const; // "" for a box never written
    void SetCasilla(int casilla, int pagina, const CString& valor);
    // Every box that holds a value, ordered by (page, box).
    const std::map<std::pair<int, int>, CString>& Casillas() const { return casillas_; }
    void VaciarCasillas();

    // ----- pages ------------------------------------------------------------------------------
    bool CrearPagina(int indice, const stPagina& pagina); // false when the index exists
    stPagina GetPagina(int indice) const;                 // a copy; Indice -1 when absent
    bool SetPagina(int indice, const stPagina& pagina);   // false when the index is absent
    int NumPaginas() const { return int(paginas_.size()); }
    // Copies the value of one box from the source page to the target page.
    void ReplicarCasilla(const stPagina& origen, const stPagina& destino, int casilla);

    // ----- host state of the declaration -----------------------------------------------------
    CString GetCodModelo() const { return codModelo_; }
    void SetCodModelo(const CString& codigo) {
        codModelo_ = codigo;
        ayudas_.reset();
    }
    CString GetCodDeclar() const { return codDeclar_; }
    void SetCodDeclar(const CString& codigo) { codDeclar_ = codigo; }
    CString GetEstado() const { return estado_; }
    void SetEstado(const CString& e) { estado_ = e; }
    bool EsModoEdicion() const { return modoEdicion_; }
    void SetModoEdicion(bool edicion) { modoEdicion_ = edicion; }
    // Whether the declaration may still change; off for a final declaration.
    bool PermiteCambios() const { return permiteCambios_; }
    void SetPermiteCambios(bool permite) { permiteCambios_ = permite; }
    // When a box last changed, and when the error list was last brought up to date: the
    // findings are stale while the first is later than the second.
    COleDateTime UltimoCambio() const { return cambio_; }
    COleDateTime UltimaValidacion() const { return error_; }

    // The store's stamp of the declaration: CambioTimeStamp is true when the stored declaration
    // was saved by another window or program since this document read it (or last took the
    // stamp with ActualizarTimeStamp), so rewriting its boxes now would undo that change;
    // ErrorTimeStamp tells the person so. Without a store nothing can change elsewhere.
    bool CambioTimeStamp();
    void ErrorTimeStamp();
    void ActualizarTimeStamp();
    void SetMarcaAlmacen(const CString& marca) { marcaLeida_ = marca; }

    // ----- operations the host drives, in slot order -----------------------------------------
    virtual CString GetTag();
    virtual CString FechaDevengo(); // "01/MM/YYYY" of the stored period, "" when unknown
    virtual bool TieneDatos(int pagina);
    virtual bool ObtenerDetallesListaErrores(CListaErrores& errores);
    virtual bool Validar(CListaErrores& errores);
    virtual bool GenerarAutoliquidacion(CListaErrores& errores, CString& texto,
                                        CStringArray& lineas);
    virtual bool ValidarObligatorio(CListaErrores& errores, int casilla, int pagina,
                                    CString codigo);
    virtual bool ValidarFechaFirma(CListaErrores& errores, int casillaDia, int casillaMes,
                                   int casillaAnio, int pagina, CString codigo);
    virtual bool Imprimir(CDC* dc, CPrintInfo* info);
    virtual bool SalvarDatos();
    virtual bool CargarDatos(CString codDeclar, bool soloLectura, bool nueva);
    // The defaults of a new declaration: its code, the accrual month and year, and a fourth
    // text the host passes empty.
    virtual bool NuevosDatos(CString codDeclar, CString mes, CString anio, CString reservado);
    virtual bool ReplicarDatos();
    virtual bool IniDocumento();
    virtual bool IniAyudas();
    virtual bool IniciarConceptos();
    virtual bool IniMunicipios(CString provincia, bool todos);
    virtual bool CrearEstructPaginas();
    virtual bool CrearAnexo();
    virtual bool DestruirAnexo();
    virtual bool PosibleCrearAnexo();
    virtual bool PosibleDestruirAnexo();
    virtual bool AsociarTiposEjemplares(stPagina* pagina);
    // `codDeclar` "" is this declaration, `tipoPagina` "" its principal page.
    virtual bool PrepararRegRemesa(CString codDeclar, CString tipoPagina, CString reservado,
                                   CListaRegRemesa& registros);
    virtual bool RevisarRegRemesa(CString codDeclar, CString tipoPagina, CString reservado,
                                  CListaRegRemesa& registros);
    virtual bool CancelarCambios();
    virtual CGuiaView* CrearVistaTipo(CString tipo);
    virtual bool GetIdsArbol(CStringArray& ids, CStringArray& textos, CStringArray& padres,
                             CTreeCtrl* arbol);
    virtual CString TraducirTipoPagina(int indice);
    virtual bool IrPaginaCasilla(int casilla, int pagina);
    virtual bool SetCasillaXSD(CString casilla, CString pagina, CString valor);
    virtual bool SetCasillaXSD(CString casilla, int pagina, CString valor);
    virtual bool CargarTablasAuxiliares();
    virtual bool ValidarIntervinientes(CStringArray& errores);
    virtual bool RefCatObligatoria();
    virtual CString GenerarCodigoPDF417(int pagina, int parte);
    virtual CString GenerarCodigoPDF417(int pagina);
    virtual CString GenerarCodigoPDF417();
    virtual CString GenerarCodBarras(CString codigo);
    virtual bool CopiarRegistrosAdicionales(CString origen, CString destino);
    virtual bool LimpiarRegistrosAdicionales();
    virtual bool GuardarRegistrosAdicionales();
    virtual bool RestaurarRegistrosAdicionales();
    virtual bool Validar_Intervinientes_Errores_2012(CListaErrores& errores, int casillaInicial,
                                                     CString codDeclar);
    virtual bool Validar_Establecimientos_Errores_2012(CListaErrores& errores, int casillaInicial,
                                                       CString codDeclar);

    // ----- data -------------------------------------------------------------------------------
    // Runs a statement of the desktop-database dialect on the host's open database and appends
    // each row's first (or first three) columns, as text, to the lists. False when the
    // statement fails (the lists are left as they were); a damaged or unreadable database file
    // raises CExcepcionBD.
    static bool EjecutaSQL(const CString& sql, CStringArray& lista1);
    static bool EjecutaSQL(const CString& sql, CStringArray& lista1, CStringArray& lista2,
                           CStringArray& lista3);
    // Loads the codes and texts of one concept of PACONCOD whose filter column equals (or,
    // with `filtroParcial`, starts with) the filter, in order number order.
    bool IniConceptosUsandoFiltro(CStringArray& codigos, CStringArray& textos,
                                  const CString& concepto, const CString& filtro, bool incluirVacio,
                                  bool ordenarPorTexto, bool vaciarAntes,
                                  const CString& columnaFiltro, bool filtroParcial);

    // ----- parties and dates ------------------------------------------------------------------
    // The default presenter of the host's settings; false when none is set.
    bool VerPresentadorPorDefecto(CString& nif, CString& nombre);
    // Binds a copy of the recordset's current party to the declaration in that role, replacing
    // an earlier binding of the same role.
    bool MeterPresentadorPorDefecto(const CString& codDeclar, const CString& rol,
                                    CIntervSet& registro);
    // Today into three boxes: two-digit day, month in words, four-digit year.
    void InicializarFecha(int casillaDia, int casillaMes, int casillaAnio, int pagina);

    // ----- the box catalogue -----------------------------------------------------------------
    // The boxes of page 1 a person or a script may fill, and the boxes the program writes
    // (CatalogoCasillas.h); the base has none, and then the host checks no format.
    virtual std::span<const stCasillaCatalogo> CatalogoPagina1() const;
    // The entry of a box of page 1; nullptr when the catalogue lacks it.
    const stCasillaCatalogo* EntradaCatalogo(int casilla) const;
    // Appends a finding for every filled box of page 1 whose value is not of the format of
    // its entry, and for a total that is not the sum of its boxes. CGuiaDoc::Validar runs it.
    void ValidarFormatoCasillas(CListaErrores& errores) const;

    // ----- the host's checks ----------------------------------------------------------------
    // Each returns a host error code ("" when acceptable) or a plain answer; none writes a box.
    // Three number texts (day and month of one or two digits, a four-digit year) forming a
    // date of the calendar.
    static bool ValidarFechaString(const CString& dia, const CString& mes, const CString& anio);
    // A receipt number of the form: 13 digits, the first three the form code, a serial that is
    // not zero (the shape of this host's own declaration codes).
    static bool ValidarNumJustificante(const CString& formulario, const CString& numero);
    // A non-empty text of decimal digits only.
    static bool EsNumero(const CString& texto);
    // The check of DocumentoIdentificacionValido (Funciones.h), which the party store below the
    // document uses too; the forms find it here with the document's other checks.
    static bool Es_Documento_Identificacion_Valido(const CString& nif, bool soloPersonasFisicas);
    // The accrual period of a declaration: form code, period type ("1" monthly), month, year
    // and a period value unused by monthly periods. The month is 1 to 12, the year four
    // digits, the period not after the current month nor before the form's first tariff.
    CString ValidarFechaDevengo(const CString& formulario, const CString& tipoPeriodo,
                                const CString& mes, const CString& anio, const CString& valor);
    CString ValidarFechaDevengo(const CString& formulario, const CString& mes, const CString& anio);
    // Two dates as day, month, year texts: the second must be a date not earlier than the
    // first.
    CString ValidarFechaPresentacion(const CString& dia1, const CString& mes1, const CString& anio1,
                                     const CString& dia2, const CString& mes2,
                                     const CString& anio2);

    // ----- the error catalogue ---------------------------------------------------------------
    // The two texts of a code; a code the catalogue lacks gets a text that says so, and false.
    static bool ObtenerDetallesError(const CString& codigo, CString& descripcion, CString& detalle);

    // ----- help ------------------------------------------------------------------------------
    // The help text of a box of this model, from the database; "" when it has none.
    CString GetAyuda(int casilla);

    // ----- the host's stored period of the declaration ---------------------------------------
    void SetPeriodo(const CString& mes, const CString& anio) {
        mes_ = mes;
        anio_ = anio;
    }
    CString GetMesPeriodo() const { return mes_; }
    CString GetAnioPeriodo() const { return anio_; }

    // ----- additional records: free key/value records that travel with a declaration --------
    using RegistrosAdicionales = std::vector<std::pair<CString, CString>>;
    RegistrosAdicionales& Adicionales() { return adicionales_; }

    // ----- barcode, code tables and remittance ------------------------------------------------
    // Delimiters of the PDF417 payload. Each is made only of characters that
    // EliminarCaracteresEspeciales takes out of every value, so no value can pose as one.
    // The prefix, GenerarCodigoPDF417(), is "<" model code ":" declaration code ">".
    static constexpr const char* kSeparadorCampo = "|";
    static constexpr const char* kAperturaTabla = "[";
    static constexpr const char* kSeparadorFila = "][";
    static constexpr const char* kCierreTabla = "]";
    static constexpr const char* kFinCodigo = "~";
    // A value as it may stand in the payload: control characters and the characters of the
    // delimiters and of the prefix's brackets are removed; nothing else changes (no trimming,
    // bytes >= 0x80 are kept as they are, whatever their encoding).
    static CString EliminarCaracteresEspeciales(const CString& valor);
    // The page that carries the declaration's codes: the first page flagged principal, else 0.
    int GetPaginaPrincipal() const;

    // Code tables: parallel lists of codes and texts, read through TraducirCodigo (Codigos.h)
    // and by the views' drop lists. CargarTablasAuxiliares loads street types, provinces and
    // the codes of box 0 of this model; IniMunicipios(province, all) loads the municipalities
    // of one province, named by its code or by its text, or with `all` those of every province
    // under five-digit codes. An unknown province leaves the municipality table empty, never
    // with the previous province's municipalities.
    CStringArray CodTiposVia, TxtTiposVia;
    CStringArray CodProvincias, TxtProvincias;
    CStringArray CodMunicipios, TxtMunicipios;
    CStringArray CodCasilla0, TxtCasilla0;

    // ----- how the host keeps declarations ----------------------------------------------------
    // The host's store installs these so that SalvarDatos, CargarDatos and CancelarCambios act
    // on real storage; without a store they report failure.
    struct Almacen {
        std::function<bool(CGuiaDoc&)> salvar;
        std::function<bool(CGuiaDoc&, const CString& codDeclar)> cargar;
        std::function<bool(const CString& origen, const CString& destino)> copiarAdicionales;
        std::function<CString(const CString& codDeclar)> marca; // "" for an unknown code
    };
    void SetAlmacen(Almacen almacen) { almacen_ = std::move(almacen); }

private:
    std::map<std::pair<int, int>, CString> casillas_;
    std::map<int, stPagina> paginas_;
    CString codModelo_, codDeclar_, estado_ = estado::Borrador;
    // The help texts of the model's boxes, read at the first one asked for: a page asks for
    // all of them as it opens.
    std::optional<std::map<int, CString>> ayudas_;
    CString mes_, anio_;
    bool modoEdicion_ = true;
    bool permiteCambios_ = true;
    COleDateTime cambio_, error_;
    CString marcaLeida_;
    RegistrosAdicionales adicionales_, adicionalesGuardados_;
    Almacen almacen_;
};
