#pragma once

#include <QAbstractSocket>
#include <QString>

namespace net {

// Winsock error codes, because the programs' error table and their event
// handlers speak them. Only the codes this layer produces are named here.
namespace wsa {
inline constexpr int kNoError = 0;
inline constexpr int kInterrupted = 10004;            // WSAEINTR
inline constexpr int kAccessDenied = 10013;           // WSAEACCES
inline constexpr int kBadAddress = 10014;             // WSAEFAULT
inline constexpr int kInvalidArgument = 10022;        // WSAEINVAL
inline constexpr int kTooManySockets = 10024;         // WSAEMFILE
inline constexpr int kWouldBlock = 10035;             // WSAEWOULDBLOCK
inline constexpr int kInProgress = 10036;             // WSAEINPROGRESS
inline constexpr int kAlready = 10037;                // WSAEALREADY
inline constexpr int kNotSocket = 10038;              // WSAENOTSOCK
inline constexpr int kMessageTooLong = 10040;         // WSAEMSGSIZE
inline constexpr int kProtocolNotSupported = 10043;   // WSAEPROTONOSUPPORT
inline constexpr int kOperationNotSupported = 10045;  // WSAEOPNOTSUPP
inline constexpr int kFamilyNotSupported = 10047;     // WSAEAFNOSUPPORT
inline constexpr int kAddressInUse = 10048;           // WSAEADDRINUSE
inline constexpr int kAddressNotAvailable = 10049;    // WSAEADDRNOTAVAIL
inline constexpr int kNetworkDown = 10050;            // WSAENETDOWN
inline constexpr int kNetworkUnreachable = 10051;     // WSAENETUNREACH
inline constexpr int kConnectionAborted = 10053;      // WSAECONNABORTED
inline constexpr int kConnectionReset = 10054;        // WSAECONNRESET
inline constexpr int kNoBuffers = 10055;              // WSAENOBUFS
inline constexpr int kNotConnected = 10057;           // WSAENOTCONN
inline constexpr int kTimedOut = 10060;               // WSAETIMEDOUT
inline constexpr int kConnectionRefused = 10061;      // WSAECONNREFUSED
inline constexpr int kHostUnreachable = 10065;        // WSAEHOSTUNREACH
inline constexpr int kHostNotFound = 11001;           // WSAHOST_NOT_FOUND
inline constexpr int kTryAgain = 11002;               // WSATRY_AGAIN
}  // namespace wsa

// The Winsock code of the same meaning as a system error number (errno).
int winsockErrorFromErrno(int err);

// The Winsock code of the same meaning as a Qt socket error. Qt folds several
// system errors into NetworkError; its description tells them apart, so it is
// passed too (it may be empty).
int winsockErrorFromQt(QAbstractSocket::SocketError error, const QString& description = {});

}  // namespace net
