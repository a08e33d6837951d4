// Resource ids of the form: the same layout for every form, counted from the form's base id.
// The whole layout is here so that a new resource cannot take an id another already has.
#pragma once

#include "Formulario.h"

namespace recurso {
inline constexpr int FondoPagina1 = formulario::kIdBase + 0;
inline constexpr int PlantillaPagina1 = formulario::kIdBase + 1;
inline constexpr int CadenaCodigo = formulario::kIdBase + 2;
inline constexpr int CadenaVersion = formulario::kIdBase + 3;
inline constexpr int CadenaTitulo = formulario::kIdBase + 4;
inline constexpr int CadenaPeriodo = formulario::kIdBase + 5;
inline constexpr int FondoPagina2 = formulario::kIdBase + 6;
inline constexpr int PlantillaPagina2 = formulario::kIdBase + 7;
// Button images, 8 to 19, are in namespace boton below.
// The pages' drawings for paper: the same pages as their bitmaps, in shapes and text.
inline constexpr int DibujoPagina1 = formulario::kIdBase + 20;
inline constexpr int DibujoPagina2 = formulario::kIdBase + 21;
} // namespace recurso

// Button images; each button has one image per state.
namespace boton {
// Help buttons, 15 x 15.
inline constexpr int AyudaDeshabilitado = formulario::kIdBase + 8;
inline constexpr int AyudaFoco = formulario::kIdBase + 9;
inline constexpr int AyudaNormal = formulario::kIdBase + 10;
inline constexpr int AyudaPulsado = formulario::kIdBase + 11;
// Parties buttons, 19 x 19.
inline constexpr int IntervinientesDeshabilitado = formulario::kIdBase + 12;
inline constexpr int IntervinientesFoco = formulario::kIdBase + 13;
inline constexpr int IntervinientesNormal = formulario::kIdBase + 14;
inline constexpr int IntervinientesPulsado = formulario::kIdBase + 15;
// A spare open-file button, 19 x 19, that no page uses.
inline constexpr int AbrirDeshabilitado = formulario::kIdBase + 16;
inline constexpr int AbrirFoco = formulario::kIdBase + 17;
inline constexpr int AbrirNormal = formulario::kIdBase + 18;
inline constexpr int AbrirPulsado = formulario::kIdBase + 19;
} // namespace boton
