#include "P1View.h"

#include "core/IdsRecursos.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P1VIEW, CGuiaView)

MOD_P1VIEW::MOD_P1VIEW() : CGuiaView(recurso::PlantillaPagina1) {
    SetIdFondo(recurso::FondoPagina1);
}
