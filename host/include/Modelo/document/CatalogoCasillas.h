// The box catalogue a form hands the host: which boxes of its working page a person or a
// script may fill, what each one means and the kind of value it holds. The host does not know
// a form's box numbers; it checks the format of every filled box by this table, and the
// program lists it so that a person can read a declaration's boxes.
#pragma once

#include "Modelo/base/CString.h"

// The text of a ticked check box; an unticked one is empty.
inline constexpr const char* kCasillaMarcada = "S";

// The kind of value a box holds, by which the host checks it.
enum class FormatoCasilla {
    Texto,            // free text
    Fija,             // written by the program alone, when a declaration is created
    Cuenta,           // a count of documents: digits, no grouping
    Importe,          // currency text with two decimals, "1.244,50" or "1244,50"
    Total,            // an amount equal to the sum of a run of amount boxes
    Mes,              // a month number "01" to "12"
    MesLetra,         // a month name as GetMesLetra writes it
    Dia,              // a day "01" to "31"
    Anio,             // a year of four digits
    Digitos,          // digits only (a telephone, a presentation number)
    CodigoPostal,     // five digits; the first two are the province of a related box
    Nif,              // an identification number with its check character
    NifInterviniente, // a party's number: the party check reports it with its role
    TipoVia,          // a code of the street-type table
    Provincia,        // a code of the province table
    Municipio,        // a code of the municipality table, within the province of a related box
    Marca,            // "S" when ticked
    Fecha,            // a day-first date, "15/04/2024"
};

struct stCasillaCatalogo {
    int Casilla;
    FormatoCasilla Formato;
    const char* Significado; // Spanish, as a person reads it
    // CodigoPostal, Municipio: the box of the province. Total: the first box of the sum.
    int Relacionada = -1;
    int Cuantas = 0; // Total: how many consecutive boxes are summed
};

// A short Spanish name of the kind, as the program prints it beside a box.
MODELO_API CString NombreFormato(FormatoCasilla formato);

// Currency text with exactly two decimals and at most `maxEnteros` whole digits, grouped by
// dots in threes or not grouped at all, no sign: its value in cents. False for anything else.
MODELO_API bool LeerImporteMoneda(const CString& texto, long long& centimos, int maxEnteros = 15);
