#include "tariff/received_tariff_file.h"

#include "base/cell_grid.h"
#include "base/safe_write.h"
#include "tariff/tariff_table.h"

#include <QFile>
#include <QFileInfo>

namespace ReceivedTariffFile {
namespace {
bool RowsComplete(const TCellGrid& grid, int rows) {
    for (int row = 0; row < rows; ++row) {
        for (int col = 1; col < TariffTable::ColumnCount; ++col)
            if (grid.Cells(col, row).trimmed().isEmpty())
                return false;
        for (int col = TariffTable::ColumnCount; col < grid.ColCount(); ++col)
            if (!grid.Cells(col, row).isEmpty())
                return false;
    }
    return true;
}
} // namespace

Verdict Check(const QString& fileName) {
    const qint64 size = QFileInfo(fileName).size();
    if (size <= 0)
        return Verdict::Empty;
    if (size > MaxSize)
        return Verdict::TooLarge;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.readAll().contains('\0'))
        return Verdict::NotTariffFile;
    TCellGrid grid;
    const TariffTable::FileLoad load = TariffTable::LoadFile(grid, fileName);
    if (load.rows == 0 || !load.result || !RowsComplete(grid, load.rows))
        return Verdict::NotTariffFile;
    return Verdict::Accepted;
}

QString RefusalText(Verdict verdict) {
    QString reason;
    switch (verdict) {
    case Verdict::Accepted:
        return QString();
    case Verdict::Interrupted:
        reason = QStringLiteral("le transfert a été interrompu");
        break;
    case Verdict::Empty:
        reason = QStringLiteral("il est vide");
        break;
    case Verdict::TooLarge:
        reason = QStringLiteral("il dépasse la taille permise (1 Mo)");
        break;
    case Verdict::NotTariffFile:
        reason = QStringLiteral("ce n'est pas un fichier de tarifs lisible");
        break;
    case Verdict::NotWritten:
        reason = QStringLiteral("il n'a pas pu être écrit sur le disque, qui est peut-être plein");
        break;
    }
    return QStringLiteral("Le fichier reçu a été refusé : %1.\nVotre fichier de tarifs actuel "
                          "est conservé.")
        .arg(reason);
}

Result Install(const QString& receivedFileName, const QString& tariffFileName) {
    QFile received(receivedFileName);
    if (!received.open(QIODevice::ReadOnly))
        return Result::Failure(QStringLiteral("Impossible de lire %1 (%2)")
                                   .arg(receivedFileName, received.errorString()));
    const QByteArray contents = received.readAll();
    received.close();
    Result written = WriteFileSafely(tariffFileName, contents);
    if (written)
        received.remove();
    return written;
}
} // namespace ReceivedTariffFile
