// The form's revision of the remittance records the host prepares, and the self-assessment,
// which is the host's own.
#include "Modelo/codes/Codigos.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"

namespace {

// The number the key starts with; 0 when it starts with no digit. Large numbers stop growing,
// as they name no box of the form anyway.
long long NumeroDeClave(const CString& clave) {
    long long n = 0;
    for (char c : clave.view()) {
        if (!texto::EsDigito(c))
            break;
        if (n < 1'000'000'000)
            n = n * 10 + (c - '0');
    }
    return n;
}

bool EnFila(long long k, int primera) {
    return k >= primera && k < primera + casilla::FilasLiquidacion;
}

} // namespace

// Only the box's own text decides a blanking: the value the host put into the record is not
// looked at.
bool MOD_DOC::RevisarRegRemesa(CString, CString, CString, CListaRegRemesa& registros) {
    // The host loads the bracket concepts of the year before the records are revised; the
    // revision itself reads nothing back from them.
    CStringArray textos, codigos;
    InicializarDatosTramos(GetCasilla(casilla::AnioDevengo, pagina::P1), textos, codigos);
    for (int i = 0; i < registros.GetSize(); ++i) {
        stRegRemesa r = registros[i];
        const long long k = NumeroDeClave(r.Clave);
        if (k == casilla::CodigoP0) {
            r.DescripcionValor = TraducirCodigo(r.Valor, CodCasilla0, TxtCasilla0);
            registros.SetAt(i, r);
        } else if (EnFila(k, casilla::NumeroDocumentos)) {
            if (GetCasilla(int(k), pagina::P1) == valor::kCuentaCero) {
                r.Valor.Empty();
                registros.SetAt(i, r);
            }
        } else if (EnFila(k, casilla::Base)) {
            if (GetCasilla(int(k), pagina::P1) == valor::kImporteCero) {
                r.Valor.Empty();
                registros.SetAt(i, r);
            }
        }
    }
    return true;
}

bool MOD_DOC::GenerarAutoliquidacion(CListaErrores& errores, CString& texto, CStringArray& lineas) {
    return CGuiaDoc::GenerarAutoliquidacion(errores, texto, lineas);
}
