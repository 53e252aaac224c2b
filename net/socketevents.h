#pragma once

#include <functional>

namespace net {

// The four socket events the programs are written against. The values are the
// classic notification codes, so a handler can compare them as the programs
// always have.
inline constexpr int FD_READ = 1;
inline constexpr int FD_ACCEPT = 8;
inline constexpr int FD_CONNECT = 16;
inline constexpr int FD_CLOSE = 32;

// A socket handle is a small positive number; 0 means "no socket", so a
// program can keep its sockets in plain ints (`ListenSock`, `DataSock`) and
// compare them with 0. Handles are never reused within one SocketLayer, so a
// late event can never be mistaken for one of a newer socket.
using SocketHandle = int;

// The one function a program registers to hear about its sockets: the socket,
// the event (FD_READ, FD_ACCEPT, FD_CONNECT or FD_CLOSE) and an error code in
// Winsock numbering, 0 for none. It is always called from the event loop,
// never from inside a SocketLayer call, so it may open a modal dialog or
// close sockets (or delete the layer) freely.
using SocketEventHandler = std::function<void(SocketHandle socket, int event, int error)>;

}  // namespace net
