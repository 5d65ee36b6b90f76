#include "tariff/wininet_control.h"

#include "tariff/curl_library.h"
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <chrono>

namespace {
// How long an ending program waits for a server operation it could not stop.
constexpr int QuitWaitMs = 2000;

CURL* Handle(void* session) {
    return static_cast<CURL*>(session);
}

// Keeps the last reply line of the server (libcurl hands FTP replies to the header callback).
size_t KeepReply(char* data, size_t size, size_t count, void* target) {
    const size_t length = size * count;
    const QString line = QString::fromUtf8(data, static_cast<qsizetype>(length)).trimmed();
    if (!line.isEmpty())
        *static_cast<QString*>(target) = line;
    return length;
}

qint64 SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Called by libcurl about once a second even when nothing arrives: a transfer ends when it
// is aborted or when no byte went through for the stall time.
int CheckProgress(void* target, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
    auto* watch = static_cast<TWinInetControl::TransferWatch*>(target);
    if (watch->abortRequested)
        return 1;
    const qint64 now = SteadyMs();
    if (received + sent != watch->lastBytes) {
        watch->lastBytes = received + sent;
        watch->lastProgressMs = now;
        return 0;
    }
    return now - watch->lastProgressMs > watch->stallMs ? 1 : 0;
}
} // namespace

TWinInetControl::TWinInetControl(QObject* parent) : QObject(parent) {
    static const bool initialised = Curl().global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(initialised);
}

TWinInetControl::~TWinInetControl() {
    Abort();
    if (curl)
        Curl().easy_cleanup(Handle(curl));
}

void TWinInetControl::SetConnectTimeout(int milliseconds) {
    connectTimeoutMs = milliseconds == 0 ? 300000 : milliseconds;
}

void TWinInetControl::SetState(int newState) {
    if (newState == state)
        return;
    state = newState;
    emit OnStateChange(state);
}

void* TWinInetControl::Session() {
    if (!curl)
        curl = Curl().easy_init();
    return curl;
}

void TWinInetControl::CloseSession() {
    if (!curl)
        return;
    // The cleanup says goodbye to the server (QUIT), which may be slow to answer.
    void* closing = curl;
    curl = nullptr;
    RunOffThread([closing] {
        Curl().easy_cleanup(Handle(closing));
        return 0;
    });
}

void TWinInetControl::PrepareTransfer(const QByteArray& url) {
    CURL* handle = Handle(Session());
    Curl().easy_reset(handle); // the cached connection survives a reset
    Curl().easy_setopt(handle, CURLOPT_URL, url.constData());
    Curl().easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    Curl().easy_setopt(handle, CURLOPT_USERNAME, UserName.toUtf8().constData());
    Curl().easy_setopt(handle, CURLOPT_PASSWORD, Password.toUtf8().constData());
    Curl().easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs));
    const long stall = std::max(1, StallTimeout);
    watch.stallMs = stall * 1000;
    Curl().easy_setopt(handle, CURLOPT_FTP_RESPONSE_TIMEOUT, stall);
    Curl().easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(std::max(1, OperationTimeout)));
    Curl().easy_setopt(handle, CURLOPT_HEADERFUNCTION, KeepReply);
    Curl().easy_setopt(handle, CURLOPT_HEADERDATA, &lastReply);
    Curl().easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    Curl().easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, CheckProgress);
    Curl().easy_setopt(handle, CURLOPT_XFERINFODATA, &watch);
}

int TWinInetControl::RunOffThread(const std::function<int()>& work) {
    if (running) // an operation of this session is already under way further up the stack
        return lastError = CURLE_AGAIN;
    running = true;
    watch.abortRequested = false;
    watch.lastBytes = -1;
    watch.lastProgressMs = SteadyMs();
    // Held apart from this stack frame: a worker that outlives the program's end keeps it.
    struct Job {
        std::function<int()> work;
        std::atomic<int> result{CURLE_OK};
    };
    auto job = std::make_shared<Job>();
    job->work = work;
    QThread* worker = QThread::create([job] { job->result = job->work(); });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    if (!worker->isFinished()) {
        // The application is quitting, which ends every event loop: stop the transfer. A
        // server's goodbye (QUIT) cannot be stopped; the program does not wait long for it,
        // so that the session's last row is written before the system loses patience.
        Abort();
        if (!worker->wait(QDeadlineTimer(QuitWaitMs))) {
            running = false;
            return lastError = CURLE_ABORTED_BY_CALLBACK; // the worker is left to end alone
        }
    }
    delete worker;
    running = false;
    return lastError = job->result;
}
