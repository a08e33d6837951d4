// The values in which form 863 differs from its sibling. The plug-in sources are compiled once
// per form with this folder on the include path.
#pragma once

#define MOD_DOC CMod863Doc
#define MOD_P1VIEW CMod863P1View
#define MOD_P2VIEW CMod863P2View

namespace formulario {
inline constexpr int kIdBase = 26000; // first resource and control id
inline constexpr const char* kCodigo = "863";
inline constexpr const char* kVersion = "A1";
inline constexpr const char* kTitulo =
    "Autoliquidación del impuesto sobre actos jurídicos documentados: recibos, pagarés, "
    "cheques y otros documentos mercantiles negociados";
inline constexpr const char* kOtroFormularioJustificante = "866";
inline constexpr bool kImportacionDesdePagina1 = true;
// Whether the import takes the (empty) extra step of form 871 after the general boxes.
inline constexpr bool kPasoCasillasLiquidacion = false;
// Whether the rule comparing the earlier declaration's year with the accrual year needs the
// accrual year to be filled.
inline constexpr bool kAnioAnteriorRequiereDevengo = false;
// The printed page 1 labels the taxpayer's name row as a company name alone.
inline constexpr bool kSujetoSoloRazonSocial = false;
// Page 1's month of accrual: whether the box forces upper case and scrolls its text.
inline constexpr bool kMesDevengoMayusculas = true;
inline constexpr bool kMesDevengoAutoscroll = false;
// Whether page 1's edit mode enables the month and year of accrual itself.
inline constexpr bool kEdicionHabilitaDevengo = false;
// Whether leaving page 1's month recomputes the total and saves and reloads the page.
inline constexpr bool kSalidaMesRecalcula = false;
// Position of the total to pay on page 2 (x, y, width, height in dialog units).
inline constexpr int kTotalPagina2[4] = {396, 498, 76, 12};
} // namespace formulario
