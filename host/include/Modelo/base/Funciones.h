// The framework's free helpers: currency text, dates and month names, padding, party names.
#pragma once

#include "Modelo/base/COleDateTime.h"
#include "Modelo/base/CString.h"

#include <string_view>

// ----- currency text ------------------------------------------------------------------------
// "1.244,50": a comma before the decimals and, with `agrupar`, dots grouping the thousands.
// Rounds half away from zero on the decimal value the double stands for, so 1.005 gives
// "1,01" and 14.999999999 gives "15,00". With `vacioSiCero` a value that rounds to zero gives
// "" instead of "0,00".
MODELO_API CString Double2Currency(double valor, int decimales, bool agrupar, bool vacioSiCero);
// Reads the currency text back: dots are ignored, the comma is the decimal point. A text that
// is not a number reads as 0.
MODELO_API double Currency2Double(const CString& texto);
// The same reading in whole cents, exact where a double is not (past 2^53 cents): dots are
// ignored, at most two decimals after the comma, at most 15 whole digits, no sign. False for
// anything else.
MODELO_API bool Currency2Centimos(const CString& texto, long long& centimos);
// Cents as grouped currency text with two decimals: 123456 gives "1.234,56".
MODELO_API CString Centimos2Currency(long long centimos);

// The C library's reading of a number: leading blanks skipped, a point before the decimals,
// the longest number at the start; 0 when there is none. Independent of the process locale.
MODELO_API double NumeroC(std::string_view texto);

// ----- dates --------------------------------------------------------------------------------
// Day-first dates: "1/3/2023", "01/03/2023", "01-03-23" (two-digit years in a window around
// the current year), optionally followed by a time. Anything else gives an invalid date.
MODELO_API COleDateTime Str2Time(const CString& texto);
// Month number (1..12) in words, upper case: "ENERO" .. "DICIEMBRE"; "" outside 1..12.
MODELO_API CString GetMesLetra(int mes);
// A month as number ("3", "03") or name ("marzo", "MARZO") to its two digits; "00" when it is
// neither.
MODELO_API CString MesNumero(const CString& texto);
// The four-digit year of a two-digit one, in the window [current year - 50, current + 49].
MODELO_API int AnioDeDosCifras(int yy);

// ----- text ---------------------------------------------------------------------------------
// Pads to `longitud` with `relleno`, on the left unless `izquierda` is false; a longer text is
// returned as it is.
MODELO_API CString Padding(const CString& texto, int longitud, char relleno = '0',
                           bool izquierda = true);
// A person's text as it is quoted in a message line: control characters shown as '?' (they
// could steer a terminal), and a text longer than `maximo` bytes cut at a character boundary
// and marked with "...".
MODELO_API CString CitaBreve(const CString& texto, int maximo = 60);

// ----- party names --------------------------------------------------------------------------
// A natural person's name is stored as first surname, second surname and first name joined by
// this separator.
inline constexpr char kSeparadorNombre = '|';
// Splits a stored name into its three parts; a name without separator is all first part.
MODELO_API void ExtraerCadBD(const CString& nombre, CString& parte1, CString& parte2,
                             CString& parte3);
// The stored name as one plain text: the parts joined by single spaces, empty parts skipped.
MODELO_API CString QuitarSep(const CString& nombre);
// Whether an identification number is a natural person's: a DNI, a NIE (X, Y, Z) or a K, L, M
// number.
MODELO_API bool Tratar_como_NIF(const CString& nif);
// A Spanish identification number with its check character: DNI, NIE, K/L/M numbers and CIF,
// upper case, nine characters. With `soloPersonasFisicas` a CIF is refused.
MODELO_API bool DocumentoIdentificacionValido(const CString& nif, bool soloPersonasFisicas);
