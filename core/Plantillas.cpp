#include "core/Plantillas.h"

#include "Formulario.h"
#include "core/Casillas.h"
#include "core/IdsRecursos.h"

#include <array>
#include <span>

namespace {

using K = ClaseControl;

constexpr unsigned C = ES_CENTRADO;
constexpr unsigned R = ES_DERECHA;
constexpr unsigned U = ES_MAYUSCULAS;
constexpr unsigned A = ES_AUTOSCROLL;
constexpr unsigned CAL = ES_CALENDARIO_DERECHA;
constexpr bool on = true;
constexpr bool off = false;
constexpr int ninguna = -1;

const char* const kFuente = "MS Sans Serif";
constexpr int kPuntos = 8;

constexpr int Id(int offset) {
    return formulario::kIdBase + offset;
}

// One row of a template.
struct Fila {
    int id;
    K clase;
    int x, y, cx, cy;
    unsigned estilos;
    bool habilitado;
    int casilla;
    AccionBoton accion = AccionBoton::Ninguna;
    int casillaFila = ninguna;
};
constexpr AccionBoton Interv = AccionBoton::Intervinientes;
constexpr AccionBoton Ayuda = AccionBoton::Ayuda;

using Controles = std::vector<ControlPlantilla>;

void Anadir(Controles& v, std::span<const Fila> filas) {
    for (const Fila& f : filas)
        v.push_back({f.id, f.clase, f.x, f.y, f.cx, f.cy, f.estilos, f.habilitado, f.casilla,
                     f.accion, f.casillaFila});
}

// Both pages open with the data-protection block and the bar code of the declaration.
constexpr Fila kCabecera[] = {
    {control::TituloLopd1, K::StaticTransBold, 73, 10, 120, 20, 0, on, ninguna},
    {control::TituloLopd2, K::StaticTransBold, 73, 30, 155, 14, 0, on, ninguna},
    {control::TextoLopd, K::StaticTransBold, 40, 71, 463, 41, 0, on, ninguna},
};

constexpr Fila kCodigoBarras[] = {
    {control::CodigoBarras, K::Picture, 311, 178, 185, 24, 0, on, ninguna},
    {control::TextoCodigoBarras, K::StaticTransBold, 311, 202, 185, 10, C, on, ninguna},
};

constexpr Fila kCodigoPuntos[] = {
    {control::CodigoPuntos, K::Picture, 66, 158, 235, 49, 0, on, ninguna},
};

// The month's style on page 1 is a form value (EstilosMesPagina1).
constexpr Fila kDevengo[] = {
    {control::AnioDevengo, K::EditNumber, 388, 161, 34, 12, C | U, on, casilla::AnioDevengo},
    {control::MesDevengo, K::EditNumber, 460, 161, 23, 12, C | U, on, casilla::MesDevengo},
};

constexpr unsigned EstilosMesPagina1() {
    return C | (formulario::kMesDevengoMayusculas ? U : 0) |
           (formulario::kMesDevengoAutoscroll ? A : 0);
}

// A party group (taxpayer or representative) is fourteen boxes on three rows; both groups
// share the columns and differ in their control ids and row positions.
struct CampoGrupo {
    int item; // casilla::grupo offset
    K clase;
    int x, cx;
    unsigned estilos;
    int fila;
};

constexpr std::array<CampoGrupo, casilla::grupo::Tamano> kCamposGrupo = {{
    {casilla::grupo::Nif, K::EditTrans, 65, 52, U, 0},
    {casilla::grupo::Apellido1, K::EditTrans, 134, 115, U, 0},
    {casilla::grupo::Apellido2, K::EditTrans, 253, 119, U, 0},
    {casilla::grupo::Nombre, K::EditTrans, 375, 119, U, 0},
    {casilla::grupo::TipoVia, K::EditTrans, 65, 35, C | U, 1},
    {casilla::grupo::NombreVia, K::EditTrans, 102, 273, U, 1},
    {casilla::grupo::Numero, K::EditTrans, 376, 24, C | U, 1},
    {casilla::grupo::Escalera, K::EditTrans, 402, 15, C | U, 1},
    {casilla::grupo::Piso, K::EditTrans, 418, 16, C | U, 1},
    {casilla::grupo::Puerta, K::EditTrans, 435, 16, C | U, 1},
    {casilla::grupo::Telefono, K::EditNumber, 454, 41, U, 1},
    {casilla::grupo::Provincia, K::EditTrans, 65, 119, U, 2},
    {casilla::grupo::Municipio, K::EditTrans, 186, 258, U, 2},
    {casilla::grupo::CodigoPostal, K::EditNumber, 447, 47, C | U, 2},
}};

struct Grupo {
    int primeraCasilla;
    std::array<int, casilla::grupo::Tamano> offsets; // of the ids, in the order of kCamposGrupo
    std::array<int, 3> filas;                        // y of the three rows
};

constexpr Grupo kSujeto = {casilla::SujetoPasivo,
                           {110, 111, 151, 152, 131, 112, 113, 116, 117, 118, 123, 129, 130, 119},
                           {229, 247, 267}};
constexpr Grupo kRepresentante = {
    casilla::Representante,
    {114, 115, 153, 154, 132, 120, 121, 122, 124, 125, 126, 133, 134, 127},
    {294, 313, 332}};

void AnadirGrupo(Controles& v, const Grupo& g) {
    for (size_t i = 0; i < kCamposGrupo.size(); ++i) {
        const CampoGrupo& c = kCamposGrupo[i];
        v.push_back({Id(g.offsets[i]), c.clase, c.x, g.filas[c.fila], c.cx, 12, c.estilos, off,
                     g.primeraCasilla + c.item});
    }
}

// Each party's block has its help button and, one row lower and further right, the button of
// the parties dialog; both name the block's first box.
void AnadirBotones(Controles& v, int ayuda, int intervinientes, int y, int casilla) {
    v.push_back({ayuda, K::ScrollBitmapButton, 87, y, 12, 11, 0, on, ninguna, Ayuda, casilla});
    v.push_back({intervinientes, K::ScrollBitmapButton, 119, y + 9, 12, 11, 0, on, ninguna, Interv,
                 casilla});
}

constexpr Fila kTipoDeclaracion[] = {
    {control::AyudaTipoDeclaracion, K::ScrollBitmapButton, 253, 349, 12, 11, 0, on, ninguna, Ayuda,
     casilla::Complementaria},
    {control::ChkComplementaria, K::CheckBox, 66, 368, 9, 9, 0, off, casilla::Complementaria},
    {control::ChkSustitutiva, K::CheckBox, 157, 368, 9, 9, 0, off, casilla::Sustitutiva},
    {control::IdJustificante, K::EditTrans, 236, 369, 100, 12, U, off,
     casilla::JustificanteAnterior},
    {control::SelectorFechaPresentacion, K::DateTimeOpt, 338, 369, 55, 11, CAL, off,
     casilla::FechaPresentacionAnterior},
    {control::AnioAnterior, K::EditNumber, 396, 369, 32, 12, C | U, off, casilla::AnioAnterior},
    {control::NumeroPresentacion, K::EditNumber, 447, 369, 48, 12, U, off,
     casilla::NumeroPresentacionAnterior},
};

// Liquidation table: one row per kind of document, columns count, base and quota.
constexpr std::array<int, casilla::FilasLiquidacion> kFilasLiquidacion = {429, 446, 464, 481};

void AnadirLiquidacion(Controles& v) {
    v.push_back({control::AyudaAutoliquidacion, K::ScrollBitmapButton, 72, 413, 12, 11, 0, on,
                 ninguna, Ayuda, casilla::NumeroDocumentos});
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const int y = kFilasLiquidacion[i];
        v.push_back({control::NumDoc + i, K::EditDecNumber, 168, y, 72, 12, R | U, on,
                     casilla::NumeroDocumentos + i});
        v.push_back(
            {control::Base + i, K::EditDecNumber, 246, y, 122, 12, R | U, off, casilla::Base + i});
        v.push_back(
            {control::Cuota + i, K::EditDecNumber, 396, y, 77, 12, R | U, off, casilla::Cuota + i});
    }
}

