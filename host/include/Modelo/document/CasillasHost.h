// The boxes where the host finds a declaration's parties: a group of boxes per party, starting
// at the identification number with the name in the next box, the representative's group a
// fixed distance after the taxpayer's, and the presenter at boxes of its own.
#pragma once

namespace casilla_host {
inline constexpr int DesplazamientoRepresentante = 20;
inline constexpr int DesplazamientoNombre = 1;
inline constexpr int PresentadorNif = 140;
inline constexpr int PresentadorNombre = 141;
} // namespace casilla_host
