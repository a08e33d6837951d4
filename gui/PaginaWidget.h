// One page of a declaration on screen: the page image, and over it one real widget per control
// of the page's view. What a person does to a widget reaches the view as the notifications of
// its window model; what the view's rules change reaches the widgets through the observer.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Modelo/windows/GuiaView.h"
#endif

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <map>

class QKeyEvent;

class PaginaWidget : public QWidget, public IObservadorVista {
    Q_OBJECT
public:
    PaginaWidget(CGuiaView& vista, QWidget* parent = nullptr);
    ~PaginaWidget() override;

    CGuiaView& Vista() { return vista_; }
    // The widget of a control of the view; null for an unknown id.
    QWidget* WidgetDe(int idControl) const;
    int IdDe(const QWidget* w) const; // 0 for a widget that is not a control's
    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);
    QSize sizeHint() const override;

    void VentanaCambiada(int idControl, CambioVentana cambio) override;

    // Settles the box being typed in as leaving it would (its rules run, a refused value is put
    // back), and keeps the person in it. A shortcut or a toolbar button takes no focus, so a save
    // or a print would otherwise read a value no rule has seen.
    void TerminarEdicion();

    // The view offers the month list on a control. It drops down when the person clicked into
    // the box; a box reached by keys only offers it (Alt+Down or F4), so that Tab goes on.
    void ListaMeses(int idControl);
    // The list of a control as it is open now; null when none is.
    QWidget* ListaAbierta() const;

signals:
    // The view wants a control in sight (a finding was chosen, the focus moved to it).
    void MostrarWidget(QWidget* w);
    // F1 on a control that shows a box.
    void AyudaCasilla(int casilla);
    // A person changed something on the page.
    void Editada();
    // A button of the page did its work (a dialog it opened may have filled boxes).
    void Pulsado();

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void Crear(CWnd& w);
    void Colocar(int id);
    void Actualizar(int id);
    void FocoCambiado(QWidget* antes, QWidget* ahora);
    void TextoEditado(int id, const QString& texto);
    void Nombrar(int id);
    void DesplegarLista(int id);
    bool TeclaDeWidget(QWidget* w, QKeyEvent* e);

    CGuiaView& vista_;
    QImage fondo_;
    double zoom_ = 1.0;
    std::map<int, QWidget*> widgets_;
    std::map<const QWidget*, int> ids_;
    int aplicando_ = 0; // > 0 while the model is being mirrored onto the widgets
    Qt::FocusReason razonFoco_ = Qt::OtherFocusReason; // of the last control that took it
    int listaOfrecida_ = 0;                            // the control the month list is for
    QPointer<QWidget> lista_;
};

// The object name of a control's widget: its view and its id, unique in the whole window.
QString NombreControl(const CGuiaView& vista, int id);
