// The host's check of every filled box of page 1 by the form's box catalogue, for the form the
// test is compiled for.
#include "Formulario.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/document/CodigosHost.h"
#include "core/CatalogoCasillas.h"
#include "core/IdsRecursos.h"
#include "support/DocumentoDePrueba.h"

#include <set>

namespace {

class Formato : public DocumentoDePrueba {
protected:
    // Every box of the catalogue a person fills, filled right.
    void Completa() {
        doc.VaciarCasillas();
        Poner({{1, "03"},           {2, "2024"},      {10, "B12345674"},  {11, "EMPRESA, S.L."},
               {14, "CL"},          {15, "MAYOR"},    {16, "5"},          {20, "915551234"},
               {21, "28"},          {22, "079"},      {23, "28013"},      {24, "B12345674"},
               {30, "12345678Z"},   {31, "GARCIA"},   {34, "AV"},         {41, "08"},
               {42, "019"},         {43, "08001"},    {50, "S"},          {52, "8630000000001"},
               {53, "15/04/2024"},  {54, "2024"},     {55, "000012"},     {60, "2"},
               {61, "1"},           {64, "1.500,00"}, {65, "30000,00"},   {68, "15,00"},
               {69, "310,00"},      {72, "325,00"},   {140, "12345678Z"}, {141, "GARCIA LOPEZ"},
               {142, "600000000"},  {143, "10"},      {144, "JUNIO"},     {145, "2024"},
               {146, "10/06/2024"}, {147, "MADRID"}});
    }
    // The host's format findings, as "code@box".
    std::vector<std::string> DeFormato() {
        CListaErrores e;
        doc.ValidarFormatoCasillas(e);
        std::vector<std::string> out;
        for (const stError& x : e)
            out.push_back(x.Codigo.str() + "@" + std::to_string(x.Casilla));
        return out;
    }
    static std::string En(const char* codigo, int casilla) {
        return std::string(codigo) + "@" + std::to_string(casilla);
    }
};

} // namespace

TEST_F(Formato, ADeclarationFilledRightHasNoFinding) {
    Completa();
    EXPECT_EQ(DeFormato(), V{});
    // Nor does the whole validation raise a host code on it.
    CListaErrores e;
    doc.Validar(e);
    for (const stError& x : e)
        EXPECT_NE(x.Codigo.Left(6), "MODELO") << x.Codigo << " at " << x.Casilla;
}

TEST_F(Formato, EachKindOfBoxRefusesWhatItCannotHold) {
    using namespace codigo_host;
    const struct {
        int casilla;
        const char* valor;
        const char* codigo;
    } casos[] = {
        {60, "3,5", FormatoCuenta},
        {61, "-1", FormatoCuenta},
        {62, "1.000", FormatoCuenta},
        {64, "abc", FormatoImporte},
        {64, "1500", FormatoImporte},
        {64, "15,0", FormatoImporte},
        {64, "15,000", FormatoImporte},
        {64, "-7,00", FormatoImporte},
        {64, "1.50,00", FormatoImporte},
        {64, "12.3456,00", FormatoImporte},
        {64, ".500,00", FormatoImporte},
        {64, ",50", FormatoImporte},
        {1, "13", FormatoMes},
        {1, "3", FormatoMes},
        {1, "00", FormatoMes},
        {2, "24", FormatoAnio},
        {145, "2O24", FormatoAnio},
        {143, "32", FormatoDia},
        {143, "7", FormatoDia},
        {144, "06", FormatoMesLetra},
        {144, "JUNO", FormatoMesLetra},
        {20, "91-555", FormatoDigitos},
        {55, "12 3", FormatoDigitos},
        {23, "2801", FormatoCodigoPostal},
        {23, "08001", CodigoPostalProvincia},
        {24, "B12345675", FormatoNif},
        {14, "QQ", TipoViaDesconocido},
        {21, "99", ProvinciaDesconocida},
        {22, "019", MunicipioDesconocido},
        {50, "X", FormatoMarca},
        {53, "31/02/2024", FormatoFecha},
        {146, "mañana", FormatoFecha},
    };
    for (const auto& c : casos) {
        Completa();
        doc.SetCasilla(c.casilla, 0, c.valor);
        const V hallazgos = DeFormato();
        if (c.casilla == casilla::SujetoPasivo + casilla::grupo::Provincia) // its postcode too
            EXPECT_NE(std::find(hallazgos.begin(), hallazgos.end(), En(c.codigo, c.casilla)),
                      hallazgos.end())
                << c.valor;
        else // the base is not summed, so a wrong base leaves the total right
            EXPECT_EQ(hallazgos, V{En(c.codigo, c.casilla)}) << c.casilla << "=" << c.valor;
    }
}

