#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace net {

// An IPv4 address is handled as the programs always held it: a 32-bit value
// whose memory bytes are the address in network order, i.e. for a.b.c.d the
// value a + b·2^8 + c·2^16 + d·2^24 (10.0.0.5 is 0x0500000A).

// The address other machines can reach this one at: the first IPv4 address of
// an interface that is up and not the loopback, else 127.0.0.1. (The host name
// often resolves to 127.0.1.1 on Linux, so it is not asked.)
quint32 GetMyLocalIPAddress();

// Dotted text of such a value: 0x0A01A8C0 gives "192.168.1.10".
QString GetMyLocalIPString(quint32 ip);

// The value of an address written as numbers ("192.168.1.10", also the short
// forms "127.1" and hexadecimal parts); nothing for a host name. Host names
// are looked up by ConnectServer without blocking, never here.
std::optional<quint32> ResolveHost(const QString& name);

}  // namespace net
