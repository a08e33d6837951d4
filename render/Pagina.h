// A page view drawn as a person sees it on screen: the page image, every visible control with
// what it shows, the disabled ones greyed, the two codes. Qt's drawing, for images only; the
// framework library and the plug-ins never see Qt.
#pragma once

#include "Modelo/GuiaView.h"

#include <QImage>
#include <string>

// The view at its page's size, 770 x 1125 pixels. A null image when the page image is not in
// the resource chain.
QImage DibujarVista(const CGuiaView& vista);

// The page's background image, as the plug-in ships it.
QImage FondoDeVista(const CGuiaView& vista);

// Writes the image as PNG through the host's atomic file writer: a failed write keeps the file
// that was there. False with the reason, one Spanish line, in `error`.
bool GuardarPNG(const QImage& imagen, const std::string& ruta, std::string& error);
