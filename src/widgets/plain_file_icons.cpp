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
        return QApplication::style()->standardIcon(info.isDir() ? QStyle::SP_DirIcon
                                                                : QStyle::SP_FileIcon);
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("Dossier");
        // The extension alone: the dialog's column is narrow.
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fichier") : suffix.toUpper();
    }
};
} // namespace

void UsePlainFileIcons(QFileDialog& dialog) {
    // The dialogs do not own their provider: this one lasts as long as the program.
    static PlainFileIconProvider provider;
    dialog.setIconProvider(&provider);
}