constexpr Fila kTotal[] = {
    {Id(138), K::EditDecNumber, 396, 498, 77, 12, R | U, off, casilla::TotalIngresar},
};

constexpr Fila kPresentador[] = {
    {Id(139), K::EditTrans, 65, 574, 52, 12, U, off, casilla::PresentadorNif},
    {Id(140), K::EditTrans, 133, 574, 299, 12, U, off, casilla::PresentadorNombre},
    {Id(141), K::EditNumber, 438, 574, 56, 12, U, off, casilla::PresentadorTelefono},
};

constexpr Fila kFirma[] = {
    {Id(142), K::EditTrans, 241, 600, 48, 12, C, off, casilla::LugarFirma},
    {Id(143), K::EditNumber, 306, 600, 21, 12, C | U | A, off, casilla::FirmaDia},
    {Id(144), K::EditTrans, 353, 600, 51, 12, C | U | A, off, casilla::FirmaMes},
    {Id(145), K::EditNumber, 444, 600, 31, 12, C | U | A, off, casilla::FirmaAnio},
};
constexpr Fila kSelectorFechaFirma[] = {
    {control::SelectorFechaFirma, K::DateTimeFixFormat, 480, 600, 14, 11, CAL, on,
     casilla::FirmaFecha},
};

PlantillaDialogo ConstruirPagina1() {
    Controles v;
    Anadir(v, kCabecera);
    Anadir(v, kCodigoPuntos);
    Anadir(v, kDevengo);
    for (ControlPlantilla& c : v)
        if (c.casilla == casilla::MesDevengo)
            c.estilos = EstilosMesPagina1();
    Anadir(v, kCodigoBarras);
    AnadirBotones(v, control::AyudaSujeto, control::IntervSujeto, 218, casilla::SujetoPasivo);
    AnadirGrupo(v, kSujeto);
    AnadirBotones(v, control::AyudaRepresentante, control::IntervRepresentante, 283,
                  casilla::Representante);
    AnadirGrupo(v, kRepresentante);
    Anadir(v, kTipoDeclaracion);
    AnadirLiquidacion(v);
    Anadir(v, kTotal);
    AnadirBotones(v, control::AyudaPresentador, control::IntervPresentador, 563,
                  casilla::PresentadorNif);
    Anadir(v, kPresentador);
    Anadir(v, kFirma);
    Anadir(v, kSelectorFechaFirma);
    return {recurso::PlantillaPagina1, 530, 688, kFuente, kPuntos, std::move(v)};
}

