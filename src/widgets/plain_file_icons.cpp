#include "widgets/plain_file_icons.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStyle>

namespace {
class PlainFileIconProvider : public QFileIconProvider {
  public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        // The same two icons each time: a new one per file and per opening of the dialog
        // would add its pictures to Qt's pixmap cache under new keys, 25 KB an opening.
        if (folderIcon.isNull()) {
            folderIcon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
            fileIcon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        }
        return info.isDir() ? folderIcon : fileIcon;
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("Dossier");
        // The extension alone: the dialog's column is narrow.
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fichier") : suffix.toUpper();
    }

  private:
    mutable QIcon folderIcon;
    mutable QIcon fileIcon;
};
} // namespace

void UsePlainFileIcons(QFileDialog& dialog) {
    // The dialogs do not own their provider: this one lasts as long as the program.
    static PlainFileIconProvider provider;
    dialog.setIconProvider(&provider);
}
