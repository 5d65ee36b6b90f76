#include "dialup/pppd_dial_tracker.h"

#include "dialup/ras_records.h"

#include <QRegularExpression>

PppdDialTracker::PppdDialTracker(QStringList abortStrings) : aborts(std::move(abortStrings)) {}

QList<DialProgress> PppdDialTracker::Reach(quint32 target) {
    // Every state up to the target is reported once, in order: a log that skips some of
    // them (no chat lines, no authentication) still walks the whole sequence.
    static const quint32 sequence[] = {
        Ras::OpenPort,        Ras::PortOpened,          Ras::ConnectDevice,
        Ras::DeviceConnected, Ras::AllDevicesConnected, Ras::Authenticate,
        Ras::Authenticated,   Ras::Projected,           Ras::Connected};
    const int count = int(sizeof sequence / sizeof sequence[0]);
    auto indexOf = [&](quint32 value) {
        for (int i = 0; i < count; ++i)
            if (sequence[i] == value)
                return i;
        return -1;
    };
    QList<DialProgress> reached;
    if (state == Ras::Disconnected)
        return reached;
    const int from = started ? indexOf(state) + 1 : 0;
    const int to = indexOf(target);
    for (int i = from; i <= to; ++i) {
        state = sequence[i];
        started = true;
        reached.append({state, 0});
    }
    return reached;
}

QList<DialProgress> PppdDialTracker::Started(bool chatReportsLines) {
    chatLines = chatReportsLines;
    // Without chat's own lines nothing tells when the port opens or the number is dialled.
    return Reach(chatReportsLines ? Ras::OpenPort : Ras::ConnectDevice);
}

QList<DialProgress> PppdDialTracker::Line(const QString& rawLine) {
    const QString line = rawLine.trimmed();
    QList<DialProgress> reached;
    if (line.isEmpty())
        return reached;
    static const QRegularExpression scriptFinished(
        QStringLiteral("^Script .* finished \\(pid \\d+\\), status = 0x([0-9a-fA-F]+)"));
    static const QRegularExpression failed(QStringLiteral("^Failed \\((.*)\\)$"));
    static const QRegularExpression usingInterface(QStringLiteral("^Using interface (\\S+)"));
    static const QRegularExpression connect(QStringLiteral("^Connect: (\\S+) <--> "));
    static const QRegularExpression local(QStringLiteral("^local\\s+IP address (\\S+)"));
    static const QRegularExpression remote(QStringLiteral("^remote IP address (\\S+)"));
    static const QRegularExpression failedOpen(QStringLiteral("^Failed to open \\S+: (.*)$"));

    if (!serialUp && chatLines && state < Ras::ConnectDevice && !connected) {
        if (line.startsWith(QLatin1String("send (ATD")) ||
            line.startsWith(QLatin1String("send (\"ATD"))) {
            dialSent = true;
            return Reach(Ras::ConnectDevice);
        }
        if (line.startsWith(QLatin1String("send (")) ||
            line.startsWith(QLatin1String("expect (")) ||
            line.startsWith(QLatin1String("abort on (")))
            return Reach(Ras::PortOpened);
    }
    if (line.startsWith(QLatin1String("send (ATD")))
        dialSent = true;
    QRegularExpressionMatch match;
    if ((match = scriptFinished.match(line)).hasMatch()) {
        if (chatCode < 0 && !serialUp)
            chatCode = match.captured(1).toInt(nullptr, 16);
    } else if ((match = failed.match(line)).hasMatch()) {
        if (chatFailure.isEmpty())
            chatFailure = match.captured(1);
    } else if (line == QLatin1String("Serial connection established.")) {
        serialUp = true;
        reached = Reach(Ras::AllDevicesConnected);
    } else if ((match = usingInterface.match(line)).hasMatch()) {
        interfaceName = match.captured(1);
    } else if ((match = connect.match(line)).hasMatch()) {
        if (interfaceName.isEmpty())
            interfaceName = match.captured(1);
        reached = Reach(Ras::Authenticate);
    } else if (line.contains(QLatin1String("authentication succeeded"))) {
        if (!authenticated)
            reached = Reach(Ras::Authenticated);
        authenticated = true;
    } else if (line.contains(QLatin1String("authentication failed")) ||
               line.startsWith(QLatin1String("No response to PAP authenticate-requests")) ||
               line.startsWith(QLatin1String("CHAP authentication timed out")) ||
               line.startsWith(QLatin1String("No secret found for PAP login")) ||
               line.startsWith(QLatin1String("No CHAP secret found"))) {
        noteError = Ras::AuthenticationFailure;
    } else if ((match = local.match(line)).hasMatch()) {
        localAddress = match.captured(1);
        reached = Reach(Ras::Projected);
    } else if ((match = remote.match(line)).hasMatch()) {
        remoteAddress = match.captured(1);
        reached = Reach(Ras::Connected);
        connected = true;
    } else if (line.startsWith(QLatin1String("Peer refused to agree to our IP address")) ||
               line.startsWith(QLatin1String("Could not determine local IP address"))) {
        noteError = Ras::PppNoAddress;
    } else if (line.startsWith(QLatin1String("LCP terminated by peer"))) {
        peerTerminated = true;
    } else if (line.contains(QLatin1String("Can't open options file"))) {
        optionsFileMissing = true;
    } else if (line.contains(QLatin1String("unrecognized option '/dev/"))) {
        deviceMissing = true;
    } else if (line.startsWith(QLatin1String("Device ")) &&
               line.contains(QLatin1String("is locked by pid"))) {
        portError = Ras::PortNotAvailable;
    } else if ((match = failedOpen.match(line)).hasMatch()) {
        const QString reason = match.captured(1);
        portError = reason.contains(QLatin1String("No such file")) ||
                            reason.contains(QLatin1String("No such device"))
                        ? Ras::DeviceDoesNotExist
                        : Ras::PortNotAvailable;
    }
    return reached;
}

