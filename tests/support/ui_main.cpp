#include "app/single_instance.h"
#include "timesync/clock_setter.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
// No test sets the machine's clock: the clock tests install a setter on a mock time service.
class ClockLeftAlone : public ClockSetter {
  public:
    Result SetUtc(const QDateTime&) override {
        return Result::Failure(
            QStringLiteral("les tests ne changent jamais l'heure de la machine."));
    }
};
} // namespace

int main(int argc, char** argv) {
    ClockLeftAlone clockLeftAlone;
    SetAppClockSetter(&clockLeftAlone);
    // Widget tests run offscreen unless told otherwise, also when CTest lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/tallivo-test-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    // Printers come from a print server of the tests' own (none unless a test starts it),
    // never from the machine's: the path is fixed before anything asks for printers.
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        qputenv("CUPS_SERVER", QStringLiteral("%1/tallivo-test-cups-%2/cups.sock")
                                   .arg(QDir::tempPath())
                                   .arg(QCoreApplication::applicationPid())
                                   .toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    TOnlyOne::SetEnforcedByDefault(false);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
