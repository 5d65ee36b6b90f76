// Link statistics of TRAS: the byte counters of the connection's network interfaces, kept
// relative to a baseline taken at each reset.

#include "dialup/tras.h"

#include <algorithm>
#include <limits>

namespace {
qint64 Clamped(quint64 value) {
    return qint64(std::min<quint64>(value, quint64(std::numeric_limits<qint64>::max())));
}
} // namespace

void TRAS::ResetStats() {
    BaseXmit = RawXmit;
    BaseRecv = RawRecv;
    StatsXmit = 0;
    StatsRecv = 0;
}

bool TRAS::EnumAdapters() {
    Adapters.clear();
    RasProvider* provider = Binding.LoadRasApi() ? Binding.Provider() : nullptr;
    if (!provider || !provider->CountersAvailable())
        return false;
    QList<LinkCounters> links;
    const HRASCONN handle = RASConn != 0 ? RASConn : CurRASConn;
    if (handle != 0 && provider->ReadCounters(handle, &links))
        for (const LinkCounters& link : links)
            Adapters.append(link.Source);
    Adapters.sort();
    return true;
}

bool TRAS::ControlStats(bool start, bool findAdapter) {
    RasProvider* provider = Binding.LoadRasApi() ? Binding.Provider() : nullptr;
    if (!provider || !provider->CountersAvailable())
        return false;
    if (findAdapter && EnumAdapters() && !Adapters.isEmpty())
        KeyDUNAdap = Adapters.first();
    // No link may be up yet: the counters are there all the same, read when one is.
    if (start)
        ReadStats();
    ResetStats();
    return true;
}

bool TRAS::ReadStats() {
    RasProvider* provider = Binding.LoadRasApi() ? Binding.Provider() : nullptr;
    if (!provider || !provider->CountersAvailable())
        return false;
    const HRASCONN handle = RASConn != 0 ? RASConn : CurRASConn;
    QList<LinkCounters> links;
    if (handle == 0 || !provider->ReadCounters(handle, &links) || links.isEmpty())
        return false;
    // The largest value over the link's interfaces.
    quint64 sent = 0, received = 0;
    for (const LinkCounters& link : links) {
        sent = std::max(sent, link.Sent);
        received = std::max(received, link.Received);
    }
    const QString source = links.first().Source;
    if (source != StatsSource) {
        // A new interface counts from its creation: everything it counted is this link's.
        StatsSource = source;
        BaseXmit = BaseRecv = 0;
        StatsXmit = StatsRecv = 0;
    }
    RawXmit = sent;
    RawRecv = received;
    // A counter that went backwards (restart, wrap) starts a new baseline.
    if (RawXmit < BaseXmit)
        ResetStats();
    if (RawRecv < BaseRecv)
        ResetStats();
    StatsXmit = std::max(StatsXmit, Clamped(RawXmit - BaseXmit));
    StatsRecv = std::max(StatsRecv, Clamped(RawRecv - BaseRecv));
    return true;
}
