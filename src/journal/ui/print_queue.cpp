#include "journal/ui/print_queue.h"

#include "widgets/message_box.h"

#include <QPrinter>
#include <cups/cups.h>

namespace {
enum class QueueState { Ready, Refusing, Stopped };

QueueState StateOf(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return QueueState::Ready; // a file, not a queue
    const QByteArray name = printer.printerName().toLocal8Bit();
    const qsizetype slash = name.indexOf('/');
    const QByteArray queue = slash < 0 ? name : name.left(slash);
    const QByteArray instance = slash < 0 ? QByteArray() : name.mid(slash + 1);
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return QueueState::Ready; // the print system says why when the job is sent
    const auto option = [dest](const char* key) {
        return QByteArray(cupsGetOption(key, dest->num_options, dest->options));
    };
    const QueueState state = option("printer-is-accepting-jobs") == "false" ? QueueState::Refusing
                             : option("printer-state") == "5"               ? QueueState::Stopped
                                                                            : QueueState::Ready;
    cupsFreeDests(1, dest);
    return state;
}
} // namespace

bool PrintQueueTakesJobs(const QPrinter& printer, QWidget* parent) {
    if (StateOf(printer) != QueueState::Refusing)
        return true;
    ShowMessageBox(BoxKind::Error,
                   QStringLiteral("L'imprimante ") + printer.printerName() +
                       QStringLiteral(" n'accepte pas de travaux pour le moment. Rien n'a été "
                                      "imprimé."),
                   {BoxButton::Ok}, parent);
    return false;
}

void TellIfPrintQueueIsStopped(const QPrinter& printer, QWidget* parent) {
    if (StateOf(printer) != QueueState::Stopped)
        return;
    ShowMessageBox(BoxKind::Information,
                   QStringLiteral("L'imprimante ") + printer.printerName() +
                       QStringLiteral(" est arrêtée : l'impression attendra dans sa file "
                                      "qu'elle soit remise en marche."),
                   {BoxButton::Ok}, parent);
}
