// pppd's log lines and chat's ABORT list, as the dial tracker follows them: any lines and
// any exit status give states and errors without harm.
// Input: the chat script, a NUL, the log lines; the last byte picks the exit code.
#include "dialup/pppd_dial_tracker.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = InputParts(data, size, 2);
    PppdDialTracker tracker(ChatAbortStrings(parts[0]));
    const int code = size > 0 ? data[size - 1] : 0;
    tracker.Started(code & 1);
    for (const QByteArray& line : parts[1].split('\n')) {
        tracker.Line(QString::fromUtf8(line));
        if (line.startsWith("hangup"))
            tracker.HangUpRequested();
    }
    tracker.Finished(code >> 1, code == 255);
    tracker.ChatError(code);
    return 0;
}
