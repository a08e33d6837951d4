// The real window driven as a person drives it: keys into the widgets, focus moves, clicks.
// The services record what the window would show, so nothing waits for a person.
#include "CasosDeUso.h"
#include "ConVentana.h"
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "VentanaPrincipal.h"
#include "render/Pagina.h"
#include "support/Apoyo.h"
#include "support/Motor.h"
#include "support/SqlDirecto.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using apoyo::Sql;

class Ventana : public ConVentana<> {
protected:
    CString Nueva(const char* mes = "", const char* anio = "") {
        return host->Nueva("863", mes, anio)->GetCodDeclar();
    }
    PestanaDeclaracion* Abrir(const CString& codigo) {
        ventana->RecargarLista();
        PestanaDeclaracion* p = ventana->Abrir(codigo);
        EXPECT_NE(p, nullptr);
        return p;
    }
    // The widget of the page-1 control that shows a box.
    static QWidget* De(PestanaDeclaracion* p, int casilla, int pagina = 0) {
        PaginaWidget* w = p->Pagina(pagina);
        const ControlPlantilla* c = w->Vista().Plantilla()->ControlDeCasilla(casilla);
        return c ? w->WidgetDe(c->id) : nullptr;
    }
    static QLineEdit* Edit(PestanaDeclaracion* p, int casilla, int pagina = 0) {
        return qobject_cast<QLineEdit*>(De(p, casilla, pagina));
    }
    // Clicks into the box, types over what it shows and leaves it with Tab.
    static void Teclear(PestanaDeclaracion* p, int casilla, const QString& texto) {
        QLineEdit* e = Edit(p, casilla);
        ASSERT_NE(e, nullptr) << casilla;
        ASSERT_TRUE(e->isEnabled()) << casilla;
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        QTest::keyClicks(e, texto);
        QTest::keyClick(e, Qt::Key_Tab);
    }
};

} // namespace

TEST_F(Ventana, AWholeDeclarationTypedInTheWindowIsThereWhenItIsOpenedAgain) {
    const CString c = Nueva();
    PestanaDeclaracion* p = Abrir(c);
    ASSERT_NE(p, nullptr);
    ui.mesElegido = "MARZO"; // picked from the month list that opens on the box
    Teclear(p, 2, "2024");   // Tab goes on to the month
    EXPECT_EQ(QApplication::focusWidget(), De(p, 1));
    EXPECT_EQ(Edit(p, 1)->text(), "03");
    ui.mesElegido = "";
    EXPECT_FALSE(Edit(p, 64)->isEnabled()); // no count yet
    Teclear(p, 60, "3");
    EXPECT_TRUE(Edit(p, 64)->isEnabled());
    Teclear(p, 64, "1500,00");
    Teclear(p, 68, "15,00");
    Teclear(p, 62, "1");
    Teclear(p, 70, "0,20");
    EXPECT_EQ(Edit(p, 72)->text(), "15,20"); // the total follows the quotas
    Teclear(p, 61, "0");
    EXPECT_EQ(Edit(p, 61)->text(), "");
    Teclear(p, 61, "x"); // a digits box takes no letter
    EXPECT_EQ(Edit(p, 61)->text(), "");
    EXPECT_TRUE(p->TieneCambios());
    ASSERT_TRUE(p->Guardar());
    EXPECT_FALSE(p->TieneCambios());

    ASSERT_TRUE(ventana->Cerrar(ventana->Pestanas()->indexOf(p)));
    p = Abrir(c);
    EXPECT_EQ(Edit(p, 1)->text(), "03");
    EXPECT_EQ(Edit(p, 64)->text(), "1.500,00"); // written as currency text on leaving
    EXPECT_EQ(Edit(p, 72)->text(), "15,20");
    EXPECT_EQ(Edit(p, 72, 1)->text(), "15,20"); // page 2 shows the replicated copy
}

TEST_F(Ventana, ARefusedPeriodIsExplainedAndPutBack) {
    PestanaDeclaracion* p = Abrir(Nueva("03", "2024"));
    Teclear(p, 2, "2031");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ui.mensajes[0].texto.Left(2) == "- ");
    EXPECT_EQ(Edit(p, 2)->text(), "2024");
    EXPECT_EQ(Edit(p, 1)->text(), "03");
}

