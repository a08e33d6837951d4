// The declarations list as it follows the database, and how the tabs and the window's title
// follow the open declarations: by keys, with another program writing the same database.
#include "ConVentana.h"
#include "Host.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "PestanaDeclaracion.h"
#include "ServiciosVentana.h"
#include "VentanaPrincipal.h"
#include "render/Pagina.h"
#include "support/Apoyo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Long enough for any machine; a pass never waits for it.
constexpr int kEsperaMs = 15000;

class Lista : public ConVentana<> {
protected:
    QTableWidget* Tabla() { return ventana->Lista(); }
    int Fila(const QString& codigo) {
        for (int f = 0; f < Tabla()->rowCount(); ++f)
            if (Tabla()->item(f, 0)->text() == codigo)
                return f;
        return -1;
    }
    QString Elegida() {
        const QTableWidgetItem* i = Tabla()->item(Tabla()->currentRow(), 0);
        return i && i->isSelected() ? i->text() : QString();
    }
    // What another program prints, run on the same database.
    QString Modelo(const QStringList& argumentos) {
        QProcess p;
        p.start(QString(MODELO_BIN_DIR) + "/modelo",
                QStringList{"--db", QString::fromStdString(ruta)} + argumentos);
        EXPECT_TRUE(p.waitForFinished(kEsperaMs));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    QString Nueva() { return TextoQt(host->Nueva("863", "03", "2024")->GetCodDeclar()); }
    // The client's name as the store keeps it, in its three boxes.
    void Nombrar(const QString& codigo, std::array<const char*, 3> partes) {
        auto doc = host->Abrir(TextoModelo(codigo));
        for (int i = 0; i < 3; ++i)
            doc->SetCasilla(11 + i, 0, partes[size_t(i)]);
        host->Guardar(*doc);
    }
    QString TextoPestana(PestanaDeclaracion* p) {
        return ventana->Pestanas()->tabText(ventana->Pestanas()->indexOf(p));
    }
    static void Teclear(PestanaDeclaracion* p, int casilla, const QString& texto) {
        PaginaWidget* w = p->Pagina(0);
        auto* e = qobject_cast<QLineEdit*>(
            w->WidgetDe(w->Vista().Plantilla()->ControlDeCasilla(casilla)->id));
        ASSERT_NE(e, nullptr) << casilla;
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        QTest::keyClicks(e, texto);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    // Answers the message box that `accion` shows with the button of that text (Escape for
    // none), and says which buttons it offered, sorted.
    static QStringList Responder(const QString& boton, const std::function<void()>& accion) {
        auto botones = std::make_shared<QStringList>();
        QTimer::singleShot(0, [botones, boton] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(caja, nullptr);
            for (QAbstractButton* b : caja->buttons()) {
                *botones << b->text();
                if (b->text() == boton)
                    b->click();
            }
            if (boton.isEmpty())
                QTest::keyClick(caja, Qt::Key_Escape);
        });
        accion();
        botones->sort();
        return *botones;
    }
    QStringList Responder(const QString& boton) {
        return Responder(boton,
                         [&] { cerrada_ = ventana->Cerrar(ventana->Pestanas()->currentIndex()); });
    }
    bool cerrada_ = false;
    QString Casilla60(const QString& codigo) {
        return TextoQt(host->Abrir(TextoModelo(codigo))->GetCasilla(60, 0));
    }
};

} // namespace

