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
} // namespace codigo_host
