// The alarm sound for real: a sound server with a null output, the WAV file played by the
// program, and the output captured to prove the tone was heard. Each alarm runs in a fresh
// copy of this test program, since the audio outputs are looked for once per process.

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/program_files.h"
#include "support/test_support.h"
#include "support/ui_support.h"
#include "widgets/tform1.h"
#include "widgets/wav_player.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>

TEST(SoundAlarmHelper, PlaysTheTimeAlarm) {
    const QString folder = qEnvironmentVariable("TALLIVO_SOUND_HELPER_FOLDER");
    if (folder.isEmpty())
        GTEST_SKIP() << "run by SoundAlarm only";
    ScopedClock clock(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    CreateWindowsOfProgramIn(folder);

    const auto say = [](const QByteArray& line) {
        std::printf("%s\n", line.constData());
        std::fflush(stdout);
    };
    say("CAPABLE " + QByteArray::number(Form1->WAVPlayer1->WAVCapable()));
    QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::PlaybackStarted, [&] { say("PLAYED"); });
    QObject::connect(Form1->WAVPlayer1, &TWAVPlayer::Beeped, [&] { say("BEEPED"); });
    Form1->CheckBox1->setChecked(true);
    Form1->RadioButton5->setChecked(true);
    Form1->SpinEdit2->setValue(1);
    Form1->SelectAlarmSound();
    Form1->SpeedButton1->click();
    Form1->SpeedButton2->click();
    clock.clock.advanceSeconds(60);
    Form1->Timer1Timer();
    EXPECT_TRUE(WaitUntil([] { return !Form1->WAVPlayer1->IsPlaying(); }, 15000));
    say("ENDED");

    // A sound chosen again replaces the file under the same name: the next alarm plays it.
    const QString secondTone = qEnvironmentVariable("TALLIVO_SOUND_HELPER_SECOND_TONE");
    if (!secondTone.isEmpty()) {
        QFile::remove(ProgramFiles::SoundFileName());
        QFile::copy(secondTone, ProgramFiles::SoundFileName());
        Form1->SelectAlarmSound();
        clock.clock.advanceSeconds(60);
        Form1->Timer1Timer();
        EXPECT_TRUE(WaitUntil([] { return !Form1->WAVPlayer1->IsPlaying(); }, 15000));
        say("ENDED AGAIN");
    }
    Form1->SpeedButton4->click();
    DestroyWindows();
}

namespace {
// A private sound server with one null output, ended by its process id.
class SoundServer {
  public:
    SoundServer() {
        QDir(home.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        server.setProcessEnvironment(Environment());
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(QStringLiteral("pulseaudio"),
                     {"--daemonize=no", "--exit-idle-time=-1", "-n", "--load=module-null-sink",
                      "--load=module-native-protocol-unix"});
        started = server.waitForStarted(5000) &&
                  WaitUntil([this] { return QFile::exists(runtime() + "/pulse/native"); }, 15000);
    }
    ~SoundServer() {
        if (server.state() != QProcess::NotRunning) {
            ::kill(pid_t(server.processId()), SIGTERM);
            if (!server.waitForFinished(5000)) {
                ::kill(pid_t(server.processId()), SIGKILL);
                server.waitForFinished(5000);
            }
        }
    }
    QString runtime() const { return home.filePath(QStringLiteral("runtime")); }
    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.remove(QStringLiteral("PULSE_SERVER"));
        return environment;
    }
    QString Log() { return QString::fromLocal8Bit(server.readAll()); }
    bool started = false;

