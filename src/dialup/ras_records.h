#pragma once

// The records exchanged with the dial-up service, in their first published layout, and the
// codes and states the program gives meaning to. Every string is 8-bit and zero-terminated;
// the sizes below are the ones announced in dwSize.

#include <QByteArray>
#include <QtGlobal>
#include <cstddef>
#include <cstring>

using HRASCONN = quint32;

namespace Ras {
constexpr int MaxEntryName = 256;
constexpr int MaxPhoneNumber = 128;
constexpr int MaxCallbackNumber = 128;
constexpr int MaxUserName = 256;
constexpr int MaxPassword = 256;
constexpr int MaxDomain = 15;
constexpr int MaxAreaCode = 10;
constexpr int MaxDeviceType = 16;
constexpr int MaxDeviceName = 128;
constexpr int MaxIpAddress = 15;
constexpr int MaxPath = 260;

constexpr int ConnectionRecords = 4;
constexpr int EntryRecords = 100;
constexpr quint32 EntryBufferSize = 5000;
constexpr quint32 ProjectionPppIp = 0x8021;
constexpr quint32 OptionUseCountryAndAreaCodes = 1;

// Error codes.
constexpr int Success = 0;
constexpr int AccessDenied = 5;
constexpr int InvalidHandle = 6;
constexpr int NotEnoughMemory = 8;
constexpr int InvalidParameter = 87;
constexpr int InvalidName = 123;
constexpr int AlreadyExists = 183;
constexpr int Pending = 600;
constexpr int EntryInUse = 602; // the port (the entry) is open: a pppd runs it
constexpr int NoConnection = 601;
constexpr int BufferTooSmall = 603;
constexpr int DeviceDoesNotExist = 608;
constexpr int PortDisconnected = 619;
constexpr int CannotOpenPhonebook = 621; // the entries' folder cannot be read
constexpr int CannotFindEntry = 623;
constexpr int CannotWritePhonebook = 624;
constexpr int CorruptPhonebook = 625;
constexpr int RemoteDisconnection = 629;
constexpr int UserDisconnection = 631;
constexpr int PortNotAvailable = 633;
constexpr int UnknownError = 635;
constexpr int FromDevice = 651;
constexpr int LineBusy = 676;
constexpr int VoiceAnswer = 677;
constexpr int NoAnswer = 678;
constexpr int NoCarrier = 679;
constexpr int NoDialtone = 680;
constexpr int AuthenticationFailure = 691;
constexpr int PortOrDevice = 692;
constexpr int ServiceCannotStart = 711;
constexpr int PppTimeout = 718;
constexpr int PppNoProtocols = 720;
constexpr int PppLoopback = 737;
constexpr int PppNoAddress = 738;
constexpr int ProjectionNotComplete = 730;
constexpr int CannotAuthenticateServer = 778;
constexpr int Unavailable = 1157;
constexpr int NoUserName = 1317; // a password without a user name to store it under

// Connection states.
constexpr quint16 OpenPort = 0;
constexpr quint16 PortOpened = 1;
constexpr quint16 ConnectDevice = 2;
constexpr quint16 DeviceConnected = 3;
constexpr quint16 AllDevicesConnected = 4;
constexpr quint16 Authenticate = 5;
constexpr quint16 Authenticated = 14;
constexpr quint16 Projected = 18;
constexpr quint16 Interactive = 0x1000;
constexpr quint16 Connected = 0x2000;
constexpr quint16 Disconnected = 0x2001;
} // namespace Ras

struct RASDIALPARAMSA {
    quint32 dwSize;
    char szEntryName[Ras::MaxEntryName + 1];
    char szPhoneNumber[Ras::MaxPhoneNumber + 1];
    char szCallbackNumber[Ras::MaxCallbackNumber + 1];
    char szUserName[Ras::MaxUserName + 1];
    char szPassword[Ras::MaxPassword + 1];
    char szDomain[Ras::MaxDomain + 1];
};

struct RASCONNA {
    quint32 dwSize;
    HRASCONN hrasconn;
    char szEntryName[Ras::MaxEntryName + 1];
    char szDeviceType[Ras::MaxDeviceType + 1];
    char szDeviceName[Ras::MaxDeviceName + 1];
};

struct RASCONNSTATUSA {
    quint32 dwSize;
    quint32 rasconnstate;
    quint32 dwError;
    char szDeviceType[Ras::MaxDeviceType + 1];
    char szDeviceName[Ras::MaxDeviceName + 1];
};

struct RASENTRYNAMEA {
    quint32 dwSize;
    char szEntryName[Ras::MaxEntryName + 1];
};

struct RASPPPIPA {
    quint32 dwSize;
    quint32 dwError;
    char szIpAddress[Ras::MaxIpAddress + 1];
    char szServerIpAddress[Ras::MaxIpAddress + 1];
};

struct RASENTRYA {
    quint32 dwSize;
    quint32 dwfOptions;
    quint32 dwCountryID;
    quint32 dwCountryCode;
    char szAreaCode[Ras::MaxAreaCode + 1];
    char szLocalPhoneNumber[Ras::MaxPhoneNumber + 1];
    quint32 dwAlternateOffset;
    quint32 ipaddr;
    quint32 ipaddrDns;
    quint32 ipaddrDnsAlt;
    quint32 ipaddrWins;
    quint32 ipaddrWinsAlt;
    quint32 dwFrameSize;
    quint32 dwfNetProtocols;
    quint32 dwFramingProtocol;
    char szScript[Ras::MaxPath];
    char szAutodialDll[Ras::MaxPath];
    char szAutodialFunc[Ras::MaxPath];
    char szDeviceType[Ras::MaxDeviceType + 1];
    char szDeviceName[Ras::MaxDeviceName + 1];
    char szX25PadType[33];
    char szX25Address[201];
    char szX25Facilities[201];
    char szX25UserData[201];
    quint32 dwChannels;
    quint32 dwReserved1;
    quint32 dwReserved2;
};

static_assert(sizeof(RASDIALPARAMSA) == 1052);
static_assert(sizeof(RASCONNA) == 412);
static_assert(sizeof(RASCONNSTATUSA) == 160);
static_assert(sizeof(RASENTRYNAMEA) == 264);
static_assert(sizeof(RASPPPIPA) == 40);
static_assert(sizeof(RASENTRYA) == 1768);

namespace Ras {
// Copies at most `limit` bytes of text into a field and zero-terminates it. The field must
// hold limit + 1 bytes. A cut never leaves half of a UTF-8 sequence behind.
template <std::size_t N>
void CopyField(char (&field)[N], const QByteArray& text, int limit = int(N) - 1) {
    static_assert(N > 0);
    int length = qMin<int>(text.size(), qMin<int>(limit, int(N) - 1));
    if (length < text.size()) {
        // Step back over continuation bytes so a character is never split.
        int start = length;
        while (start > 0 && (uchar(text[start]) & 0xC0) == 0x80)
            --start;
        length = start;
    }
    std::memcpy(field, text.constData(), std::size_t(length));
    field[length] = '\0';
}

// The text of a zero-terminated field (never reads past the field).
template <std::size_t N> QByteArray FieldText(const char (&field)[N]) {
    return QByteArray(field, int(qstrnlen(field, N)));
}
} // namespace Ras
