// The brackets of the tariff in force and the quota of an amount.
#include "Modelo/base/Funciones.h"
#include "core/ModDoc.h"
#include "core/Sql.h"

namespace {
constexpr const char* kTarifaTramos = "TRA";
constexpr const char* kTarifaCuota = "CUO";
constexpr const char* kConceptoTramos = "TRA";

// The desktop-database date literal of a day-first date: month, day, two-digit year.
CString FechaSql(const CString& fecha) {
    return Str2Time(fecha).Format("%m-%d-%y");
}
} // namespace

bool MOD_DOC::GetInformacionTramos(CString fecha, CStringArray& limitesInferiores) {
    const CString sql = CString("SELECT RANGOINI FROM PATARIFA ") + "WHERE CDMODELO = '" +
                        GetCodModelo() + "' " + "AND CDTIPTAF = 'ESCALA' " + "AND CDTARIFA = '" +
                        kTarifaTramos + "' " + "AND #" + FechaSql(fecha) +
                        "# BETWEEN FECDESDE AND FECHASTA " + "ORDER BY NUMORDEN;";
    EjecutaSQL(sql, limitesInferiores);
    return true;
}

double MOD_DOC::GetCuota(double importe, CString fecha) {
    CString importeSql = Double2Currency(importe, 2, false, false);
    importeSql.Replace(",", ".");
    const CString sql = CString("SELECT RANGOINI, PORCENTJ, VIMPORTE FROM PATARIFA ") +
                        "WHERE CDMODELO = '" + GetCodModelo() + "' " + "AND CDTIPTAF = 'ESCALA' " +
                        "AND CDTARIFA = '" + kTarifaCuota + "' " + "AND " + importeSql +
                        " BETWEEN RANGOINI AND RANGOFIN " + "AND #" + FechaSql(fecha) +
                        "# BETWEEN FECDESDE AND FECHASTA";
    CStringArray inferiores, porcentajes, fijos;
    if (!EjecutaSQL(sql, inferiores, porcentajes, fijos) || inferiores.IsEmpty())
        return 0;
    const double r = NumeroC(inferiores[0].view());
    const double p = NumeroC(porcentajes[0].view());
    const double v = NumeroC(fijos[0].view());
    // A bracket starts a cent above the top of the one before (3000.01 after 3000.00), and its
    // per cent is of what exceeds that top: the cent the lower bound skipped is added back.
    const double cuota = p == 0 ? v : v + (importe - r + 0.01) * p * 0.01;
    return Currency2Double(Double2Currency(cuota, 2, true, false));
}

void MOD_DOC::InicializarDatosTramos(CString anio, CStringArray& textos, CStringArray& codigos) {
    const CString sql = CString("SELECT CDFILTRO FROM PACONCOD    WHERE CDCONCEP = '") +
                        kConceptoTramos + "'     AND CDFILTRO <= '" + LiteralSql(anio) +
                        "'   ORDER BY CDFILTRO DESC";
    CStringArray filtros;
    EjecutaSQL(sql, filtros);
    const CString filtro = filtros.IsEmpty() ? CString() : filtros[0];
    IniConceptosUsandoFiltro(codigos, textos, kConceptoTramos, filtro, false, false, true,
                             "CDFILTRO", false);
}
