// The values in which form 871 differs from its sibling. The plug-in sources are compiled once
// per form with this folder on the include path.
#pragma once

#define MOD_DOC CMod871Doc
#define MOD_P1VIEW CMod871P1View
#define MOD_P2VIEW CMod871P2View

namespace formulario {
inline constexpr int kIdBase = 25000; // first resource and control id
inline constexpr const char* kCodigo = "871";
inline constexpr const char* kVersion = "A1";
inline constexpr const char* kTitulo =
    "Autoliquidación del impuesto sobre actos jurídicos documentados de entidades: letras de "
    "cambio, pagarés, cheques y demás documentos mercantiles con función de giro";
inline constexpr const char* kOtroFormularioJustificante = "874";
inline constexpr bool kImportacionDesdePagina1 = false;
// Whether the import takes the (empty) extra step of form 871 after the general boxes.
inline constexpr bool kPasoCasillasLiquidacion = true;
inline constexpr bool kAnioAnteriorRequiereDevengo = true;
inline constexpr bool kSujetoSoloRazonSocial = true;
// Page 1's month of accrual: whether the box forces upper case and scrolls its text.
inline constexpr bool kMesDevengoMayusculas = false;
inline constexpr bool kMesDevengoAutoscroll = true;
// Whether page 1's edit mode enables the month and year of accrual itself.
inline constexpr bool kEdicionHabilitaDevengo = true;
// Whether leaving page 1's month recomputes the total and saves and reloads the page.
inline constexpr bool kSalidaMesRecalcula = true;
// Position of the total to pay on page 2 (x, y, width, height in dialog units).
inline constexpr int kTotalPagina2[4] = {390, 497, 82, 12};
} // namespace formulario
