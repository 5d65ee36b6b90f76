#pragma once

// A pppd phonebook in a temporary folder (a copy of tests/data/dialup/etc), a pppd provider
// working on it with the stand-in pppd, and a component bound to that provider.

#include "core/dialup_scripted_provider.h"
#include "dialup/pppd_provider.h"
#include "dialup/tras.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

inline QString DialupData(const QString& name) {
    return QStringLiteral(TALLIVO_TEST_DATA "/dialup/") + name;
}

// Dials like the main window (parameters, properties, dial) and waits for a state of 600 or
// more: connected, disconnected or an error.
#define DIAL_AND_WAIT(ras, entry)                                                                  \
    do {                                                                                           \
        (ras)->EntryName = (entry);                                                                \
        ASSERT_EQ((ras)->Connect(), 0) << (ras)->StatusStr.toStdString();                          \
        ASSERT_TRUE(WaitFor([&] { return (ras)->ConnectState >= 600; }));                          \
    } while (false)

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class PppdFixture {
  public:
    PppdFixture() {
        const QString source = DialupData(QStringLiteral("etc"));
        QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            const QString target = root.filePath(QStringLiteral("etc") + file.mid(source.size()));
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(file, target);
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        }
        QDir().mkpath(root.filePath(QStringLiteral("run")));
        QDir().mkpath(root.filePath(QStringLiteral("net")));
        qputenv("FAKE_PPPD_NET", root.filePath(QStringLiteral("net")).toUtf8());
        qputenv("FAKE_PPPD_SCENARIO", "connect");
        options.PppdPath = DialupData(QStringLiteral("fake-pppd"));
        options.PhonebookFolder = Folder();
        options.RunFolder = root.filePath(QStringLiteral("run"));
        options.NetFolder = root.filePath(QStringLiteral("net"));
        options.LogFolder = root.filePath(QStringLiteral("log"));
        options.EndedVisibleMs = 400;
    }
    ~PppdFixture() {
        qunsetenv("FAKE_PPPD_SCENARIO");
        qunsetenv("FAKE_PPPD_NET");
        qunsetenv("FAKE_PPPD_MODEM");
    }
    QString Folder() const { return root.filePath(QStringLiteral("etc/ppp")); }
    QString Path(const QString& name) const { return root.filePath(name); }

    QTemporaryDir root;
    PppdProvider::Options options;
};
