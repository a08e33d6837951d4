// The window's file dialogs, which read no file of the folders they show.
#pragma once

#include <QString>

class QWidget;

// The folder shown may hold the database: a dialog that opened its files to guess their types
// would drop the locks this process holds on them (closing any descriptor of a file does), and
// the next program to finish would delete the log the window still writes into. These
// dialogs tell a file's type by its name only. They start in the folder chosen last, else in
// the documents folder. Empty when the person cancels.
QString PedirFicheroParaAbrir(QWidget* padre, const QString& titulo, const QString& filtro);
QString PedirFicheroParaGuardar(QWidget* padre, const QString& titulo, const QString& propuesto,
                                const QString& filtro);
