#include "P2View.h"

#include "core/IdsRecursos.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P2VIEW, CGuiaView)

MOD_P2VIEW::MOD_P2VIEW()
    : VistaCasillas(pagina::P2, recurso::PlantillaPagina2, recurso::FondoPagina2,
                    recurso::DibujoPagina2) {}
