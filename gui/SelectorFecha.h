// A date picker of the page as the keyboard works it: Tab leaves it (its day, month and year
// are reached with the arrows), F4 or Alt+Down opens its calendar, a date may be typed into an
// empty one, and an optional picker is emptied by deleting its whole date.
#pragma once

#include <QDateEdit>

class SelectorFecha : public QDateEdit {
    Q_OBJECT
public:
    // An optional picker shows no date while it holds `SinFecha()`.
    SelectorFecha(bool opcional, QWidget* parent = nullptr);

    static QDate SinFecha();
    bool Vacio() const { return date() == SinFecha(); }
    // The calendar, shown as a click on the arrow shows it.
    void AbrirCalendario();
    // The letter of `fuente`, made smaller where a date would not fit beside the arrow.
    void AjustarFuente(const QFont& fuente, int minimo);

protected:
    bool focusNextPrevChild(bool siguiente) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    bool opcional_;
};
