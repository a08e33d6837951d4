// The host both faces run on draws nothing: Qt is for the faces.
#include <QImage>
