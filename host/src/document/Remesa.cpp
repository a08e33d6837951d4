// The remittance records of a declaration and the self-assessment the host generates from
// them.
#include "Modelo/document/GuiaDoc.h"

// The records of the boxes of one page, in box order: key the box number, page the page type,
// value the box text. The record of box 0 is always there, first, even when the box is empty,
// because the form describes its code. The first text names the declaration ("" for this
// one); another declaration's code is refused with no records, so a remittance is never
// filed under the wrong code. The second text is the page type ("" for the principal page);
// the third is not used by the host.
bool CGuiaDoc::PrepararRegRemesa(CString codDeclar, CString tipoPagina, CString,
                                 CListaRegRemesa& registros) {
    registros.RemoveAll();
    if (!codDeclar.IsEmpty() && codDeclar != codDeclar_)
        return false;
    int indice = GetPaginaPrincipal();
    if (!tipoPagina.IsEmpty()) {
        indice = -1;
        for (const auto& [i, pagina] : paginas_)
            if (pagina.Tipo == tipoPagina) {
                indice = i;
                break;
            }
        if (indice < 0)
            return false;
    }
    const CString tipo = GetPagina(indice).Tipo;
    registros.Add(stRegRemesa("0", tipo, GetCasilla(0, indice)));
    for (const auto& [clave, valor] : casillas_)
        if (clave.first == indice && clave.second != 0)
            registros.Add(stRegRemesa(CString::Formatted("%d", clave.second), tipo, valor));
    return true;
}

// The self-assessment of a declaration that passes its form's validation: the text is the
// PDF417 payload of its principal page and the lines are its remittance records as the form
// revised them, "key<TAB>value<TAB>description". Findings are appended to the caller's list
// and leave both outputs empty.
bool CGuiaDoc::GenerarAutoliquidacion(CListaErrores& errores, CString& texto,
                                      CStringArray& lineas) {
    texto.Empty();
    lineas.RemoveAll();
    CListaErrores hallazgos;
    Validar(hallazgos);
    errores.Append(hallazgos);
    if (!hallazgos.IsEmpty())
        return false;
    CListaRegRemesa registros;
    if (!PrepararRegRemesa(codDeclar_, "", "", registros) ||
        !RevisarRegRemesa(codDeclar_, "", "", registros))
        return false;
    for (const stRegRemesa& r : registros)
        lineas.Add(r.Clave + "\t" + r.Valor + "\t" + r.DescripcionValor);
    texto = GenerarCodigoPDF417(GetPaginaPrincipal());
    return true;
}
