// The bitmaps of the form (page backgrounds and button images), linked into the plug-in as
// Windows BMP files.
#pragma once

#include "Formulario.h"
#include "Modelo/Recursos.h"

#include <map>

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

// Every bitmap of the form keyed by its full resource id.
std::map<int, RecursoBitmap> BitmapsDelFormulario();