TEST_F(Formato, ThePartyNumbersAreLeftToThePartyCheck) {
    Completa();
    Poner({{10, "B12345675"}, {30, "X"}, {140, "1"}});
    EXPECT_EQ(DeFormato(), V{}); // reported once, with the party's role, by the party check
    CListaErrores e;
    doc.Validar_Intervinientes_Errores_2012(e, casilla::SujetoPasivo, "");
    EXPECT_EQ(e.GetSize(), 3);
}

TEST_F(Formato, TheTotalIsTheSumOfTheQuotasToTheCent) {
    Completa();
    Poner({{68, "99,99"}, {69, ""}, {72, "5,00"}});
    EXPECT_EQ(DeFormato(), V{En(codigo_host::TotalDistinto, 72)});
    Poner({{72, "99,99"}});
    EXPECT_EQ(DeFormato(), V{});
    // Grouped and ungrouped texts of the same cents agree; no rounding through doubles.
    Poner({{68, "1.000,10"}, {69, "0,20"}, {70, "0,01"}, {72, "1000,31"}});
    EXPECT_EQ(DeFormato(), V{});
    Poner({{72, "1.000,30"}});
    EXPECT_EQ(DeFormato(), V{En(codigo_host::TotalDistinto, 72)});
    // A quota that is not an amount has its own finding, not a second one at the total.
    Poner({{69, "xyz"}});
    EXPECT_EQ(DeFormato(), V{En(codigo_host::FormatoImporte, 69)});
    // The base is not a sum of anything here: a row's quota sums its documents' quotas.
    Poner({{69, "0,20"}, {72, "1.000,31"}, {64, "1,00"}});
    EXPECT_EQ(DeFormato(), V{});
}

TEST_F(Formato, TheFindingsGetTheirTextsFromTheCatalogue) {
    Poner({{60, "x"}, {72, "-7"}});
    CListaErrores e;
    doc.Validar(e);
    int deFormato = 0;
    for (const stError& x : e) {
        EXPECT_EQ(x.Descripcion.Find("sin descripción"), -1) << x.Codigo;
        EXPECT_FALSE(x.Detalle.IsEmpty()) << x.Codigo;
        deFormato +=
            x.Codigo == codigo_host::FormatoCuenta || x.Codigo == codigo_host::FormatoImporte;
    }
    EXPECT_EQ(deFormato, 2);
}

TEST(CatalogoPagina1, NamesEveryBoxWithAControlAndNoOther) {
    std::set<int> conControl;
    const PlantillaDialogo* plantilla = AfxBuscarPlantilla(recurso::PlantillaPagina1);
    ASSERT_NE(plantilla, nullptr);
    for (const ControlPlantilla& c : plantilla->controles)
        if (c.casilla >= 0)
            conControl.insert(c.casilla);
    std::set<int> escribibles, fijas;
    int anterior = -1;
    for (const stCasillaCatalogo& e : catalogo::kPagina1) {
        EXPECT_GT(e.Casilla, anterior) << "in box order";
        anterior = e.Casilla;
        (e.Formato == FormatoCasilla::Fija ? fijas : escribibles).insert(e.Casilla);
        EXPECT_GT(std::string(e.Significado).size(), 3u) << e.Casilla;
    }
    escribibles.erase(casilla::NifDeclaranteFichero); // filled by the import, shown by no control
    EXPECT_EQ(escribibles, conControl);
    EXPECT_EQ(fijas, (std::set<int>{casilla::CodigoP0, casilla::MarcaT}));
    // Every box page 2 repeats has a meaning.
    MOD_DOC doc;
    for (int c : casilla::kReplicadas)
        EXPECT_NE(doc.EntradaCatalogo(c), nullptr) << c;
}