TEST_F(Ventana, AFindingActivatedBringsTheFocusToItsBox) {
    PestanaDeclaracion* p = Abrir(Nueva("03", "1999")); // a period without tariff
    ASSERT_GT(p->Validar(), 0);
    QTreeWidget* lista = p->ListaErrores();
    EXPECT_TRUE(lista->isVisible());
    int fila = -1;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        if (lista->topLevelItem(i)->text(1) == "P1-2")
            fila = i;
    ASSERT_GE(fila, 0);
    lista->setFocus();
    emit lista->itemActivated(lista->topLevelItem(fila), 0);
    EXPECT_EQ(QApplication::focusWidget(), De(p, 2));
}

TEST_F(Ventana, AFinalDeclarationOpensReadOnly) {
    const CString c = Nueva("03", "2024");
    host->Almacen().CambiarEstado(c, estado::Definitiva);
    PestanaDeclaracion* p = Abrir(c);
    EXPECT_TRUE(p->SoloLectura());
    for (int casilla : {1, 2, 60, 64, 68, 72, 146})
        EXPECT_FALSE(De(p, casilla)->isEnabled()) << casilla;
    EXPECT_FALSE(p->Guardar());
    EXPECT_FALSE(p->TieneCambios());
}

TEST_F(Ventana, TheWidgetsSitOnTheWhiteFieldsOfThePageImage) {
    const CString c = Nueva("03", "2024");
    {
        auto doc = host->Abrir(c);
        const std::pair<int, const char*> valores[] = {{10, "B12345674"},
                                                       {11, "TRANSPORTES DEL NORTE, S.L."},
                                                       {14, "CL"},
                                                       {15, "MAYOR"},
                                                       {16, "7"},
                                                       {21, "28"},
                                                       {22, "079"},
                                                       {23, "28013"},
                                                       {60, "3"},
                                                       {64, "1.500,00"},
                                                       {68, "15,00"},
                                                       {62, "1"},
                                                       {66, "20,00"},
                                                       {70, "0,20"},
                                                       {72, "15,20"},
                                                       {140, "12345678Z"},
                                                       {141, "GARCÍA LÓPEZ, ANA"}};
        for (auto [casilla, valor] : valores)
            doc->SetCasilla(casilla, 0, valor);
        host->Guardar(*doc);
    }
    PestanaDeclaracion* p = Abrir(c);
    PaginaWidget* pagina = p->Pagina(0);
    QApplication::processEvents();
    const QImage captura = pagina->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fondo = FondoDeVista(pagina->Vista()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(captura.size(), fondo.size());
    int comprobados = 0;
    for (CWnd* w : pagina->Vista().Controles()) {
        QLineEdit* e = qobject_cast<QLineEdit*>(pagina->WidgetDe(w->GetDlgCtrlID()));
        if (!e || !e->isVisible())
            continue;
        const QRect r = e->geometry().adjusted(2, 2, -2, -2);
        int blancos = 0, total = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x, ++total)
                blancos += qGray(fondo.pixel(x, y)) > 245;
        EXPECT_GT(blancos, total * 9 / 10) << "control " << w->GetDlgCtrlID();
        ++comprobados;
    }
    EXPECT_GT(comprobados, 50);
    // The screenshots of the README, when asked for.
    if (const char* carpeta = std::getenv("MODELO_CAPTURAS")) {
        captura.save(QString(carpeta) + "/pagina1.png");
        ventana->Pestanas()->setCurrentIndex(0);
        ventana->grab().save(QString(carpeta) + "/declaraciones.png");
    }
}

