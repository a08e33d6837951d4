// A page view drawn as a person sees it on screen: the page image, every visible control with
// what it shows, the disabled ones greyed, the two codes. Qt's drawing, for images only; the
// framework library and the plug-ins never see Qt.
#pragma once

#include "Modelo/GuiaView.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <string>

// A bitmap of the resource chain; null when no module has it.
QImage BitmapRecurso(UINT id);
// A rendered code as a grayscale image, one pixel per pixel.
QImage ImagenQt(const stImagenCodigo& imagen);
// A window's font as Qt draws it: the platform's faces mapped to the ones every Linux machine
// of ours has, the pixel height scaled.
QFont FuenteQt(const LOGFONT& lf, double escala = 1.0);
// Box texts are bytes: UTF-8 when they are, Latin-1 otherwise.
QString TextoQt(const CString& t);
CString TextoModelo(const QString& t);

// The view at its page's size, 770 x 1125 pixels. A null image when the page image is not in
// the resource chain.
QImage DibujarVista(const CGuiaView& vista);

// The page's background image, as the plug-in ships it.
QImage FondoDeVista(const CGuiaView& vista);

// Writes the image as PNG through the host's atomic file writer: a failed write keeps the file
// that was there. False with the reason, one Spanish line, in `error`.
bool GuardarPNG(const QImage& imagen, const std::string& ruta, std::string& error);
