// The box catalogue of page 1 the document hands the host: the boxes a person or a script may
// fill, with their meaning and format, and the boxes the program writes itself. The host checks
// every filled box by it, and the program prints it.
#pragma once

#include "Casillas.h"
#include "Modelo/CatalogoCasillas.h"

#include <array>

namespace catalogo {

using F = FormatoCasilla;

// The fourteen boxes of a party group, from its first box, in box order.
struct EntradaGrupo {
    int desplazamiento;
    F formato;
};
inline constexpr EntradaGrupo kGrupo[casilla::grupo::Tamano] = {
    {casilla::grupo::Nif, F::NifInterviniente}, {casilla::grupo::Apellido1, F::Texto},
    {casilla::grupo::Apellido2, F::Texto},      {casilla::grupo::Nombre, F::Texto},
    {casilla::grupo::TipoVia, F::TipoVia},      {casilla::grupo::NombreVia, F::Texto},
    {casilla::grupo::Numero, F::Texto},         {casilla::grupo::Escalera, F::Texto},
    {casilla::grupo::Piso, F::Texto},           {casilla::grupo::Puerta, F::Texto},
    {casilla::grupo::Telefono, F::Digitos},     {casilla::grupo::Provincia, F::Provincia},
    {casilla::grupo::Municipio, F::Municipio},  {casilla::grupo::CodigoPostal, F::CodigoPostal},
};

// Each party's meanings are spelt out whole, so the table is plain data a person can read.
inline constexpr const char* kSujeto[casilla::grupo::Tamano] = {
    "Sujeto pasivo: NIF",
    "Sujeto pasivo: primer apellido o razón social",
    "Sujeto pasivo: segundo apellido",
    "Sujeto pasivo: nombre",
    "Sujeto pasivo: tipo de vía",
    "Sujeto pasivo: nombre de la vía",
    "Sujeto pasivo: número",
    "Sujeto pasivo: escalera",
    "Sujeto pasivo: piso",
    "Sujeto pasivo: puerta",
    "Sujeto pasivo: teléfono",
    "Sujeto pasivo: provincia",
    "Sujeto pasivo: municipio",
    "Sujeto pasivo: código postal",
};
inline constexpr const char* kRepresentante[casilla::grupo::Tamano] = {
    "Representante: NIF",
    "Representante: primer apellido o razón social",
    "Representante: segundo apellido",
    "Representante: nombre",
    "Representante: tipo de vía",
    "Representante: nombre de la vía",
    "Representante: número",
    "Representante: escalera",
    "Representante: piso",
    "Representante: puerta",
    "Representante: teléfono",
    "Representante: provincia",
    "Representante: municipio",
    "Representante: código postal",
};

inline constexpr const char* kNumero[casilla::FilasLiquidacion] = {
    "Número de recibos", "Número de pagarés", "Número de cheques", "Número de otros documentos"};
inline constexpr const char* kBase[casilla::FilasLiquidacion] = {
    "Base imponible de los recibos", "Base imponible de los pagarés",
    "Base imponible de los cheques", "Base imponible de otros documentos"};
inline constexpr const char* kCuota[casilla::FilasLiquidacion] = {
    "Cuota de los recibos", "Cuota de los pagarés", "Cuota de los cheques",
    "Cuota de otros documentos"};

constexpr void Grupo(auto& t, size_t& n, int inicio,
                     const char* const (&significados)[casilla::grupo::Tamano]) {
    for (const EntradaGrupo& g : kGrupo) {
        const bool relacionada = g.formato == F::Municipio || g.formato == F::CodigoPostal;
        t[n++] = {inicio + g.desplazamiento, g.formato, significados[g.desplazamiento],
                  relacionada ? inicio + casilla::grupo::Provincia : -1, 0};
    }
}

inline constexpr size_t kEntradas =
    3 + 2 * casilla::grupo::Tamano + 1 + 6 + 3 * casilla::FilasLiquidacion + 1 + 1 + 8;

// In box order, which is the order the program lists them in.
constexpr std::array<stCasillaCatalogo, kEntradas> Construir() {
    using namespace casilla;
    std::array<stCasillaCatalogo, kEntradas> t{};
    size_t n = 0;
    t[n++] = {CodigoP0, F::Fija, "Código de la autoliquidación (000: ordinaria)"};
    t[n++] = {MesDevengo, F::Mes, "Mes de devengo"};
    t[n++] = {AnioDevengo, F::Anio, "Año de devengo"};
    Grupo(t, n, SujetoPasivo, kSujeto);
    t[n++] = {NifDeclaranteFichero, F::Nif, "NIF del declarante leído del fichero de datos"};
    Grupo(t, n, Representante, kRepresentante);
    t[n++] = {Complementaria, F::Marca, "Declaración complementaria"};
    t[n++] = {Sustitutiva, F::Marca, "Declaración sustitutiva"};
    t[n++] = {JustificanteAnterior, F::Texto, "Declaración anterior: número de justificante"};
    t[n++] = {FechaPresentacionAnterior, F::Fecha, "Declaración anterior: fecha de presentación"};
    t[n++] = {AnioAnterior, F::Anio, "Declaración anterior: año"};
    t[n++] = {NumeroPresentacionAnterior, F::Digitos,
              "Declaración anterior: número de presentación"};
    for (int i = 0; i < FilasLiquidacion; ++i)
        t[n++] = {NumeroDocumentos + i, F::Cuenta, kNumero[i]};
    for (int i = 0; i < FilasLiquidacion; ++i)
        t[n++] = {Base + i, F::Importe, kBase[i]};
    for (int i = 0; i < FilasLiquidacion; ++i)
        t[n++] = {Cuota + i, F::Importe, kCuota[i]};
    t[n++] = {TotalIngresar, F::Total, "Total a ingresar (suma de las cuotas)", Cuota,
              FilasLiquidacion};
    t[n++] = {MarcaT, F::Fija, "Marca T de la declaración"};
    t[n++] = {PresentadorNif, F::NifInterviniente, "Presentador: NIF"};
    t[n++] = {PresentadorNombre, F::Texto, "Presentador: nombre"};
    t[n++] = {PresentadorTelefono, F::Digitos, "Presentador: teléfono"};
    t[n++] = {FirmaDia, F::Dia, "Fecha de firma: día"};
    t[n++] = {FirmaMes, F::MesLetra, "Fecha de firma: mes en letra"};
    t[n++] = {FirmaAnio, F::Anio, "Fecha de firma: año"};
    t[n++] = {FirmaFecha, F::Fecha, "Fecha de firma"};
    t[n++] = {LugarFirma, F::Texto, "Lugar de firma"};
    return n == kEntradas ? t : throw "the size of the catalogue is counted wrong";
}

inline constexpr std::array<stCasillaCatalogo, kEntradas> kPagina1 = Construir();

} // namespace catalogo
