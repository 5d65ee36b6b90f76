// The simulated modem's phonebook: any content is read without harm, every entry it lists
// can be read, and dial parameters written back read back the same.
#include "dialup/ras_records.h"
#include "dialup/simulation_provider.h"
#include "fuzz_support.h"

// Dialling is not fuzzed: the dial-up binding that carries its progress is not linked in.
void PostDialProgress(const DialNotifier&, quint32, quint32) {}

namespace {
QString ParamsText(const RASDIALPARAMSA& params) {
    return QStringList{QString::fromUtf8(Ras::FieldText(params.szEntryName)),
                       QString::fromUtf8(Ras::FieldText(params.szUserName)),
                       QString::fromUtf8(Ras::FieldText(params.szPassword)),
                       QString::fromUtf8(Ras::FieldText(params.szCallbackNumber)),
                       QString::fromUtf8(Ras::FieldText(params.szDomain))}
        .join(QLatin1Char('|'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString fileName = FreshFolder() + QStringLiteral("/tallivo-modem.ini");
    WriteInputFile(fileName, InputBytes(data, size));
    SimulationProvider provider(fileName);
    const QByteArray phonebook = fileName.toUtf8();
    const QStringList names = provider.EntryNames(fileName);
    for (const QString& name : names.mid(0, 4)) {
        RASDIALPARAMSA params{};
        params.dwSize = sizeof params;
        Ras::CopyField(params.szEntryName, name.toUtf8());
        qint32 stored = 0;
        if (provider.RasGetEntryDialParamsA(phonebook.constData(), &params, &stored) !=
            Ras::Success)
            RoundTripFailure("listed modem entry unreadable", name, {});
        RASENTRYA entry{};
        entry.dwSize = sizeof entry;
        quint32 entrySize = sizeof entry;
        provider.RasGetEntryPropertiesA(phonebook.constData(), name.toUtf8().constData(), &entry,
                                        &entrySize, nullptr, nullptr);
        if (provider.RasSetEntryDialParamsA(phonebook.constData(), &params, 0) != Ras::Success)
            continue;
        RASDIALPARAMSA again{};
        again.dwSize = sizeof again;
        Ras::CopyField(again.szEntryName, name.toUtf8());
        provider.RasGetEntryDialParamsA(phonebook.constData(), &again, &stored);
        if (ParamsText(params) != ParamsText(again))
            RoundTripFailure("modem dial parameters", ParamsText(params), ParamsText(again));
    }
    return 0;
}