// Page 2 is the payment copy: the same controls as page 1 for the boxes it repeats, read-only.
PlantillaDialogo ConstruirPagina2() {
    Controles v;
    Anadir(v, kCabecera);
    Anadir(v, kDevengo);
    Anadir(v, kCodigoBarras);
    Grupo sujeto = kSujeto;
    sujeto.filas[1] = 248; // the payment copy prints its address row one unit lower
    AnadirGrupo(v, sujeto);
    Fila total = kTotal[0];
    total.x = formulario::kTotalPagina2[0];
    total.y = formulario::kTotalPagina2[1];
    total.cx = formulario::kTotalPagina2[2];
    total.cy = formulario::kTotalPagina2[3];
    Anadir(v, std::span(&total, 1));
    Anadir(v, kPresentador);
    Anadir(v, kFirma);
    for (ControlPlantilla& c : v)
        if (c.casilla != ninguna)
            c.habilitado = false;
    return {recurso::PlantillaPagina2, 524, 688, kFuente, kPuntos, std::move(v)};
}

} // namespace

const PlantillaDialogo& PlantillaPagina1() {
    static const PlantillaDialogo plantilla = ConstruirPagina1();
    return plantilla;
}

const PlantillaDialogo& PlantillaPagina2() {
    static const PlantillaDialogo plantilla = ConstruirPagina2();
    return plantilla;
}