TEST_F(Lista, AnotherProgramsChangesShowWithoutAKeyAndTheChosenRowStaysChosen) {
    const QString primera = Nueva();
    const QString segunda = Nueva();
    ventana->RecargarLista();
    // Newest first: a new row pushes the chosen one down.
    Tabla()->sortItems(0, Qt::DescendingOrder);
    Tabla()->setCurrentCell(Fila(primera), 0);

    const QString ajena = Modelo({"new", "863"});
    ASSERT_FALSE(ajena.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(Fila(ajena) >= 0, kEsperaMs);
    EXPECT_EQ(Fila(ajena), 0);
    EXPECT_EQ(Elegida(), primera);

    // Gone elsewhere: nothing is chosen rather than whatever took its row.
    Modelo({"delete", primera, "--yes"});
    QTRY_VERIFY_WITH_TIMEOUT(Fila(primera) < 0, kEsperaMs);
    EXPECT_EQ(Elegida(), QString());
    EXPECT_GE(Fila(segunda), 0);
}

TEST_F(Lista, F5ReadsTheListAgain) {
    // A change made through the window's own connection is one the watch never sees.
    const QString codigo = Nueva();
    QApplication::processEvents();
    ASSERT_LT(Fila(codigo), 0);
    QTest::keyClick(ventana.get(), Qt::Key_F5);
    EXPECT_GE(Fila(codigo), 0);
}

TEST_F(Lista, EnterAndADoubleClickOpenTheChosenDeclaration) {
    const QString a = Nueva();
    const QString b = Nueva();
    ventana->RecargarLista();
    const int fijas = ventana->Pestanas()->count(); // the list's and the clients' tabs
    Tabla()->setFocus();
    Tabla()->setCurrentCell(Fila(b), 2);
    QTest::keyClick(Tabla(), Qt::Key_Return);
    ASSERT_NE(ventana->Actual(), nullptr);
    EXPECT_EQ(TextoQt(ventana->Actual()->Codigo()), b);

    ventana->Pestanas()->setCurrentIndex(0);
    const QRect celda = Tabla()->visualItemRect(Tabla()->item(Fila(a), 1));
    QTest::mouseClick(Tabla()->viewport(), Qt::LeftButton, {}, celda.center());
    QTest::mouseDClick(Tabla()->viewport(), Qt::LeftButton, {}, celda.center());
    ASSERT_NE(ventana->Actual(), nullptr);
    EXPECT_EQ(TextoQt(ventana->Actual()->Codigo()), a);
    EXPECT_EQ(ventana->Pestanas()->count(), fijas + 2);

    // The search typed until one row is left: Enter there opens it, not the row chosen before.
    ventana->Pestanas()->setCurrentIndex(0);
    const QString c = Nueva();
    ventana->RecargarLista();
    Tabla()->setCurrentCell(Fila(a), 0);
    auto* busqueda = ventana->findChild<QLineEdit*>("busqueda");
    ASSERT_NE(busqueda, nullptr);
    busqueda->setFocus();
    QTest::keyClicks(busqueda, c.right(4));
    QTest::keyClick(busqueda, Qt::Key_Return);
    ASSERT_NE(ventana->Actual(), nullptr);
    EXPECT_EQ(TextoQt(ventana->Actual()->Codigo()), c);
}

TEST_F(Lista, NeitherTheCodeNorAHeaderIsCutAtTheDefaultSize) {
    const QString codigo = Nueva();
    ventana->RecargarLista();
    QApplication::processEvents();
    const QFontMetrics celda(Tabla()->font());
    EXPECT_GT(Tabla()->columnWidth(0), celda.horizontalAdvance(codigo) + 4);
    QHeaderView* cabecera = Tabla()->horizontalHeader();
    const QFontMetrics letra(cabecera->font());
    for (int c = 0; c < Tabla()->columnCount(); ++c) {
        const QString titulo = Tabla()->horizontalHeaderItem(c)->text();
        EXPECT_GT(cabecera->sectionSize(c), letra.horizontalAdvance(titulo) + 4)
            << titulo.toStdString();
    }
}

TEST_F(Lista, TheTabAndTheTitleNameTheClientAndMarkUnsavedChanges) {
    const QString codigo = Nueva();
    PestanaDeclaracion* p = ventana->Abrir(TextoModelo(codigo));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(TextoPestana(p), codigo); // no client yet
    EXPECT_EQ(ventana->windowTitle(), codigo + "[*] — Modelo");
    EXPECT_FALSE(ventana->isWindowModified());

    // The parties dialog binds the client elsewhere; the tab reads it as the page shows it.
    Nombrar(codigo, {"TRANSPORTES", "DEL NORTE", ""});
    p->DeshacerCambios();
    EXPECT_EQ(TextoPestana(p), "TRANSPORTES DEL NORTE");
    EXPECT_EQ(ventana->windowTitle(), codigo + " · TRANSPORTES DEL NORTE[*] — Modelo");

    Teclear(p, 60, "3");
    EXPECT_EQ(TextoPestana(p), "TRANSPORTES DEL NORTE*");
    EXPECT_TRUE(ventana->isWindowModified());
    // The mark comes from the keys alone: the page keeps the value it may have to put back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ventana->statusBar()->currentMessage(), "Declaración " + codigo + " guardada.")
        << ventana->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(TextoPestana(p), "TRANSPORTES DEL NORTE");
    EXPECT_FALSE(ventana->isWindowModified());
    EXPECT_EQ(TextoQt(host->Abrir(TextoModelo(codigo))->GetCasilla(60, 0)), "3");

    // A name longer than a tab shows is cut there, and whole in the tooltip.
    Nombrar(codigo, {"TRANSPORTES", "DEL NORTE", "SOCIEDAD LIMITADA UNIPERSONAL"});
    p->DeshacerCambios();
    const QString texto = TextoPestana(p);
    EXPECT_TRUE(texto.startsWith("TRANSPORTES DEL NORTE")) << texto.toStdString();
    EXPECT_TRUE(texto.endsWith("…")) << texto.toStdString();
    EXPECT_LE(texto.size(), 32);
    EXPECT_EQ(ventana->Pestanas()->tabToolTip(ventana->Pestanas()->indexOf(p)),
              codigo + " · TRANSPORTES DEL NORTE SOCIEDAD LIMITADA UNIPERSONAL");

    // The list names no declaration and has nothing to save.
    Teclear(p, 60, "4");
    ventana->Pestanas()->setCurrentIndex(0);
    EXPECT_FALSE(ventana->windowTitle().contains(codigo));
    EXPECT_FALSE(ventana->isWindowModified());
    ventana->Pestanas()->setCurrentWidget(p);
    EXPECT_TRUE(ventana->isWindowModified());
}

TEST_F(Lista, ClosingATabWithUnsavedChangesAsksInSpanish) {
    const QString codigo = Nueva();
    PestanaDeclaracion* p = ventana->Abrir(TextoModelo(codigo));
    ASSERT_NE(p, nullptr);
    Teclear(p, 60, "3");

    EXPECT_EQ(Responder("&Cancelar"), (QStringList{"&Cancelar", "&Descartar", "&Guardar"}));
    EXPECT_FALSE(cerrada_);
    ASSERT_EQ(ventana->Actual(), p);

    Responder("&Guardar");
    EXPECT_TRUE(cerrada_);
    EXPECT_EQ(ventana->statusBar()->currentMessage(), "Declaración " + codigo + " guardada.")
        << ventana->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(Casilla60(codigo), "3");

    p = ventana->Abrir(TextoModelo(codigo));
    Teclear(p, 60, "4");
    Responder("&Descartar");
    EXPECT_TRUE(cerrada_);
    EXPECT_EQ(Casilla60(codigo), "3");
}

TEST_F(Lista, TheWindowsMessagesAnswerInSpanishAndEscapeIsTheSafeAnswer) {
    ServiciosVentana servicios(ventana.get(), *host);
    int r = 0;
    auto preguntar = [&](UINT tipo) {
        return [&servicios, &r, tipo] { r = servicios.MessageBox("¿Seguro?", "Modelo", tipo); };
    };
    EXPECT_EQ(Responder("&Sí", preguntar(MB_YESNO | MB_ICONQUESTION)), (QStringList{"&No", "&Sí"}));
    EXPECT_EQ(r, IDYES);
    Responder("", preguntar(MB_YESNO));
    EXPECT_EQ(r, IDNO);
    EXPECT_EQ(Responder("&Aceptar", preguntar(MB_OKCANCEL)),
              (QStringList{"&Aceptar", "&Cancelar"}));
    EXPECT_EQ(r, IDOK);
    Responder("", preguntar(MB_OKCANCEL));
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(Responder("&Aceptar", preguntar(MB_OK | MB_ICONERROR)), (QStringList{"&Aceptar"}));
    EXPECT_EQ(r, IDOK);
}