int PppdDialTracker::ErrorOfReply(const QString& reply) const {
    const QString text = reply.trimmed().toUpper();
    if (text == QLatin1String("BUSY"))
        return Ras::LineBusy;
    if (text == QLatin1String("VOICE"))
        return Ras::VoiceAnswer;
    if (text == QLatin1String("NO ANSWER"))
        return Ras::NoAnswer;
    if (text == QLatin1String("NO CARRIER"))
        return Ras::NoCarrier;
    if (text == QLatin1String("NO DIALTONE") || text == QLatin1String("NO DIAL TONE"))
        return Ras::NoDialtone;
    return Ras::FromDevice;
}

int PppdDialTracker::ChatError(int code) const {
    if (code == 3) // time-out: before the number was dialled the modem itself is silent
        return chatLines && !dialSent ? Ras::PortOrDevice : Ras::NoAnswer;
    if (code == 2)
        return hangUpRequested ? Ras::UserDisconnection : Ras::PortOrDevice;
    if (code == 1)
        return Ras::CorruptPhonebook;
    if (code >= 4 && code - 4 < aborts.size())
        return ErrorOfReply(aborts.at(code - 4));
    return Ras::FromDevice;
}

DialProgress PppdDialTracker::Finished(int exitCode, bool crashed) {
    int error = Ras::UnknownError;
    if (crashed) {
        error = hangUpRequested && !connected ? Ras::UserDisconnection
                : hangUpRequested             ? 0
                                              : Ras::UnknownError;
    } else {
        switch (exitCode) {
        case 0:
            error = peerTerminated || connected ? Ras::RemoteDisconnection : 0;
            if (hangUpRequested)
                error = 0;
            break;
        case 2:
            error = optionsFileMissing ? Ras::CannotFindEntry
                    : deviceMissing    ? Ras::DeviceDoesNotExist
                                       : Ras::CorruptPhonebook;
            break;
        case 3:
            error = Ras::ServiceCannotStart;
            break;
        case 4:
            error = Ras::PppNoProtocols;
            break;
        case 5:
            error = connected ? 0 : Ras::UserDisconnection;
            break;
        case 6:
            error = Ras::PortNotAvailable;
            break;
        case 7:
            error = portError ? portError : Ras::PortNotAvailable;
            break;
        case 8:
            if (!chatFailure.isEmpty())
                error = ErrorOfReply(chatFailure);
            else if (chatCode >= 0)
                error = ChatError(chatCode);
            else
                error = hangUpRequested ? Ras::UserDisconnection : Ras::FromDevice;
            break;
        case 10:
            error = noteError == Ras::PppNoAddress ? Ras::PppNoAddress : Ras::PppTimeout;
            break;
        case 11:
            error = Ras::CannotAuthenticateServer;
            break;
        case 12:
        case 13:
        case 20:
            error = 0;
            break;
        case 15:
            error = Ras::PppTimeout;
            break;
        case 16:
            error = connected ? Ras::RemoteDisconnection : Ras::PortDisconnected;
            break;
        case 17:
            error = Ras::PppLoopback;
            break;
        case 18:
            error = Ras::FromDevice;
            break;
        case 19:
            error = Ras::AuthenticationFailure;
            break;
        default:
            error = Ras::UnknownError;
            break;
        }
    }
    const quint32 last = state;
    state = Ras::Disconnected;
    return {error == 0 ? quint32(Ras::Disconnected) : last, quint32(error)};
}

QStringList SplitWords(const QByteArray& text, bool keepEscapes) {
    QStringList words;
    QByteArray word;
    bool inWord = false;
    char quote = 0;
    // A backslash takes the next character as it is, inside quotes or not.
    auto takeCharacter = [&](int& i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            if (keepEscapes)
                word += c;
            word += text[++i];
        } else {
            word += c;
        }
    };
    for (int i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // pppd joins a line ended by a backslash to the next one.
        if (!keepEscapes && c == '\\' &&
            (text.mid(i + 1, 1) == "\n" || text.mid(i + 1, 2) == "\r\n")) {
            i += text[i + 1] == '\r' ? 2 : 1;
            continue;
        }
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                takeCharacter(i);
            continue;
        }
        if (c == '#' && !inWord) {
            while (i < text.size() && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.append(QString::fromUtf8(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '"' || c == '\'')
            quote = c;
        else
            takeCharacter(i);
    }
    if (inWord)
        words.append(QString::fromUtf8(word));
    return words;
}

QStringList ChatAbortStrings(const QByteArray& script) {
    const QStringList words = SplitWords(script, true);
    QStringList aborts;
    for (int i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == QLatin1String("ABORT")) {
            aborts.append(words[i + 1]);
            ++i;
        } else if (words[i] == QLatin1String("CLR_ABORT")) {
            aborts.removeAll(words[i + 1]);
            ++i;
        }
    }
    return aborts;
}