// On screen a value too long for its box is shown smaller, never cut while a legible size
// still holds it: nine-digit phones and fourteen-digit amounts whole, the long names at the
// smallest legible size at worst; the program's titles wrap inside their frames.
TEST_F(Ventana, EveryValueFitsItsEditOrStandsAtTheSmallestLegibleSize) {
    const CString c = Nueva("09", "2024");
    const char* const empresa = "CONSTRUCCIONES, REFORMAS Y PROMOCIONES INMOBILIARIAS DEL "
                                "ARCHIPIÉLAGO CANARIO Y DE LA MACARONESIA, S.L.";
    {
        auto doc = host->Abrir(c);
        const std::pair<int, const char*> valores[] = {
            {10, "12345678Z"},
            {11, "FERNÁNDEZ-CASTELLANOS"},
            {12, "RODRÍGUEZ DE LA FUENTE"},
            {13, "MARÍA DEL PILAR ALEJANDRA"},
            {15, "AVENIDA DE LOS REYES CATÓLICOS Y DE LA CONSTITUCIÓN ESPAÑOLA"},
            {20, "922123456"},
            {30, "B12345674"},
            {31, empresa},
            {40, "928987654"},
            {60, "999999999"},
            {64, "99.999.999.999.999,99"},
            {68, "99.999.999.999.999,99"},
            {72, "99.999.999.999.999,99"},
            {140, "X1234567L"},
            {141, empresa},
            {142, "600123456"},
            {147, "SANTA CRUZ DE TENERIFE a"},
        };
        for (auto [casilla, valor] : valores)
            doc->SetCasilla(casilla, 0, valor);
        host->Guardar(*doc);
    }
    PestanaDeclaracion* p = Abrir(c);
    QApplication::processEvents();
    constexpr int kHolgura = 7; // the edit's padding, its own margins and the cursor
    auto cabe = [&](QLineEdit* e) {
        return QFontMetrics(e->font()).horizontalAdvance(e->text()) <= e->width() - kHolgura;
    };
    for (int casilla : {20, 40, 142, 64, 68, 72, 10, 30, 140}) {
        SCOPED_TRACE(casilla);
        QLineEdit* e = Edit(p, casilla);
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(cabe(e)) << e->text().toStdString() << " en " << e->width();
    }
    int comprobados = 0;
    for (CWnd* w : p->Pagina(0)->Vista().Controles()) {
        QWidget* q = p->Pagina(0)->WidgetDe(w->GetDlgCtrlID());
        if (auto* e = qobject_cast<QLineEdit*>(q); e && e->isVisible() && !e->text().isEmpty()) {
            SCOPED_TRACE(e->text().toStdString());
            EXPECT_TRUE(cabe(e) || e->font().pixelSize() == kAltoMinimoLegible);
            EXPECT_GE(e->font().pixelSize(), kAltoMinimoLegible);
            // Away from the focus, a value cut by the edge shows its start.
            if (!e->hasFocus()) {
                EXPECT_EQ(e->cursorPosition(), 0);
            }
            ++comprobados;
        }
        if (auto* l = qobject_cast<QLabel*>(q); l && l->pixmap().isNull() && !l->text().isEmpty()) {
            SCOPED_TRACE(l->text().toStdString());
            const QRect dentro = QFontMetrics(l->font()).boundingRect(
                QRect(QPoint(0, 0), l->size()), Qt::TextWordWrap, l->text());
            EXPECT_LE(dentro.height(), l->height());
        }
    }
    EXPECT_GT(comprobados, 15);
}

TEST_F(Ventana, TheListShowsEveryClientAndDeletesADraftOnlyWhenAsked) {
    const CString borrador = Nueva("03", "2024");
    const CString definitiva = Nueva("04", "2024");
    {
        auto doc = host->Abrir(borrador);
        doc->SetCasilla(10, 0, "B12345674");
        doc->SetCasilla(11, 0, "TRANSPORTES DEL NORTE, S.L.");
        host->Guardar(*doc);
    }
    host->Almacen().CambiarEstado(definitiva, estado::Definitiva);
    ventana->RecargarLista();
    QTableWidget* lista = ventana->Lista();
    auto fila = [&](const CString& c) {
        for (int f = 0; f < lista->rowCount(); ++f)
            if (lista->item(f, 0)->text() == TextoQt(c))
                return f;
        return -1;
    };
    ASSERT_GE(fila(borrador), 0);
    EXPECT_EQ(lista->item(fila(borrador), 3)->text(), "B12345674");
    EXPECT_EQ(lista->item(fila(borrador), 4)->text(), "TRANSPORTES DEL NORTE, S.L.");
    EXPECT_EQ(lista->item(fila(borrador), 5)->text(), "Borrador");
    EXPECT_EQ(lista->item(fila(definitiva), 5)->text(), "Definitiva");

    lista->setCurrentCell(fila(borrador), 0);
    ui.respuesta = IDNO;
    ventana->Eliminar();
    EXPECT_GE(fila(borrador), 0); // the person said no
    ui.respuesta = IDYES;
    ventana->Eliminar();
    EXPECT_EQ(fila(borrador), -1);
    EXPECT_FALSE(host->Almacen().Buscar(borrador).has_value());

    lista->setCurrentCell(fila(definitiva), 0);
    ventana->Eliminar();
    EXPECT_TRUE(host->Almacen().Buscar(definitiva).has_value());
}

