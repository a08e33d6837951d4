// The host's own error codes. Their texts are in the error catalogue of the database.
#pragma once

namespace codigo_host {
inline constexpr const char* MesDevengo = "MODELO0001";       // month not 01..12
inline constexpr const char* AnioDevengo = "MODELO0002";      // year not four digits
inline constexpr const char* DevengoFuturo = "MODELO0003";    // after the current month
inline constexpr const char* DevengoSinTarifa = "MODELO0004"; // before the first tariff
inline constexpr const char* TipoPeriodo = "MODELO0005";      // a period type not handled
inline constexpr const char* FechaInvalida = "MODELO0006";    // a date that is not one
inline constexpr const char* FechaAnterior = "MODELO0007";    // second date before the first
inline constexpr const char* NifSujeto = "MODELO0010";        // taxpayer NIF not valid
inline constexpr const char* NifRepresentante = "MODELO0011"; // representative NIF not valid
inline constexpr const char* NifPresentador = "MODELO0012";   // presenter NIF not valid
inline constexpr const char* NombreSujeto = "MODELO0013";     // taxpayer NIF without a name
inline constexpr const char* NombreRepresentante = "MODELO0014";
inline constexpr const char* NombrePresentador = "MODELO0015";
// The format of a box against its entry in the form's box catalogue (CatalogoCasillas.h).
inline constexpr const char* FormatoCuenta = "MODELO0016";
inline constexpr const char* FormatoImporte = "MODELO0017";
inline constexpr const char* TotalDistinto = "MODELO0018"; // not the sum of its boxes
inline constexpr const char* FormatoMes = "MODELO0019";
inline constexpr const char* FormatoMesLetra = "MODELO0020";
inline constexpr const char* FormatoDia = "MODELO0021";
inline constexpr const char* FormatoAnio = "MODELO0022";
inline constexpr const char* FormatoDigitos = "MODELO0023";
inline constexpr const char* FormatoCodigoPostal = "MODELO0024";
inline constexpr const char* CodigoPostalProvincia = "MODELO0025";
inline constexpr const char* FormatoNif = "MODELO0026";
inline constexpr const char* TipoViaDesconocido = "MODELO0027";
inline constexpr const char* ProvinciaDesconocida = "MODELO0028";
inline constexpr const char* MunicipioDesconocido = "MODELO0029";
inline constexpr const char* FormatoMarca = "MODELO0030";
inline constexpr const char* FormatoFecha = "MODELO0031";
} // namespace codigo_host
