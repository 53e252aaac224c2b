#include "socketerrorcode.h"

#include <QCoreApplication>
#include <cerrno>

namespace net {

int winsockErrorFromErrno(int err) {
    switch (err) {
        case 0:
            return wsa::kNoError;
        case EINTR:
            return wsa::kInterrupted;
        case EACCES:
        case EPERM:
            return wsa::kAccessDenied;
        case EFAULT:
            return wsa::kBadAddress;
        case EINVAL:
            return wsa::kInvalidArgument;
        case EMFILE:
        case ENFILE:
            return wsa::kTooManySockets;
        case EAGAIN:
            return wsa::kWouldBlock;
        case EINPROGRESS:
            return wsa::kInProgress;
        case EALREADY:
            return wsa::kAlready;
        case EBADF:
        case ENOTSOCK:
            return wsa::kNotSocket;
        case EPROTONOSUPPORT:
            return wsa::kProtocolNotSupported;
        case EOPNOTSUPP:
            return wsa::kOperationNotSupported;
        case EAFNOSUPPORT:
            return wsa::kFamilyNotSupported;
        case EADDRINUSE:
            return wsa::kAddressInUse;
        case EADDRNOTAVAIL:
            return wsa::kAddressNotAvailable;
        case ENETDOWN:
            return wsa::kNetworkDown;
        case ENETUNREACH:
            return wsa::kNetworkUnreachable;
        case ECONNABORTED:
            return wsa::kConnectionAborted;
        case ECONNRESET:
        case EPIPE:
            return wsa::kConnectionReset;
        case ENOBUFS:
        case ENOMEM:
            return wsa::kNoBuffers;
        case ENOTCONN:
            return wsa::kNotConnected;
        case ETIMEDOUT:
            return wsa::kTimedOut;
        case ECONNREFUSED:
            return wsa::kConnectionRefused;
        case EHOSTUNREACH:
            return wsa::kHostUnreachable;
        default:
            return -1;
    }
}

namespace {

// Qt's own wording for the system errors it reports as NetworkError, put
// through the same translation Qt uses, so the comparison holds in any
// language.
bool saysQt(const QString& description, const char* sourceText) {
    return description == QCoreApplication::translate("QNativeSocketEngine", sourceText);
}

int networkError(const QString& description) {
    if (saysQt(description, "Connection timed out") ||
        saysQt(description, "Network operation timed out"))
        return wsa::kTimedOut;
    if (saysQt(description, "Host unreachable")) return wsa::kHostUnreachable;
    if (saysQt(description, "Network unreachable")) return wsa::kNetworkUnreachable;
    if (saysQt(description, "The bound address is already in use")) return wsa::kAddressInUse;
    return wsa::kNetworkDown;
}

}  // namespace

int winsockErrorFromQt(QAbstractSocket::SocketError error, const QString& description) {
    using E = QAbstractSocket::SocketError;
    switch (error) {
        case E::ConnectionRefusedError:
            return wsa::kConnectionRefused;
        case E::RemoteHostClosedError:
            return wsa::kConnectionReset;
        case E::HostNotFoundError:
            return wsa::kHostNotFound;
        case E::SocketAccessError:
            return wsa::kAccessDenied;
        case E::SocketResourceError:
            return wsa::kNoBuffers;
        case E::SocketTimeoutError:
            return wsa::kTimedOut;
        case E::DatagramTooLargeError:
            return wsa::kMessageTooLong;
        case E::NetworkError:
            return networkError(description);
        case E::AddressInUseError:
            return wsa::kAddressInUse;
        case E::SocketAddressNotAvailableError:
            return wsa::kAddressNotAvailable;
        case E::UnsupportedSocketOperationError:
            return wsa::kOperationNotSupported;
        case E::UnfinishedSocketOperationError:
            return wsa::kInProgress;
        case E::TemporaryError:
            return wsa::kWouldBlock;
        case E::ProxyAuthenticationRequiredError:
        case E::ProxyConnectionRefusedError:
        case E::ProxyConnectionClosedError:
        case E::ProxyConnectionTimeoutError:
        case E::ProxyNotFoundError:
        case E::ProxyProtocolError:
        case E::SslHandshakeFailedError:
        case E::SslInternalError:
        case E::SslInvalidUserDataError:
        case E::OperationError:
        case E::UnknownSocketError:
            break;
    }
    return -1;
}

}  // namespace net
