// The brackets of the tariff in force and the quota of an amount.
#include "Modelo/base/Funciones.h"
#include "core/ModDoc.h"
#include "core/Sql.h"
#include "tariff/EscalaCuotas.h"

#include "Modelo/store/DialectoSql.h"

#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace {
constexpr const char* kTarifaTramos = "TRA";
constexpr const char* kTarifaCuota = "CUO";
constexpr const char* kConceptoTramos = "TRA";

// The desktop-database date literal of a day-first date: month, day, two-digit year.
CString FechaSql(const CString& fecha) {
    return Str2Time(fecha).Format("%m-%d-%y");
}

// The rows of the form's quota scale in force on a day-first date.
CString CuotasEnVigor(const MOD_DOC& doc, const CString& fecha) {
    return CString("FROM PATARIFA WHERE CDMODELO = '") + doc.GetCodModelo() + "' " +
           "AND CDTIPTAF = 'ESCALA' " + "AND CDTARIFA = '" + kTarifaCuota + "' " + "AND #" +
           FechaSql(fecha) + "# BETWEEN FECDESDE AND FECHASTA";
}
} // namespace

double CuotaDeTramo(double importe, double desde, double porcentaje, double fijo) {
    // A bracket starts a cent above the top of the one before (3000.01 after 3000.00), and its
    // per cent is of what exceeds that top: the cent the lower bound skipped is added back.
    const double cuota =
        porcentaje == 0 ? fijo : fijo + (importe - desde + 0.01) * porcentaje * 0.01;
    return Currency2Double(Double2Currency(cuota, 2, true, false));
}

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
    const CString sql = "SELECT RANGOINI, PORCENTJ, VIMPORTE " + CuotasEnVigor(*this, fecha) +
                        " AND " + importeSql + " BETWEEN RANGOINI AND RANGOFIN";
    CStringArray inferiores, porcentajes, fijos;
    if (!EjecutaSQL(sql, inferiores, porcentajes, fijos) || inferiores.IsEmpty())
        return 0;
    return CuotaDeTramo(importe, NumeroC(inferiores[0].view()), NumeroC(porcentajes[0].view()),
                        NumeroC(fijos[0].view()));
}

namespace {
// Whether the store is asked exactly this amount: the query carries it written with two
// decimals, which reads back as the same number only for a whole number of cents.
bool CentimosExactos(double importe) {
    if (!std::isfinite(importe) || std::fabs(importe) >= 1e13)
        return false;
    return double(std::llround(importe * 100)) / 100 == importe;
}
} // namespace

CEscalaCuotas::CEscalaCuotas(MOD_DOC& doc, const CString& fecha) : doc_(doc), fecha_(fecha) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return;
    const SentenciaSql s = TraducirSqlEscritorio(
        "SELECT typeof(RANGOINI), typeof(RANGOFIN), RANGOINI, RANGOFIN, PORCENTJ, VIMPORTE " +
            CuotasEnVigor(doc, fecha),
        true);
    bool numericos = true;
    try {
        db->Consultar(s.texto, s.parametros, [&](const FilaSql& f) {
            // A text compares with an amount by type, not by value: left to the store.
            numericos = numericos && f.Texto(0) == "real" && f.Texto(1) == "real";
            // Read as the store's answer is read, so the same bracket gives the same quota.
            const Tramo t{NumeroC(f.Texto(2).view()), NumeroC(f.Texto(3).view()),
                          NumeroC(f.Texto(4).view()), NumeroC(f.Texto(5).view())};
            if (t.desde <= t.hasta) // a bracket ending below its start holds no amount
                tramos_.push_back(t);
        });
    } catch (const CExcepcionBD& e) {
        // A statement the store refuses refuses each amount alike; a failure of the database
        // itself is the import's end, as the first amount's query would have been.
        if (e.Fallo() != FalloBD::Sentencia || (e.Codigo() & 0xFF) == SQLITE_NOMEM)
            throw;
        return;
    }
    std::sort(tramos_.begin(), tramos_.end(),
              [](const Tramo& a, const Tramo& b) { return a.desde < b.desde; });
    // Where two brackets hold the same amount the store answers with whichever row it meets
    // first, which depends on its plan.
    bool solapados = false;
    for (size_t i = 1; i < tramos_.size(); ++i)
        solapados = solapados || tramos_[i].desde <= tramos_[i - 1].hasta;
    enMemoria_ = numericos && !solapados;
}

double CEscalaCuotas::Cuota(double importe) const {
    if (!enMemoria_ || !CentimosExactos(importe))
        return doc_.GetCuota(importe, fecha_);
    const auto despues =
        std::upper_bound(tramos_.begin(), tramos_.end(), importe,
                         [](double valor, const Tramo& t) { return valor < t.desde; });
    if (despues == tramos_.begin())
        return 0;
    const Tramo& t = *(despues - 1);
    if (importe > t.hasta)
        return 0;
    return CuotaDeTramo(importe, t.desde, t.porcentaje, t.fijo);
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
