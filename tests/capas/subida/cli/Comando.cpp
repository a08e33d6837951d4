// The program may paint with Qt, but a widget belongs to the window.
#include <QImage>
#include <QLabel>
#include <QtWidgets/QMessageBox>
