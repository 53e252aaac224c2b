// The lobby client's dispatch, fed what a server (or anyone who reaches the
// client) might send: byte streams cut into messages by the client's framer,
// each handed over as FD_READ on its connection (scripted sockets: no socket
// is opened), and between them the user's own actions on whatever the list
// shows (challenge, watch, chat, logout, poll). A connection the client
// closed is made again, so the rest of the input still arrives.
//
// What must hold: nothing crashes or hangs whatever arrives; a user list the
// client takes reads back the same when the server's builder writes it again;
// the shown lines are one per user; "Dead" ends the program, once, with its
// connection closed.

#include "../tests/support/scriptedclienttransport.h"
#include "fuzzsupport.h"
#include "lobbyclassify.h"
#include "lobbyclient.h"
#include "lobbyframing.h"
#include "lobbyview.h"
#include "messageframer.h"
#include "userlist.h"

namespace {

class View : public lobbyclient::LobbyView {
public:
    QStringList lines;
    int ends = 0;

    void addLogLine(const QString&) override {}
    void setStatusText(const QString&) override {}
    void setUserLines(const QStringList& l) override { lines = l; }
    void setListEnabled(bool) override {}
    void setGameLabel(const QString&) override {}
    void setStartEnabled(bool) override {}
    void setSendEnabled(bool) override {}
    void setLoggedInCaption(bool) override {}
    void showMessageBox(const QString&) override {}
    void closeLoginDialog() override {}
    void endProgram() override { ++ends; }
};

// The user list as the client reads it must be what the server would write
// for those users: reading, writing and reading again agree.
void checkUserList(const QString& message, const View& view) {
    const auto users = lobby::parseUserList(message);
    if (!users) return;
    const auto again = lobby::parseUserList(lobby::userListReply(*users));
    QUORFUZZ_CHECK(again && *again == *users,
                   QStringLiteral("the list reads otherwise: ") + message);
    QUORFUZZ_CHECK(
        view.lines.size() == static_cast<qsizetype>(users->size()),
        QStringLiteral("%1 lines for %2 users").arg(view.lines.size()).arg(users->size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    quorfuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorfuzz::Script script(data, size);
    View view;
    testsupport::ScriptedClientTransport server;
    testsupport::ClientHandClock clock;
    lobbyclient::LobbyClient client(view, quorfuzz::scratchFolder(), {}, server, clock);
    const lobbyclient::LoginRecord login{QStringLiteral("taro"), QStringLiteral("pw"),
                                         QStringLiteral("taro@example.jp"),
                                         QStringLiteral("127.0.0.1"), 0};
    net::MessageFramer framer(lobby::lobbyClientFraming());
    const auto dispatch = [&](const net::MessageFramer::Result& result) {
        for (const QString& message : result.messages) {
            if (view.ends > 0) return;  // the program has ended
            if (client.DataSock() == 0) {
                client.Connect(login);
                server.connectDone();
            }
            server.handOver(message);
            if (lobby::classifyClientMessage(message) == lobby::ClientReply::AddFriends)
                checkUserList(message, view);
        }
    };
    for (int steps = 0; !script.atEnd() && steps < 200 && view.ends == 0; ++steps) {
        const QString shown =
            view.lines.isEmpty() ? QString() : view.lines[script.byte() % view.lines.size()];
        switch (script.choice(8)) {
            case 0:
                client.challenge(shown);
                break;
            case 1:
                client.watch(shown);
                break;
            case 2:
                client.sendChat(QString::fromUtf8(script.run(40)));
                break;
            case 3:
                client.logout();
                break;
            case 4:
                client.pollUsers();
                break;
            case 5:
                dispatch(framer.flush());
                break;
            default:
                dispatch(framer.feed(script.run(3000)));
                break;
        }
    }
    dispatch(framer.flush());
    QUORFUZZ_CHECK(view.ends <= 1, "the program ended twice");
    QUORFUZZ_CHECK(view.ends == 0 || client.DataSock() == 0, "ended with its connection open");
    return 0;
}
