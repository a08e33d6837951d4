// The page views' own part of printing: the declaration code under the bar code, where the
// label shows it on screen, scaled to the device (none on a draft).
#include "VistaCasillas.h"

#include "Modelo/document/GuiaDoc.h"
#include "Modelo/printing/Impresion.h"

void VistaCasillas::ImprimirVista(CDC* dc, double escalaX, double escalaY) {
    CGuiaView::ImprimirVista(dc, escalaX, escalaY);
    const CGuiaDoc* doc = GetDocument();
    if (dc && doc && doc->GetEstado() != estado::Borrador) {
        CWnd& etiqueta = DeId(control::TextoCodigoBarras);
        const CString codigo = doc->GetCodDeclar();
        CRect r;
        etiqueta.GetWindowRect(&r);
        ScreenToClient(&r);
        r = CRect(Escalar(r.left, escalaX), Escalar(r.top, escalaY), Escalar(r.right, escalaX),
                  Escalar(r.bottom, escalaY));

        CFont* anterior = dc->GetCurrentFont();
        LOGFONT lf;
        CFont* pantalla = etiqueta.GetFont();
        if (!pantalla || !pantalla->GetLogFont(&lf))
            lf = LOGFONT();
        lf.lfHeight = Escalar(lf.lfHeight, escalaY);
        lf.lfWidth = Escalar(lf.lfWidth, escalaX);
        FijarNombreFuente(lf, kFuenteCodigo);
        CFont fuente;
        fuente.CreateFontIndirect(&lf);
        dc->SelectObject(&fuente);

        dc->SetTextAlign(TA_CENTER | TA_TOP);
        dc->TextOut(r.left + (r.right - r.left) / 2, r.top, codigo);
        dc->SetTextAlign(TA_LEFT | TA_TOP);

        dc->SelectObject(anterior);
        fuente.DeleteObject();
    }
    UpdateData(true);
}
