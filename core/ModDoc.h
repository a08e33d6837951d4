// The form document: the declaration of this form as the host sees it.
#pragma once

#include "Formulario.h"
#include "Modelo/document/GuiaDoc.h"
#include "datafile/RegistroDeclarado.h"

class MODELO_PLUGIN_API MOD_DOC : public CGuiaDoc {
    DECLARE_DYNCREATE(MOD_DOC)
    DECLARE_MESSAGE_MAP()

public:
    MOD_DOC();
    ~MOD_DOC() override;

    // Box P1-0 of a new declaration.
    CString CodigoPorDefecto;

    // Per document type (4) and amount bracket (3): the count, the amount sum and the quota
    // sum of the imported documents; per type the three counts come first, then the three
    // amount sums, then the three quota sums.
    static constexpr int kTiposDocumento = 4;
    static constexpr int kTramos = 3;
    double TotalesLiquidacion[kTiposDocumento * 3 * kTramos] = {};

    void Serialize(CArchive& ar) override;
    bool OnNewDocument() override;

    bool CrearEstructPaginas() override;
    bool CrearAnexo() override;
    bool DestruirAnexo() override;
    bool PosibleCrearAnexo() override;
    bool PosibleDestruirAnexo() override;
    bool AsociarTiposEjemplares(stPagina* pagina) override;
    CGuiaView* CrearVistaTipo(CString tipo) override;
    bool CopiarRegistrosAdicionales(CString origen, CString destino) override;

    // ----- parties and replication -----------------------------------------------------------
    bool NuevosDatos(CString codDeclar, CString mes, CString anio, CString reservado) override;
    bool ReplicarDatos() override;
    void LimpiarDatosIntervinientes();
    void InicializarDatosIntervinientes();

    // ----- validation -------------------------------------------------------------------------
    std::span<const stCasillaCatalogo> CatalogoPagina1() const override;
    bool Validar(CListaErrores& errores) override;
    bool ValidarDatosObligatorios(CListaErrores& errores);
    bool ValidarFechaDevengo(CListaErrores& errores);
    bool ValidarFechaLiquidacion(CListaErrores& errores);
    bool ValidarFechaPresentacion(CListaErrores& errores);
    // The host's checks of the same names stay reachable beside the form's.
    using CGuiaDoc::ValidarFechaDevengo;
    using CGuiaDoc::ValidarFechaPresentacion;

    // ----- the liquidation data file ------------------------------------------------------------
    void LimpiarDatosAutoliquidacion();
    // Reads, checks and, when every row passes, takes the file: false when it cannot be opened
    // or is refused. A refused file's findings are handed to the host's error list.
    bool AnalizarFicheroAutoliquidacion(CString ruta);
    // Cuts by byte columns, or by character columns while a UTF-8 file is being imported.
    void ObtenerDatosFila(CString linea, stRegistroDeclarado& fila, int numero);
    // While a file is imported, the line of the file the row being checked stands on (blank
    // lines are not rows, so it may be greater than the row number); 0 otherwise.
    int LineaEnCurso() const { return lineaEnCurso_; }
    void RellenarDatosGenerales(stRegistroDeclarado fila);
    // The extra step form 871 takes after the general boxes; it does nothing.
    void RellenarDatosCasillasLiquidacion();
    // Brings the totals of a taken file into the liquidation table, as typed values.
    void VolcarTotalesEnCasillas();
    void MostrarBarraProgresoFichero(bool mostrar);
    void ActualizarBarraProgresoFichero();
    // True when they appended an error.
    bool ValidarDatosFila1(stRegistroDeclarado fila, CArray<stError, stError>& errores);
    bool ValidarDatosFilaN(stRegistroDeclarado referencia, stRegistroDeclarado fila,
                           CArray<stError, stError>& errores);

    // ----- tariff ------------------------------------------------------------------------------
    // Lower bounds of the classifying brackets in force on a day-first date, in bracket order.
    bool GetInformacionTramos(CString fecha, CStringArray& limitesInferiores);
    // The quota of an amount on a day-first date, in euros rounded to the cent; 0 when no
    // bracket applies.
    double GetCuota(double importe, CString fecha);
    // Has the host load the bracket concepts in force for a four-digit year: their texts into
    // the first list, their codes into the second (the host's own order is codes first).
    void InicializarDatosTramos(CString anio, CStringArray& textos, CStringArray& codigos);
    bool LimpiarRegistrosAdicionales() override;
    bool GuardarRegistrosAdicionales() override;
    bool RestaurarRegistrosAdicionales() override;

    // ----- output codes -------------------------------------------------------------------------
    // The PDF417 payload of a page: the host's prefix alone for any page but page 1.
    CString GenerarCodigoPDF417(int pagina) override;
    using CGuiaDoc::GenerarCodigoPDF417;
    // Appends the taxpayer's and the representative's groups of the page, or nothing when the
    // taxpayer has no NIF.
    void GenerarCodigoPDF417IntervPag(CString& codigo, int pagina);
    // Blanks the counts and amounts of the liquidation table that hold only zero and describes
    // the code of box P1-0; never adds, removes or reorders a record.
    bool RevisarRegRemesa(CString codDeclar, CString tipoPagina, CString reservado,
                          CListaRegRemesa& registros) override;
    bool GenerarAutoliquidacion(CListaErrores& errores, CString& texto,
                                CStringArray& lineas) override;

private:
    bool filasUtf8_ = false;
    int lineaEnCurso_ = 0;
};
