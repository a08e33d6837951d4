// The host's side of the PDF417 payload: its prefix, the filter of its values and the page that
// carries it. The layout of the fields is the form's.
#include "Modelo/document/GuiaDoc.h"

#include <cstring>

namespace {
// The prefix brackets the model and declaration codes.
constexpr char kAbrePrefijo = '<';
constexpr char kCierraPrefijo = '>';

bool Reservado(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F)
        return true;
    if (c == kAbrePrefijo || c == kCierraPrefijo)
        return true;
    for (const char* d : {CGuiaDoc::kSeparadorCampo, CGuiaDoc::kAperturaTabla,
                          CGuiaDoc::kSeparadorFila, CGuiaDoc::kCierreTabla, CGuiaDoc::kFinCodigo})
        if (std::strchr(d, c))
            return true;
    return false;
}
} // namespace

CString CGuiaDoc::EliminarCaracteresEspeciales(const CString& valor) {
    std::string limpio;
    limpio.reserve(size_t(valor.GetLength()));
    for (char c : valor.view())
        if (!Reservado(c))
            limpio += c;
    return CString(std::move(limpio));
}

int CGuiaDoc::GetPaginaPrincipal() const {
    for (const auto& [indice, pagina] : paginas_)
        if (pagina.Principal)
            return indice;
    return 0;
}

// A form with payloads split over several symbols would use the part; this host prints one.
CString CGuiaDoc::GenerarCodigoPDF417(int pagina, int) {
    return GenerarCodigoPDF417(pagina);
}

CString CGuiaDoc::GenerarCodigoPDF417(int) {
    return GenerarCodigoPDF417();
}

// The codes are the host's own, never a user's text, so they need no filtering.
CString CGuiaDoc::GenerarCodigoPDF417() {
    return CString(kAbrePrefijo) + codModelo_ + ":" + codDeclar_ + CString(kCierraPrefijo);
}

CString CGuiaDoc::GenerarCodBarras(CString codigo) {
    return codigo;
}
