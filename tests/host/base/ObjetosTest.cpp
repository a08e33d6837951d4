#include "Modelo/base/CObject.h"
#include "Modelo/base/Recursos.h"

#include <gtest/gtest.h>
#include <memory>
#include <new>

namespace {

class CPruebaDoc : public CDocument {
    DECLARE_DYNCREATE(CPruebaDoc)
    DECLARE_MESSAGE_MAP()

public:
    int clics = 0, salidas = 0, notificaciones = 0;
    void OnClic() { ++clics; }
    void OnSalida() { ++salidas; }
    void OnFecha(NMHDR* h, LRESULT* r) {
        notificaciones += int(h->idFrom);
        *r = 0;
    }
};
IMPLEMENT_DYNCREATE(CPruebaDoc, CDocument)
BEGIN_MESSAGE_MAP(CPruebaDoc, CDocument)
ON_BN_CLICKED(100, OnClic)
ON_EN_KILLFOCUS(101, OnSalida)
ON_NOTIFY(DTN_DATETIMECHANGE, 102, OnFecha)
END_MESSAGE_MAP()

class CPruebaHija : public CPruebaDoc {
    DECLARE_MESSAGE_MAP()
public:
    void OnOtraSalida() { salidas += 10; }
};
BEGIN_MESSAGE_MAP(CPruebaHija, CPruebaDoc)
ON_EN_KILLFOCUS(200, OnOtraSalida)
END_MESSAGE_MAP()

} // namespace

TEST(RuntimeClass, CreatesByNameAndKnowsItsBases) {
    std::unique_ptr<CObject> o(CRuntimeClass::CreateObject("CPruebaDoc"));
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CDocument)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ(o->GetRuntimeClass()->m_lpszClassName, "CPruebaDoc");
    EXPECT_EQ(CRuntimeClass::FromName("CPruebaDocX"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClass, RegistrationEndsWithItsOwner) {
    static const CRuntimeClass temporal{"CTemporal", 1, nullptr, CObject::GetThisClass()};
    {
        AFX_CLASSINIT registro(&temporal);
        EXPECT_EQ(CRuntimeClass::FromName("CTemporal"), &temporal);
    }
    EXPECT_EQ(CRuntimeClass::FromName("CTemporal"), nullptr);
}

TEST(MessageMap, DispatchesByCodeAndIdThroughBaseMaps) {
    CPruebaHija doc;
    EXPECT_TRUE(doc.OnCmdMsg(100, BN_CLICKED));
    EXPECT_FALSE(doc.OnCmdMsg(100, EN_KILLFOCUS)); // same id, other notification
    EXPECT_TRUE(doc.OnCmdMsg(101, EN_KILLFOCUS));
    EXPECT_TRUE(doc.OnCmdMsg(200, EN_KILLFOCUS));
    EXPECT_FALSE(doc.OnCmdMsg(999, BN_CLICKED));
    EXPECT_TRUE(doc.OnCmdMsg(102, DTN_DATETIMECHANGE));
    EXPECT_EQ(doc.clics, 1);
    EXPECT_EQ(doc.salidas, 11);
    EXPECT_EQ(doc.notificaciones, 102);
}

TEST(Archive, KeepsItsDirection) {
    CArchive out(CArchive::store);
    out << CString("863A1") << std::int32_t(7);
    EXPECT_TRUE(out.IsStoring());
    CArchive in(CArchive::load, out.Bytes());
    CString s;
    std::int32_t n = 0;
    in >> s >> n;
    EXPECT_EQ(s, "863A1");
    EXPECT_EQ(n, 7);
    EXPECT_THROW(in >> n, std::runtime_error);
    EXPECT_THROW(in.Write("x", 1), std::logic_error);
    CArchive corrupto(CArchive::load, {0xFF, 0xFF, 0xFF, 0x7F});
    EXPECT_THROW(corrupto >> s, std::runtime_error);
}

TEST(Document, NewDocumentClearsTheModifiedFlag) {
    CPruebaDoc doc;
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.IsModified());
}

TEST(ResourceChain, NewestModuleWinsAndRemovalForgetsIt) {
    CModuloRecursos a{"a", {{1, "uno"}, {2, "dos"}}, {}, {}};
    CModuloRecursos b{"b", {{1, "UNO"}}, {}, {}};
    AfxAnadirModuloRecursos(&a);
    AfxAnadirModuloRecursos(&b);
    EXPECT_EQ(AfxCadena(1), "UNO");
    EXPECT_EQ(AfxCadena(2), "dos");
    AfxQuitarModuloRecursos(&b);
    EXPECT_EQ(AfxCadena(1), "uno");
    AfxQuitarModuloRecursos(&a);
    CString s("sin tocar");
    EXPECT_FALSE(AfxLoadString(1, s));
    EXPECT_EQ(s, "sin tocar");
    EXPECT_EQ(AfxBuscarPlantilla(1), nullptr);
    EXPECT_EQ(AfxBuscarBitmap(1), nullptr);
}