  private:
    QTemporaryDir home;
    QProcess server;
};

// Runs the helper above in a fresh process; returns what it said.
QByteArray RunAlarmHelper(const QString& programFolder, QProcessEnvironment environment) {
    environment.insert(QStringLiteral("TALLIVO_SOUND_HELPER_FOLDER"), programFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SoundAlarmHelper.*")});
    if (!helper.waitForFinished(60000)) {
        ::kill(pid_t(helper.processId()), SIGKILL);
        helper.waitForFinished(5000);
    }
    return helper.readAllStandardOutput();
}

bool MakeTone(const QString& fileName, int frequency) {
    return QProcess::execute(QStringLiteral("sox"),
                             {"-n", "-r", "44100", "-c", "1", "-b", "16", fileName, "synth", "1.0",
                              "sine", QString::number(frequency), "vol", "0.5"}) == 0;
}

struct ToneFound {
    double seconds = 0;
    double frequency = 0;
    double rms = 0;
};

// The loud part of a capture (mono, 16 bits, 44100 Hz): its length, its frequency from the
// zero crossings and its level.
ToneFound AnalyseCapture(const QByteArray& capture) {
    const auto* samples = reinterpret_cast<const qint16*>(capture.constData());
    const qsizetype count = capture.size() / 2;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < count; ++i)
        if (std::abs(int(samples[i])) > 3000) {
            if (first < 0)
                first = i;
            last = i;
        }
    ToneFound found;
    if (first < 0 || last <= first)
        return found;
    // Gaps of silence (a loaded machine starves the sound server) count no time, so that
    // they do not lower the frequency found.
    int crossings = 0;
    qsizetype sounding = 0;
    double energy = 0;
    for (qsizetype i = first; i <= last; ++i) {
        energy += double(samples[i]) * samples[i];
        if (std::abs(int(samples[i])) > 200)
            ++sounding;
        if (i > first && (samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    found.seconds = double(last - first) / 44100.0;
    found.frequency = crossings / 2.0 / (double(sounding) / 44100.0);
    found.rms = std::sqrt(energy / double(last - first + 1));
    return found;
}
// Records the sink's output while something plays; ends the recorder by its process id.
class OutputCapture {
  public:
    explicit OutputCapture(const QProcessEnvironment& environment) {
        recorder.setProcessEnvironment(environment);
        recorder.start(QStringLiteral("parec"),
                       {"-d", "null.monitor", "--raw", "--rate=44100", "--channels=1",
                        "--format=s16le", "--latency-msec=10"});
        running = recorder.waitForStarted(5000) && WaitUntil(
                                                       [this] {
                                                           Collect();
                                                           return captured.size() > 4410;
                                                       },
                                                       10000);
    }
    ~OutputCapture() { Stop(); }
    void Collect() { captured += recorder.readAllStandardOutput(); }
    void CollectFor(int milliseconds) {
        const qsizetype after = captured.size();
        WaitUntil(
            [&] {
                Collect();
                return captured.size() > after + 44100 * 2 * milliseconds / 1000;
            },
            milliseconds + 4000);
    }
    void Stop() {
        if (recorder.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(recorder.processId()), SIGTERM);
        recorder.waitForFinished(5000);
        Collect();
    }
    bool running = false;
    QByteArray captured;

  private:
    QProcess recorder;
};

// The power of one frequency in a stretch of the capture (Goertzel).
double PowerAt(const QByteArray& part, double frequency) {
    const auto* samples = reinterpret_cast<const qint16*>(part.constData());
    const qsizetype count = part.size() / 2;
    const double coefficient = 2 * std::cos(2 * M_PI * frequency / 44100.0);
    double previous = 0, beforePrevious = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious -
           coefficient * previous * beforePrevious;
}

// A stretch of the capture's loud part, from its start (offset >= 0) or from its end
// (offset < 0), in seconds.
QByteArray LoudPart(const QByteArray& capture, double offset, double length) {
    const auto* samples = reinterpret_cast<const qint16*>(capture.constData());
    const qsizetype count = capture.size() / 2;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < count; ++i)
        if (std::abs(int(samples[i])) > 3000) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return {};
    const qsizetype size = qsizetype(length * 44100);
    const qsizetype from =
        offset >= 0 ? first + qsizetype(offset * 44100) : last + qsizetype(offset * 44100);
    return capture.mid(std::max(from, first) * 2, size * 2);
}
} // namespace

TEST(SoundAlarm, TheChosenWavIsPlayedToTheSoundOutput) {
    SoundServer server;
    ASSERT_TRUE(server.started) << server.Log().toStdString();
    QTemporaryDir program;
    ASSERT_TRUE(MakeTone(program.filePath("tallivo.wav"), 880));

    OutputCapture capture(server.Environment());
    ASSERT_TRUE(capture.running);

    const QByteArray said = RunAlarmHelper(program.path(), server.Environment());
    EXPECT_TRUE(said.contains("CAPABLE 1")) << said.toStdString();
    EXPECT_TRUE(said.contains("PLAYED")) << said.toStdString();
    EXPECT_FALSE(said.contains("BEEPED"));
    EXPECT_TRUE(said.contains("ENDED"));
    capture.CollectFor(1000);
    capture.Stop();

    const ToneFound tone = AnalyseCapture(capture.captured);
    EXPECT_GT(tone.seconds, 0.5) << "no tone in " << capture.captured.size() << " bytes";
    EXPECT_NEAR(tone.frequency, 880, 30);
    EXPECT_GT(tone.rms, 4000);
}

TEST(SoundAlarm, ASoundChosenAgainUnderTheSameNameIsTheOneHeard) {
    SoundServer server;
    ASSERT_TRUE(server.started) << server.Log().toStdString();
    QTemporaryDir program;
    ASSERT_TRUE(MakeTone(program.filePath("tallivo.wav"), 880));
    ASSERT_TRUE(MakeTone(program.filePath("second.wav"), 440));
    OutputCapture capture(server.Environment());
    ASSERT_TRUE(capture.running);

    QProcessEnvironment environment = server.Environment();
    environment.insert(QStringLiteral("TALLIVO_SOUND_HELPER_SECOND_TONE"),
                       program.filePath("second.wav"));
    const QByteArray said = RunAlarmHelper(program.path(), environment);
    EXPECT_TRUE(said.contains("ENDED AGAIN")) << said.toStdString();
    capture.CollectFor(1000);
    capture.Stop();

    // The first alarm is the first tone; the end of what was heard is the second alarm's.
    // Which tone dominates is measured at both frequencies, so that the gaps and clicks of a
    // loaded machine do not matter.
    ASSERT_GT(AnalyseCapture(capture.captured).seconds, 1.5)
        << "two alarms expected in " << capture.captured.size() << " bytes";
    const QByteArray first = LoudPart(capture.captured, 0.1, 0.5);
    const QByteArray last = LoudPart(capture.captured, -0.7, 0.5);
    EXPECT_GT(PowerAt(first, 880), 4 * PowerAt(first, 440));
    EXPECT_GT(PowerAt(last, 440), 4 * PowerAt(last, 880)) << "the former sound was played again";
}

TEST(SoundAlarm, WithoutASoundServerTheSameAlarmBeeps) {
    QTemporaryDir program;
    ASSERT_TRUE(MakeTone(program.filePath("tallivo.wav"), 880));
    QTemporaryDir runtime; // no server listens here
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("HOME"), runtime.path());
    environment.remove(QStringLiteral("PULSE_SERVER"));

    const QByteArray said = RunAlarmHelper(program.path(), environment);
    EXPECT_TRUE(said.contains("CAPABLE 0")) << said.toStdString();
    EXPECT_TRUE(said.contains("BEEPED")) << said.toStdString();
    EXPECT_FALSE(said.contains("PLAYED"));
}

TEST(SoundAlarm, AFileQtCannotDecodeBeepsInstead) {
    SoundServer server;
    ASSERT_TRUE(server.started) << server.Log().toStdString();
    QTemporaryDir program;
    QFile notASound(program.filePath("tallivo.wav"));
    ASSERT_TRUE(notASound.open(QIODevice::WriteOnly));
    notASound.write(QByteArray("RIFF\x24\x00\x00\x00WAVEnot a sound at all", 30));
    notASound.close();

    const QByteArray said = RunAlarmHelper(program.path(), server.Environment());
    EXPECT_TRUE(said.contains("CAPABLE 1")) << said.toStdString();
    EXPECT_TRUE(said.contains("BEEPED")) << said.toStdString();
}
