// Page 1 in one table: a row per control of the page, in tab order, and a row per box the
// program keeps without a control. Everything else is expanded from it: both page templates
// (page 2 is the rows marked for it), the box catalogue, the boxes replication copies, and what
// the views exchange, load, save, print, tip and map for help and validation. A box is added by
// its row here and its label on the page image (forms/pagegen).
#pragma once

#include "Formulario.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/document/CatalogoCasillas.h"
#include "core/Casillas.h"
#include "core/Plantillas.h"

#include <algorithm>
#include <array>

namespace tabla {

// What a row is besides its control.
enum Marca : unsigned {
    Tip = 1u << 0,     // the control shows the box's help text as its tip
    Pagina2 = 1u << 1, // the payment copy repeats the control, and replication the box
};

struct Fila {
    ControlPlantilla control; // id 0: a box without a control
    FormatoCasilla formato = FormatoCasilla::Texto;
    const char* significado = nullptr; // null: the control shows no box
    unsigned marcas = 0;
    int impresion = 0; // rank among the boxes printed with their values; 0: not printed so
    int longitud = 0;  // most characters the box takes; 0: no limit
    // As the catalogue has them: a municipality's and a postcode's province box; the first of
    // the boxes a total sums, and how many.
    int relacionada = -1;
    int cuantas = 0;

