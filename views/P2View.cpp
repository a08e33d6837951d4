#include "P2View.h"

#include "core/IdsRecursos.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P2VIEW, CGuiaView)

MOD_P2VIEW::MOD_P2VIEW() : CGuiaView(recurso::PlantillaPagina2) {
    SetIdFondo(recurso::FondoPagina2);
}
