#include <gtest/gtest.h>

#include <cerrno>

#include "socketerrorcode.h"
#include "socketerrortext.h"

namespace net {
namespace {

TEST(SocketErrorCode, SystemErrorsGetTheWinsockCodeOfTheSameMeaning) {
    EXPECT_EQ(winsockErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(winsockErrorFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(winsockErrorFromErrno(EACCES), 10013);
    EXPECT_EQ(winsockErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(winsockErrorFromErrno(EMFILE), 10024);
    EXPECT_EQ(winsockErrorFromErrno(0), 0);
    // Something without a counterpart still reads as a number, not a sentence.
    EXPECT_EQ(SocketErrorText(winsockErrorFromErrno(EDOM)), u"(-1)");
}

TEST(SocketErrorCode, QtsNetworkErrorIsToldApartByQtsOwnWords) {
    using E = QAbstractSocket::SocketError;
    EXPECT_EQ(winsockErrorFromQt(E::NetworkError, QStringLiteral("Connection timed out")), 10060);
    EXPECT_EQ(winsockErrorFromQt(E::NetworkError, QStringLiteral("Host unreachable")), 10065);
    EXPECT_EQ(winsockErrorFromQt(E::NetworkError, QStringLiteral("Network unreachable")), 10051);
    EXPECT_EQ(winsockErrorFromQt(E::NetworkError, QStringLiteral("something else")), 10050);
    EXPECT_EQ(winsockErrorFromQt(E::ConnectionRefusedError), 10061);
    EXPECT_EQ(winsockErrorFromQt(E::HostNotFoundError), 11001);
    EXPECT_EQ(winsockErrorFromQt(E::AddressInUseError), 10048);
    EXPECT_EQ(winsockErrorFromQt(E::UnknownSocketError), -1);
}

}  // namespace
}  // namespace net
