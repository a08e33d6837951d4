// One row of the liquidation data file, and the columns it is cut at.
#pragma once

#include "Modelo/base/CString.h"

#include <cstddef>
#include <string_view>

struct stRegistroDeclarado {
    CString CodigoModelo;
    CString AnioDevengo;
    CString MesDevengo;
    CString NifDeclarante;
    CString NifTercero;
    CString NombreTercero;
    CString TipoDocumento;
    CString DescripcionOtros;
    CString Referencia;
    CString Importe; // 13 digits of units and 2 of cents
    CString Resto;   // whatever follows the amount: must be empty
    int NumFila = 0; // counting non-blank lines from 1
};

// The blanks a field loses: the month and the free texts lose their padding; the codes, the
// NIFs and the amount are checked as written.
enum class Recorte { Ninguno, Ambos, Izquierda };

struct stColumnaFichero {
    CString stRegistroDeclarado::*campo;
    size_t desde; // first column, from 0
    size_t largo; // in columns
    Recorte recorte;
};

// The row's layout; the last field runs to the end of the line.
inline constexpr stColumnaFichero kColumnasFichero[] = {
    {&stRegistroDeclarado::CodigoModelo, 0, 3, Recorte::Ninguno},
    {&stRegistroDeclarado::AnioDevengo, 3, 4, Recorte::Ninguno},
    {&stRegistroDeclarado::MesDevengo, 7, 2, Recorte::Ambos},
    {&stRegistroDeclarado::NifDeclarante, 9, 9, Recorte::Ninguno},
    {&stRegistroDeclarado::NifTercero, 18, 9, Recorte::Ninguno},
    {&stRegistroDeclarado::NombreTercero, 27, 49, Recorte::Ambos},
    {&stRegistroDeclarado::TipoDocumento, 76, 1, Recorte::Izquierda},
    {&stRegistroDeclarado::DescripcionOtros, 77, 20, Recorte::Ambos},
    {&stRegistroDeclarado::Referencia, 97, 20, Recorte::Ambos},
    {&stRegistroDeclarado::Importe, 117, 15, Recorte::Ninguno},
    {&stRegistroDeclarado::Resto, 132, std::string_view::npos, Recorte::Ambos},
};
