#include "dialup/ui/pppd_entry_dialog.h"

#include "dialup/entry_names.h"
#include "dialup/error_texts.h"
#include "dialup/ras_records.h"
#include "widgets/dialog_buttons.h"
#include "widgets/message_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {
// Shown for an entry whose options name no port or speed (pppd then keeps its own); left
// unwritten unless the user picks another.
const QString DefaultDevice = QStringLiteral("/dev/ttyS0");
const QString DefaultSpeed = QStringLiteral("115200");

QComboBox* EditableList(const QStringList& items, const QString& current, const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->addItems(items);
    box->setCurrentText(current);
    return box;
}
} // namespace

TPppdEntryDialog::TPppdEntryDialog(const QString& phonebookFolder, const QString& entryName,
                                   QWidget* parent)
    : QDialog(parent), Book(phonebookFolder), Creating(entryName.isEmpty()) {
    setObjectName(QStringLiteral("PppdEntryDialog"));
    if (!Creating && !Book.Read(entryName, &Entry))
        Entry.Name = entryName;
    setWindowTitle(Creating ? QStringLiteral("Nouvelle connexion")
                            : QStringLiteral("Propriétés de ") + entryName);

    auto* layout = new QFormLayout(this);
    EntryName = new QLineEdit(Entry.Name);
    EntryName->setObjectName(QStringLiteral("EntryName"));
    EntryName->setReadOnly(!Creating);
    EntryName->setMaxLength(64);
    PhoneNumber = new QLineEdit(Entry.PhoneNumber);
    PhoneNumber->setObjectName(QStringLiteral("PhoneNumber"));
    PhoneNumber->setMaxLength(Ras::MaxPhoneNumber);
    SerialPort = EditableList({DefaultDevice, "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3",
                               "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/modem"},
                              Entry.Device.isEmpty() ? DefaultDevice : Entry.Device, "SerialPort");
    Speed = EditableList({DefaultSpeed, "57600", "38400", "19200", "9600"},
                         Entry.Speed.isEmpty() ? DefaultSpeed : Entry.Speed, "Speed");
    UserName = new QLineEdit(Entry.UserName);
    UserName->setObjectName(QStringLiteral("UserName"));
    UserName->setMaxLength(Ras::MaxUserName);
    // Wide enough for a full user name such as "jean.dupont@fournisseur.fr".
    for (QWidget* field : QList<QWidget*>{EntryName, PhoneNumber, SerialPort, Speed, UserName})
        field->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 32);
    layout->addRow(QStringLiteral("Nom de la connexion :"), EntryName);
    layout->addRow(QStringLiteral("Téléphone :"), PhoneNumber);
    layout->addRow(QStringLiteral("Port modem :"), SerialPort);
    layout->addRow(QStringLiteral("Vitesse (bit/s) :"), Speed);
    layout->addRow(QStringLiteral("Nom utilisateur :"), UserName);
    layout->addRow(OkCancelButtons(this));
}

void TPppdEntryDialog::accept() {
    PppdEntry entry = Entry;
    entry.Name = EntryName->text().trimmed();
    entry.PhoneNumber = PhoneNumber->text().trimmed();
    entry.Device = SerialPort->currentText().trimmed();
    if (!entry.Device.isEmpty() && !entry.Device.startsWith(QLatin1Char('/')))
        entry.Device.prepend(QStringLiteral("/dev/")); // "ttyS1", as pppd takes it too
    entry.Speed = Speed->currentText().trimmed();
    entry.UserName = UserName->text().trimmed();
    if (!Creating && Entry.Device.isEmpty() && entry.Device == DefaultDevice)
        entry.Device.clear();
    if (!Creating && Entry.Speed.isEmpty() && entry.Speed == DefaultSpeed)
        entry.Speed.clear();
    if (Creating && !IsShellSafeEntryName(entry.Name.toUtf8())) {
        ShowMessageBox(BoxKind::Error, SystemMessageText(Ras::InvalidName), {BoxButton::Ok}, this);
        return;
    }
    if (Creating && Book.NameTaken(entry.Name)) {
        // A chat script of that name alone (another program's) would be written over.
        ShowMessageBox(BoxKind::Error,
                       Book.Exists(entry.Name)
                           ? SystemMessageText(Ras::AlreadyExists)
                           : QStringLiteral("Un script de numérotation porte déjà ce nom : %1.")
                                 .arg(Book.ChatFile(entry.Name)),
                       {BoxButton::Ok}, this);
        return;
    }
    if (entry.PhoneNumber.isEmpty()) {
        ShowMessageBox(BoxKind::Error, QStringLiteral("Indiquez le numéro de téléphone."),
                       {BoxButton::Ok}, this);
        return;
    }
    // A new user name takes the entry's own password along.
    bool moved = false;
    if (const Result written = Creating ? Book.Write(entry)
                                        : Book.ChangeUserWithSecrets(
                                              Entry, entry.UserName, {},
                                              [&] { return Book.Update(Entry, entry); }, &moved);
        !written) {
        ShowMessageBox(BoxKind::Error, written.Message(), {BoxButton::Ok}, this);
        return;
    }
    QDialog::accept();
}