namespace {

QAction* Accion(QWidget* ventana, const QString& texto) {
    for (QAction* a : ventana->findChildren<QAction*>())
        if (a->text() == texto)
            return a;
    return nullptr;
}

std::string Programa() {
    return std::string(MODELO_BIN_DIR) + "/modelo";
}

} // namespace

// The database and an exported PDF in the folder the dialog shows: the dialog must not touch
// the database's files, or the next program to finish deletes the log the window writes into.
TEST_F(Ventana, AFileDialogOnTheDatabasesFolderLosesNoSaveOfTheWindow) {
    SOLO_EN_FICHERO("a file dialog on the folder of the file and its log");
    const std::string db = ruta;
    const std::string modelo = "'" + Programa() + "' --db '" + db + "' ";
    const CString c = Nueva("03", "2024");
    PestanaDeclaracion* p = Abrir(c);
    ASSERT_NE(p, nullptr);
    apoyo::Escribir(tmp / "exportada.pdf", "%PDF-1.4\n");
    ASSERT_TRUE(std::filesystem::exists(db + "-wal") && std::filesystem::exists(db + "-shm"));

    bool mostrado = false;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogo)
            return;
        mostrado = true;
        const QString carpeta = QString::fromStdString(tmp.Ruta().string());
        dialogo->setDirectory(carpeta);
        auto* archivos = dialogo->findChild<QFileSystemModel*>();
        if (archivos) {
            if (!QTest::qWaitFor([&] { return archivos->rowCount(archivos->index(carpeta)) > 0; }))
                ADD_FAILURE() << "the dialog listed nothing";
            // What the list shows of every entry, shown or filtered out: name, type, icon.
            for (const char* nombre : {"modelo.db", "modelo.db-wal", "modelo.db-shm"}) {
                const QModelIndex i = archivos->index(carpeta + "/" + nombre);
                archivos->type(i);
                archivos->fileIcon(i);
                archivos->data(i, Qt::DecorationRole);
            }
        }
        QTest::qWait(200); // drawn as a person sees it
        dialogo->reject();
    });
    QAction* exportar = Accion(ventana.get(), "&Exportar PDF…");
    ASSERT_NE(exportar, nullptr);
    exportar->trigger();
    ASSERT_TRUE(mostrado);

    // Another program reads, then writes, while the window keeps its connection.
    ASSERT_EQ(apoyo::Ejecutar(modelo + "list").estado, 0);
    EXPECT_TRUE(std::filesystem::exists(db + "-wal")) << "the window's log was deleted";
    const auto otra = apoyo::Ejecutar(modelo + "new 871");
    ASSERT_EQ(otra.estado, 0) << otra.err;
    const std::string d = otra.out.substr(0, otra.out.find('\n'));

    Teclear(p, 60, "3");
    Accion(ventana.get(), "&Guardar")->trigger();
    EXPECT_TRUE(ui.mensajes.empty()) << (ui.mensajes.empty() ? "" : ui.mensajes[0].texto.str());
    const auto mostrada = apoyo::Ejecutar(modelo + "show " + c.str());
    EXPECT_NE(mostrada.out.find("P1-60\t3\n"), std::string::npos) << mostrada.out;

    ventana.reset();
    host.reset();
    const auto lista = apoyo::Ejecutar(modelo + "list");
    EXPECT_EQ(lista.estado, 0) << lista.err;
    EXPECT_NE(lista.out.find(c.str() + "\t"), std::string::npos) << lista.out;
    EXPECT_NE(lista.out.find(d + "\t"), std::string::npos) << lista.out;
    EXPECT_EQ(Sql(db, "PRAGMA integrity_check"), "ok\n");
}

