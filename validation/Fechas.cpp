// The dates of a declaration: its accrual period, the earlier declaration's presentation date
// and the signature date.
#include "Modelo/base/Funciones.h"
#include "Modelo/base/Recursos.h"
#include "core/Casillas.h"
#include "core/Errores.h"
#include "core/IdsRecursos.h"
#include "core/ModDoc.h"

#include <cstdlib>

bool MOD_DOC::ValidarFechaDevengo(CListaErrores& errores) {
    const CString formulario = AfxCadena(recurso::CadenaCodigo);
    const CString codigo =
        ValidarFechaDevengo(formulario, "1", GetCasilla(casilla::MesDevengo, pagina::P1),
                            GetCasilla(casilla::AnioDevengo, pagina::P1), "");
    if (!codigo.IsEmpty())
        errores.Add(stError(casilla::AnioDevengo, pagina::P1, codigo, "", ""));
    return true;
}

bool MOD_DOC::ValidarFechaLiquidacion(CListaErrores& errores) {
    const CString presentacion = GetCasilla(casilla::FechaPresentacionAnterior, pagina::P1);
    if (presentacion.IsEmpty())
        return true;
    const COleDateTime fecha = Str2Time(presentacion);
    const int anioPresentacion = std::atoi(fecha.Format("%Y"));
    const int mesPresentacion = std::atoi(fecha.Format("%m"));
    const int anioDevengo = std::atoi(GetCasilla(casilla::AnioDevengo, pagina::P1));
    const int mesDevengo = std::atoi(GetCasilla(casilla::MesDevengo, pagina::P1));
    if (anioPresentacion < anioDevengo ||
        (anioPresentacion == anioDevengo && mesPresentacion < mesDevengo))
        errores.Add(stError(casilla::FechaPresentacionAnterior, pagina::P1,
                            CodigoError(*this, error::PresentacionAntesDevengo), "", ""));
    return true;
}

bool MOD_DOC::ValidarFechaPresentacion(CListaErrores& errores) {
    const CString mes = GetCasilla(casilla::MesDevengo, pagina::P1);
    const CString anio = GetCasilla(casilla::AnioDevengo, pagina::P1);
    const CString diaFirma = GetCasilla(casilla::FirmaDia, pagina::P1);
    const CString mesFirma = MesNumero(GetCasilla(casilla::FirmaMes, pagina::P1));
    const CString anioFirma = GetCasilla(casilla::FirmaAnio, pagina::P1);

    if (!mes.IsEmpty() && !anio.IsEmpty()) {
        const CString codigo =
            ValidarFechaPresentacion("01", mes, anio, diaFirma, mesFirma, anioFirma);
        if (!codigo.IsEmpty())
            errores.Add(stError(casilla::FirmaFecha, pagina::P1, codigo, "", ""));
    }

    const CString presentacion = GetCasilla(casilla::FechaPresentacionAnterior, pagina::P1);
    if (!presentacion.IsEmpty()) {
        const COleDateTime fecha = Str2Time(presentacion);
        if (!ValidarFechaPresentacion(fecha.Format("%d"), fecha.Format("%m"), fecha.Format("%Y"),
                                      diaFirma, mesFirma, anioFirma)
                 .IsEmpty())
            errores.Add(stError(casilla::FechaPresentacionAnterior, pagina::P1,
                                CodigoError(*this, error::PresentacionTrasFirma), "", ""));
    }

    // A signature date that is not a date is left to the checks above; only a real date can
    // lie in the future.
    COleDateTime firma;
    if (firma.SetDate(std::atoi(anioFirma), std::atoi(mesFirma), std::atoi(diaFirma)) &&
        COleDateTime::GetCurrentTime() < firma)
        errores.Add(stError(casilla::FirmaFecha, pagina::P1, CodigoError(*this, error::FirmaFutura),
                            "", ""));
    return true;
}
