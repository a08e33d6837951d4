// The validation driver and the rules on the data a declaration must hold.
#include "Formulario.h"
#include "core/Casillas.h"
#include "core/Errores.h"
#include "core/IdsRecursos.h"
#include "core/ModDoc.h"

bool MOD_DOC::Validar(CListaErrores& errores) {
    CGuiaDoc::Validar(errores);
    ValidarDatosObligatorios(errores);
    ValidarFechaDevengo(errores);
    ValidarFechaLiquidacion(errores);
    ValidarFechaPresentacion(errores);
    Validar_Intervinientes_Errores_2012(errores, casilla::SujetoPasivo, GetCodDeclar());
    ObtenerDetallesListaErrores(errores);
    return true;
}

bool MOD_DOC::ValidarDatosObligatorios(CListaErrores& errores) {
    using namespace casilla;
    auto P1 = [this](int c) { return GetCasilla(c, pagina::P1); };
    auto Error = [&](int c, int serie) {
        errores.Add(stError(c, pagina::P1, CodigoError(*this, serie), "", ""));
    };

    ValidarObligatorio(errores, SujetoPasivo + grupo::Nif, pagina::P1,
                       CodigoError(*this, error::NifSujetoObligatorio));
    ValidarObligatorio(errores, PresentadorNif, pagina::P1,
                       CodigoError(*this, error::NifPresentadorObligatorio));
    if (P1(TotalIngresar).IsEmpty())
        Error(NumeroDocumentos, error::TotalVacio);

    // Each rule runs over the four rows before the next rule.
    struct Regla {
        int casillaBase, serie;
        bool cero; // compares with "0,00" instead of with ""
    };
    const Regla reglas[] = {{Base, error::BaseVacia, false},
                            {Cuota, error::CuotaVacia, false},
                            {Base, error::BaseCero, true},
                            {Cuota, error::CuotaCero, true}};
    for (const Regla& r : reglas)
        for (int i = 0; i < FilasLiquidacion; ++i) {
            if (P1(NumeroDocumentos + i).IsEmpty())
                continue;
            const CString contenido = P1(r.casillaBase + i);
            if (r.cero ? contenido == valor::kImporteCero : contenido.IsEmpty())
                Error(r.casillaBase + i, r.serie + i);
        }

    const CString anioAnterior = P1(AnioAnterior);
    if (!anioAnterior.IsEmpty()) {
        if (!ValidarFechaString("01", "01", anioAnterior))
            Error(AnioAnterior, error::AnioAnteriorInvalido);
        else if ((!formulario::kAnioAnteriorRequiereDevengo || !P1(AnioDevengo).IsEmpty()) &&
                 anioAnterior > P1(AnioDevengo))
            Error(AnioAnterior, error::AnioAnteriorPosterior);
    }

    const bool refiereAnterior =
        P1(Complementaria) == valor::kMarcado || P1(Sustitutiva) == valor::kMarcado;
    if (refiereAnterior) {
        if (anioAnterior.IsEmpty())
            Error(AnioAnterior, error::DatosAnteriorIncompletos);
        else if (P1(NumeroPresentacionAnterior).IsEmpty())
            Error(NumeroPresentacionAnterior, error::DatosAnteriorIncompletos);
        ValidarObligatorio(errores, JustificanteAnterior, pagina::P1,
                           CodigoError(*this, error::JustificanteObligatorio));
    }

    const CString justificante = P1(JustificanteAnterior);
    const CString propio = GetCodModelo().Left(3);
    if (!justificante.IsEmpty() && !ValidarNumJustificante(propio, justificante) &&
        !ValidarNumJustificante(formulario::kOtroFormularioJustificante, justificante))
        Error(JustificanteAnterior, error::JustificanteInvalido);
    return true;
}