// The shared memory of the log cannot be made (a link to nowhere stands in for a read-only
// folder, which root would still write): the window shows everything and says why it
// changes nothing.
TEST_F(Ventana, ADatabaseThatCannotBeWrittenOpensTheWindowReadOnlySayingWhy) {
    SOLO_EN_FICHERO("the shared memory of the file's log");
    const CString c = Nueva("03", "2024");
    ventana.reset();
    host.reset();
    std::filesystem::create_symlink(tmp / "falta/shm", ruta + "-shm");
    host = std::make_unique<CHost>(CString(ruta), MODELO_BIN_DIR);
    ASSERT_TRUE(host->BaseDatos().SoloLectura());
    ventana = std::make_unique<VentanaPrincipal>(*host);
    ventana->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ventana.get()));

    auto* aviso = ventana->statusBar()->findChild<QLabel*>("avisoSoloLectura");
    ASSERT_NE(aviso, nullptr);
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_TRUE(aviso->text().startsWith("Sólo lectura: ")) << aviso->text().toStdString();
    EXPECT_TRUE(aviso->text().contains("memoria compartida")) << aviso->text().toStdString();
    EXPECT_FALSE(Accion(ventana.get(), "&Nueva…")->isEnabled());

    PestanaDeclaracion* p = Abrir(c);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->SoloLectura());
    EXPECT_TRUE(
        ventana->Pestanas()->tabText(ventana->Pestanas()->indexOf(p)).endsWith("(sólo lectura)"));
    EXPECT_FALSE(De(p, 10)->isEnabled());
    EXPECT_FALSE(Accion(ventana.get(), "&Guardar")->isEnabled());
    EXPECT_TRUE(Accion(ventana.get(), "&Exportar PDF…")->isEnabled());
}

// The stamp a window read is how it knows another desk saved meanwhile: a save in the same
// second must still leave another stamp.
TEST_F(Ventana, AnotherDesksSaveInTheSameSecondIsNotUndone) {
    Reloj::Fijar([] { return COleDateTime(2024, 6, 10, 9, 0, 0); });
    const CString c = Nueva("03", "2024");
    PestanaDeclaracion* p = Abrir(c);
    ASSERT_NE(p, nullptr);
    CHost otro(CString(ruta), MODELO_BIN_DIR);
    auto doc = otro.Abrir(c);
    doc->SetCasilla(11, 0, "OTRA, S.A.");
    ASSERT_TRUE(casos::Guardar(otro, *doc));

    Teclear(p, 60, "3");
    ui.mensajes.clear();
    EXPECT_FALSE(p->Guardar());
    ASSERT_FALSE(ui.mensajes.empty());
    EXPECT_NE(ui.mensajes.back().texto.Find("se ha guardado desde otra ventana"), -1)
        << ui.mensajes.back().texto.str();
    EXPECT_EQ(otro.Abrir(c)->GetCasilla(11, 0), "OTRA, S.A.");
    EXPECT_EQ(otro.Abrir(c)->GetCasilla(60, 0), "");
    // The other desk saves on from what it saved, in that second still.
    doc->SetCasilla(11, 0, "OTRA MAS, S.A.");
    EXPECT_TRUE(casos::Guardar(otro, *doc));
}