    constexpr int Casilla() const { return control.casilla; }
    constexpr bool EsCasilla() const { return control.casilla >= 0; }
    constexpr bool TieneControl() const { return control.id != 0; }
    constexpr bool EnPagina(int pagina) const {
        return pagina == pagina::P1 ? TieneControl() : (marcas & Pagina2) != 0;
    }
};

// How a box travels between its control and the document, by the kind of its control and value.
enum class Intercambio {
    Texto,
    Marca,         // a check box: "S" or nothing
    FechaOpcional, // a picker that may show no date: an empty box shows none
    Fecha,         // a picker that always shows a date: an empty box leaves it as it is
    Provincia,     // shows the name, keeps the code
    Municipio,     // the same, from the municipalities of the related province
};

constexpr Intercambio IntercambioDe(const Fila& f) {
    switch (f.control.clase) {
    case ClaseControl::CheckBox:
        return Intercambio::Marca;
    case ClaseControl::DateTimeOpt:
        return Intercambio::FechaOpcional;
    case ClaseControl::DateTimeFixFormat:
        return Intercambio::Fecha;
    default:
        break;
    }
    if (f.formato == FormatoCasilla::Provincia)
        return Intercambio::Provincia;
    if (f.formato == FormatoCasilla::Municipio)
        return Intercambio::Municipio;
    return Intercambio::Texto;
}

namespace detalle {

using K = ClaseControl;
using F = FormatoCasilla;
constexpr unsigned C = ES_CENTRADO;
constexpr unsigned R = ES_DERECHA;
constexpr unsigned U = ES_MAYUSCULAS;
constexpr unsigned A = ES_AUTOSCROLL;
constexpr unsigned CAL = ES_CALENDARIO_DERECHA;
constexpr bool on = true;   // enabled as the page opens
constexpr bool off = false; // disabled until a rule or the edit mode enables it
constexpr int ninguna = -1;
constexpr unsigned P2 = Pagina2;
constexpr AccionBoton Interv = AccionBoton::Intervinientes;
constexpr AccionBoton Ayuda = AccionBoton::Ayuda;

constexpr int Id(int desplazamiento) {
    return formulario::kIdBase + desplazamiento;
}

// A control that shows no box.
constexpr Fila Otro(ControlPlantilla control, unsigned marcas = 0) {
    return {control, F::Texto, nullptr, marcas};
}

// A button that serves the row of a box.
constexpr Fila Boton(int id, int x, int y, AccionBoton accion, int casillaFila) {
    return Otro({id, K::ScrollBitmapButton, x, y, 12, 11, 0, on, ninguna, accion, casillaFila});
}

// A box the program keeps without a control: written by the program or read from a data file.
constexpr Fila SinControl(int casilla, F formato, const char* significado) {
    return {{0, K::EditTrans, 0, 0, 0, 0, 0, off, casilla}, formato, significado};
}

// The month's style on page 1 is a value of the form.
constexpr unsigned EstilosMes() {
    return C | (formulario::kMesDevengoMayusculas ? U : 0) |
           (formulario::kMesDevengoAutoscroll ? A : 0);
}

// Columns: {control id, class, x, y, width, height (dialog units), styles, enabled, box},
// format, meaning, marks, print rank, length, related box, boxes summed.
// Print ranks go in tens so that a new box can slip in between.
constexpr auto Construir() {
    using namespace casilla;
    using namespace casilla::grupo;
    constexpr int S = SujetoPasivo;
    constexpr int Rp = Representante;
    // clang-format off
    return std::to_array<Fila>({
    Otro({control::TituloLopd1, K::StaticTransBold, 73, 10, 120, 20, 0, on, ninguna}, P2),
    Otro({control::TituloLopd2, K::StaticTransBold, 73, 30, 155, 14, 0, on, ninguna}, P2),
    Otro({control::TextoLopd, K::StaticTransBold, 40, 71, 463, 41, 0, on, ninguna}, P2),
    Otro({control::CodigoPuntos, K::Picture, 66, 158, 235, 49, 0, on, ninguna}),
    {{control::AnioDevengo, K::EditNumber, 388, 161, 34, 12, C | U, on, AnioDevengo}, F::Anio, "Año de devengo", Tip | P2, 20, formato::LongitudAnio},
    {{control::MesDevengo, K::EditNumber, 460, 161, 23, 12, EstilosMes(), on, MesDevengo}, F::Mes, "Mes de devengo", Tip | P2, 10},
    Otro({control::CodigoBarras, K::Picture, 311, 178, 185, 24, 0, on, ninguna}, P2),
    Otro({control::TextoCodigoBarras, K::StaticTransBold, 311, 202, 185, 10, C, on, ninguna}, P2),

    Boton(control::AyudaSujeto, 87, 218, Ayuda, S),
    Boton(control::IntervSujeto, 119, 227, Interv, S),
    {{Id(110), K::EditTrans, 65, 229, 52, 12, U, off, S + Nif}, F::NifInterviniente, "Sujeto pasivo: NIF", P2, 30},
    {{Id(111), K::EditTrans, 134, 229, 115, 12, U, off, S + Apellido1}, F::Texto, "Sujeto pasivo: primer apellido o razón social", P2, 40},
    {{Id(151), K::EditTrans, 253, 229, 119, 12, U, off, S + Apellido2}, F::Texto, "Sujeto pasivo: segundo apellido", P2, 50},
    {{Id(152), K::EditTrans, 375, 229, 119, 12, U, off, S + Nombre}, F::Texto, "Sujeto pasivo: nombre", P2, 60},
    {{Id(131), K::EditTrans, 65, 247, 35, 12, C | U, off, S + TipoVia}, F::TipoVia, "Sujeto pasivo: tipo de vía", P2, 70},
    {{Id(112), K::EditTrans, 102, 247, 273, 12, U, off, S + NombreVia}, F::Texto, "Sujeto pasivo: nombre de la vía", P2, 80},
    {{Id(113), K::EditTrans, 376, 247, 24, 12, C | U, off, S + Numero}, F::Texto, "Sujeto pasivo: número", P2, 90},
    {{Id(116), K::EditTrans, 402, 247, 15, 12, C | U, off, S + Escalera}, F::Texto, "Sujeto pasivo: escalera", P2, 100},
    {{Id(117), K::EditTrans, 418, 247, 16, 12, C | U, off, S + Piso}, F::Texto, "Sujeto pasivo: piso", P2, 110},
    {{Id(118), K::EditTrans, 435, 247, 16, 12, C | U, off, S + Puerta}, F::Texto, "Sujeto pasivo: puerta", P2, 120},
    {{Id(123), K::EditNumber, 454, 247, 41, 12, U, off, S + Telefono}, F::Digitos, "Sujeto pasivo: teléfono", P2, 130},
    {{Id(129), K::EditTrans, 65, 267, 119, 12, U, off, S + Provincia}, F::Provincia, "Sujeto pasivo: provincia", P2, 140},
    {{Id(130), K::EditTrans, 186, 267, 258, 12, U, off, S + Municipio}, F::Municipio, "Sujeto pasivo: municipio", P2, 150, 0, S + Provincia},
    {{Id(119), K::EditNumber, 447, 267, 47, 12, C | U, off, S + CodigoPostal}, F::CodigoPostal, "Sujeto pasivo: código postal", P2, 160, 0, S + Provincia},

    Boton(control::AyudaRepresentante, 87, 283, Ayuda, Rp),
    Boton(control::IntervRepresentante, 119, 292, Interv, Rp),
    {{Id(114), K::EditTrans, 65, 294, 52, 12, U, off, Rp + Nif}, F::NifInterviniente, "Representante: NIF", 0, 170},
    {{Id(115), K::EditTrans, 134, 294, 115, 12, U, off, Rp + Apellido1}, F::Texto, "Representante: primer apellido o razón social", 0, 180},
    {{Id(153), K::EditTrans, 253, 294, 119, 12, U, off, Rp + Apellido2}, F::Texto, "Representante: segundo apellido", 0, 190},
    {{Id(154), K::EditTrans, 375, 294, 119, 12, U, off, Rp + Nombre}, F::Texto, "Representante: nombre", 0, 200},
    {{Id(132), K::EditTrans, 65, 313, 35, 12, C | U, off, Rp + TipoVia}, F::TipoVia, "Representante: tipo de vía", 0, 210},
    {{Id(120), K::EditTrans, 102, 313, 273, 12, U, off, Rp + NombreVia}, F::Texto, "Representante: nombre de la vía", 0, 220},
    {{Id(121), K::EditTrans, 376, 313, 24, 12, C | U, off, Rp + Numero}, F::Texto, "Representante: número", 0, 230},
    {{Id(122), K::EditTrans, 402, 313, 15, 12, C | U, off, Rp + Escalera}, F::Texto, "Representante: escalera", 0, 240},
    {{Id(124), K::EditTrans, 418, 313, 16, 12, C | U, off, Rp + Piso}, F::Texto, "Representante: piso", 0, 250},
    {{Id(125), K::EditTrans, 435, 313, 16, 12, C | U, off, Rp + Puerta}, F::Texto, "Representante: puerta", 0, 260},
    {{Id(126), K::EditNumber, 454, 313, 41, 12, U, off, Rp + Telefono}, F::Digitos, "Representante: teléfono", 0, 270},
    {{Id(133), K::EditTrans, 65, 332, 119, 12, U, off, Rp + Provincia}, F::Provincia, "Representante: provincia", 0, 280},
    {{Id(134), K::EditTrans, 186, 332, 258, 12, U, off, Rp + Municipio}, F::Municipio, "Representante: municipio", 0, 290, 0, Rp + Provincia},
    {{Id(127), K::EditNumber, 447, 332, 47, 12, C | U, off, Rp + CodigoPostal}, F::CodigoPostal, "Representante: código postal", 0, 300, 0, Rp + Provincia},

    Boton(control::AyudaTipoDeclaracion, 253, 349, Ayuda, Complementaria),
    {{control::ChkComplementaria, K::CheckBox, 66, 368, 9, 9, 0, off, Complementaria}, F::Marca, "Declaración complementaria", Tip, 310},
    {{control::ChkSustitutiva, K::CheckBox, 157, 368, 9, 9, 0, off, Sustitutiva}, F::Marca, "Declaración sustitutiva", Tip, 320},
    {{control::IdJustificante, K::EditTrans, 236, 369, 100, 12, U, off, JustificanteAnterior}, F::Texto, "Declaración anterior: número de justificante", Tip, 330, formato::LongitudJustificante},
    {{control::SelectorFechaPresentacion, K::DateTimeOpt, 338, 369, 55, 11, CAL, off, FechaPresentacionAnterior}, F::Fecha, "Declaración anterior: fecha de presentación", Tip, 340},
    {{control::AnioAnterior, K::EditNumber, 396, 369, 32, 12, C | U, off, AnioAnterior}, F::Anio, "Declaración anterior: año", Tip, 350, formato::LongitudAnio},
    {{control::NumeroPresentacion, K::EditNumber, 447, 369, 48, 12, U, off, NumeroPresentacionAnterior}, F::Digitos, "Declaración anterior: número de presentación", Tip, 360, formato::LongitudNumeroPresentacion},

    // The liquidation table, row by row: count, base, quota.
    Boton(control::AyudaAutoliquidacion, 72, 413, Ayuda, NumeroDocumentos),
    {{control::NumDoc + 0, K::EditDecNumber, 168, 429, 72, 12, R | U, on, NumeroDocumentos + 0}, F::Cuenta, "Número de recibos", Tip, 400},
    {{control::Base + 0, K::EditDecNumber, 246, 429, 122, 12, R | U, off, Base + 0}, F::Importe, "Base imponible de los recibos", Tip, 440},
    {{control::Cuota + 0, K::EditDecNumber, 396, 429, 77, 12, R | U, off, Cuota + 0}, F::Importe, "Cuota de los recibos", Tip, 480},
    {{control::NumDoc + 1, K::EditDecNumber, 168, 446, 72, 12, R | U, on, NumeroDocumentos + 1}, F::Cuenta, "Número de pagarés", Tip, 390},
    {{control::Base + 1, K::EditDecNumber, 246, 446, 122, 12, R | U, off, Base + 1}, F::Importe, "Base imponible de los pagarés", Tip, 430},
    {{control::Cuota + 1, K::EditDecNumber, 396, 446, 77, 12, R | U, off, Cuota + 1}, F::Importe, "Cuota de los pagarés", Tip, 470},
    {{control::NumDoc + 2, K::EditDecNumber, 168, 464, 72, 12, R | U, on, NumeroDocumentos + 2}, F::Cuenta, "Número de cheques", Tip, 370},
    {{control::Base + 2, K::EditDecNumber, 246, 464, 122, 12, R | U, off, Base + 2}, F::Importe, "Base imponible de los cheques", Tip, 410},
    {{control::Cuota + 2, K::EditDecNumber, 396, 464, 77, 12, R | U, off, Cuota + 2}, F::Importe, "Cuota de los cheques", Tip, 450},
    {{control::NumDoc + 3, K::EditDecNumber, 168, 481, 72, 12, R | U, on, NumeroDocumentos + 3}, F::Cuenta, "Número de otros documentos", Tip, 380},
    {{control::Base + 3, K::EditDecNumber, 246, 481, 122, 12, R | U, off, Base + 3}, F::Importe, "Base imponible de otros documentos", Tip, 420},
    {{control::Cuota + 3, K::EditDecNumber, 396, 481, 77, 12, R | U, off, Cuota + 3}, F::Importe, "Cuota de otros documentos", Tip, 460},
    {{Id(138), K::EditDecNumber, 396, 498, 77, 12, R | U, off, TotalIngresar}, F::Total, "Total a ingresar (suma de las cuotas)", P2, 490, 0, Cuota, FilasLiquidacion},

    Boton(control::AyudaPresentador, 87, 563, Ayuda, PresentadorNif),
    Boton(control::IntervPresentador, 119, 572, Interv, PresentadorNif),
    {{Id(139), K::EditTrans, 65, 574, 52, 12, U, off, PresentadorNif}, F::NifInterviniente, "Presentador: NIF", P2, 500},
    {{Id(140), K::EditTrans, 133, 574, 299, 12, U, off, PresentadorNombre}, F::Texto, "Presentador: nombre", P2, 510},
    {{Id(141), K::EditNumber, 438, 574, 56, 12, U, off, PresentadorTelefono}, F::Digitos, "Presentador: teléfono", P2, 520},
    {{Id(142), K::EditTrans, 241, 600, 48, 12, C, off, LugarFirma}, F::Texto, "Lugar de firma", P2, 530},
    {{Id(143), K::EditNumber, 306, 600, 21, 12, C | U | A, off, FirmaDia}, F::Dia, "Fecha de firma: día", P2, 540},
    {{Id(144), K::EditTrans, 353, 600, 51, 12, C | U | A, off, FirmaMes}, F::MesLetra, "Fecha de firma: mes en letra", P2, 550},
    {{Id(145), K::EditNumber, 444, 600, 31, 12, C | U | A, off, FirmaAnio}, F::Anio, "Fecha de firma: año", P2, 560},
    {{control::SelectorFechaFirma, K::DateTimeFixFormat, 480, 600, 14, 11, CAL, on, FirmaFecha}, F::Fecha, "Fecha de firma", Tip},

    SinControl(CodigoP0, F::Fija, "Código de la autoliquidación (000: ordinaria)"),
    SinControl(NifDeclaranteFichero, F::Nif, "NIF del declarante leído del fichero de datos"),
    SinControl(MarcaT, F::Fija, "Marca T de la declaración"),
    });
    // clang-format on
}

} // namespace detalle

inline constexpr auto kPagina1 = detalle::Construir();

} // namespace tabla

namespace casilla {
// The boxes page 2 repeats from page 1, in the order they are copied.
inline constexpr auto kReplicadas = [] {
    constexpr auto replicada = [](const tabla::Fila& f) {
        return f.EsCasilla() && (f.marcas & tabla::Pagina2);
    };
    std::array<int, std::count_if(tabla::kPagina1.begin(), tabla::kPagina1.end(), replicada)> a{};
    size_t i = 0;
    for (const tabla::Fila& f : tabla::kPagina1)
        if (replicada(f))
            a[i++] = f.Casilla();
    return a;
}();
} // namespace casilla
