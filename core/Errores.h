// The form's error codes: the model code followed by a five-digit serial ("863A100008").
#pragma once

#include "Modelo/document/GuiaDoc.h"

namespace error {
inline constexpr int NifSujetoObligatorio = 1;
inline constexpr int NifPresentadorObligatorio = 2;
inline constexpr int FirmaFutura = 4;
inline constexpr int DevengoFichero = 5;
inline constexpr int FicheroVacio = 6;
inline constexpr int DeclaranteFichero = 7;
inline constexpr int TotalVacio = 8;
inline constexpr int AnioAnteriorInvalido = 9;
inline constexpr int DatosAnteriorIncompletos = 10;
inline constexpr int PresentacionTrasFirma = 11;
inline constexpr int PresentacionAntesDevengo = 12;
inline constexpr int JustificanteInvalido = 13;
inline constexpr int AnioAnteriorPosterior = 14;
inline constexpr int JustificanteObligatorio = 15;
// Per row i of the liquidation table (0 receipts .. 3 others): serial + i.
inline constexpr int BaseVacia = 16;
inline constexpr int CuotaVacia = 20;
inline constexpr int BaseCero = 24;
inline constexpr int CuotaCero = 28;
// Rows of the data file.
inline constexpr int FilaModelo = 32;
inline constexpr int FilaAnio = 33;
inline constexpr int FilaAnioDistinto = 34;
inline constexpr int FilaMes = 35;
inline constexpr int FilaMesDistinto = 36;
inline constexpr int FilaNifDeclarante = 37;
inline constexpr int FilaDeclaranteDistinto = 38;
inline constexpr int FilaNifTercero = 39;
inline constexpr int FilaNombreTercero = 40;
inline constexpr int FilaTipoDocumento = 41;
inline constexpr int FilaDescripcionFalta = 42;
inline constexpr int FilaResto = 43;
inline constexpr int FilaImporte = 44;
inline constexpr int FilaTerceroDeclarante = 45;
inline constexpr int FilaDescripcionSobra = 46;
inline constexpr int FilaReferencia = 47;
} // namespace error

inline CString CodigoError(const CGuiaDoc& doc, int serie) {
    return doc.GetCodModelo() + CString::Formatted("%05d", serie);
}