TEST_F(Ventana, ABoxTakesNoControlCharacterEvenPasted) {
    const CString c = Nueva("03", "2024");
    PestanaDeclaracion* p = Abrir(c);
    QTest::mouseClick(qobject_cast<QCheckBox*>(De(p, 50)), Qt::LeftButton);
    Teclear(p, 52, "8630000000009");
    QLineEdit* e = Edit(p, 52);
    CWnd* w = p->Pagina(0)->Vista().GetDlgItem(
        p->Pagina(0)->Vista().Plantilla()->ControlDeCasilla(52)->id);
    for (const char* pegado : {"1\n2", "A\tB", "\x1B[31mX", "B\x7F"}) {
        QApplication::clipboard()->setText(QString::fromUtf8(pegado));
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Tab);
        // Refused, or cleaned by the widget on its way: never held, and shown as held.
        EXPECT_FALSE(texto::TieneControl(w->GetWindowText().view())) << pegado;
        EXPECT_EQ(TextoModelo(e->text()), w->GetWindowText()) << pegado;
    }
    // A clean paste is taken: the clipboard did reach the widget.
    QApplication::clipboard()->setText("8630000000017");
    QTest::mouseClick(e, Qt::LeftButton);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Tab);
    EXPECT_EQ(w->GetWindowText(), "8630000000017");
    ASSERT_TRUE(p->Guardar());
    EXPECT_EQ(host->Abrir(c)->GetCasilla(52, 0), "8630000000017");
}

namespace {

// Another program that changes a draft's box, as `modelo set` would, each time the window's
// connection has just committed: the gaps between the window's transactions are where it
// gets in.
struct OtroPrograma {
    sqlite3* db = nullptr;
    std::string codigo;
    int cambios = 0;

    OtroPrograma(const std::string& ruta, const CString& c) : codigo(c.str()) {
        sqlite3_open(ruta.c_str(), &db);
        sqlite3_busy_timeout(db, 5000);
    }
    ~OtroPrograma() { sqlite3_close(db); }
    void Vigilar(sqlite3* ventana) {
        sqlite3_trace_v2(
            ventana, SQLITE_TRACE_PROFILE,
            [](unsigned, void* yo, void* sentencia, void*) {
                const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(sentencia));
                if (sql && std::string(sql).rfind("COMMIT", 0) == 0)
                    static_cast<OtroPrograma*>(yo)->Cambiar();
                return 0;
            },
            this);
    }
    void Cambiar() {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "UPDATE CASILLAS SET VALOR = 'OTRA, S.A.' WHERE CODIGO = ?1 AND "
                           "PAGINA = 0 AND CASILLA = 11 AND (SELECT ESTADO FROM DECLARACIONES "
                           "WHERE CODIGO = ?1) = '0'",
                           -1, &s, nullptr);
        sqlite3_bind_text(s, 1, codigo.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(s) == SQLITE_DONE)
            cambios += sqlite3_changes(db);
        sqlite3_finalize(s);
    }
};

} // namespace

// What becomes final is what the window validated: no other program's save falls in between.
TEST_F(Ventana, FinalizingIsOneTransactionNoOtherProgramCanSplit) {
    SOLO_EN_FICHERO("another program slips in through the SQLite connection's statement trace");
    const CString c = Nueva("03", "2024");
    {
        auto doc = host->Abrir(c);
        const std::pair<int, const char*> valores[] = {
            {1, "03"},      {2, "2024"},    {10, "B12345674"}, {11, "EMPRESA"}, {140, "12345678Z"},
            {141, "MARIA"}, {60, "2"},      {64, "1.500,00"},  {68, "15,00"},   {72, "15,00"},
            {143, "10"},    {144, "ABRIL"}, {145, "2024"}};
        for (auto [casilla, valor] : valores)
            doc->SetCasilla(casilla, 0, valor);
        host->Guardar(*doc);
    }
    PestanaDeclaracion* p = Abrir(c);
    OtroPrograma otro(ruta, c);
    otro.Vigilar(host->BaseDatos().Manejador());
    ui.respuesta = IDYES; // the question that comes first
    const bool finalizada = p->Finalizar();
    sqlite3_trace_v2(host->BaseDatos().Manejador(), 0, nullptr, nullptr);
    ASSERT_TRUE(finalizada) << (ui.mensajes.empty() ? "" : ui.mensajes.back().texto.c_str());
    const auto r = host->Almacen().Buscar(c);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->estado, estado::Definitiva);
    EXPECT_EQ(otro.cambios, 0);
    auto guardada = host->Abrir(c);
    EXPECT_EQ(guardada->GetCasilla(11, 0), "EMPRESA");
    EXPECT_TRUE(p->SoloLectura());
}
