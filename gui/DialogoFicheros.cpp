#include "DialogoFicheros.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStyle>

namespace {

// Answers from the name and from what the system says of the entry (a folder, a file), never
// from its contents; the default provider reads a file to find its type when the name does
// not tell it, and a theme's provider may read it for a thumbnail.
class IconosSinLeer : public QAbstractFileIconProvider {
public:
    // The icons are made here, in the window's thread; the dialog asks for them from another.
    IconosSinLeer()
        : carpeta_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
          fichero_(QApplication::style()->standardIcon(QStyle::SP_FileIcon)),
          disco_(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon)) {}

    QIcon icon(IconType tipo) const override {
        switch (tipo) {
        case Folder:
            return carpeta_;
        case Drive:
        case Computer:
            return disco_;
        default:
            return fichero_;
        }
    }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot())
            return disco_;
        return info.isDir() ? carpeta_ : fichero_;
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return "Carpeta";
        const QString extension = info.suffix();
        return extension.isEmpty() ? QString("Fichero") : "Fichero " + extension.toUpper();
    }

private:
    QIcon carpeta_, fichero_, disco_;
};

// Where the dialogs start: the folder the person chose last, else the documents folder. Not
// the working folder, which may well be the database's, so that exports do not pile up there.
QString& UltimaCarpeta() {
    static QString carpeta;
    return carpeta;
}

QString CarpetaInicial() {
    if (!UltimaCarpeta().isEmpty())
        return UltimaCarpeta();
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documentos.isEmpty() && QDir(documentos).exists() ? documentos : QDir::homePath();
}

QString Pedir(QWidget* padre, const QString& titulo, const QString& propuesto,
              const QString& filtro, QFileDialog::AcceptMode modo) {
    IconosSinLeer iconos;
    QFileDialog dialogo(padre, titulo, QDir(CarpetaInicial()).filePath(propuesto), filtro);
    // The desktop's own dialog runs code of its own that may read the files.
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setIconProvider(&iconos);
    dialogo.setAcceptMode(modo);
    dialogo.setFileMode(modo == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return QString();
    const QString elegido = dialogo.selectedFiles().constFirst();
    UltimaCarpeta() = QFileInfo(elegido).absolutePath();
    return elegido;
}

} // namespace

QString PedirFicheroParaAbrir(QWidget* padre, const QString& titulo, const QString& filtro) {
    return Pedir(padre, titulo, QString(), filtro, QFileDialog::AcceptOpen);
}

QString PedirFicheroParaGuardar(QWidget* padre, const QString& titulo, const QString& propuesto,
                                const QString& filtro) {
    return Pedir(padre, titulo, propuesto, filtro, QFileDialog::AcceptSave);
}
