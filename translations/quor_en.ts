<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Quenlis</name>
    <message>
        <source>ファイル名(&amp;N):</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>ファイル名の手動変更はできません。</source>
        <translation>The file name cannot be changed by hand.</translation>
    </message>
    <message>
        <source>設&#x3000;定</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>将棋</source>
        <translation>Shogi</translation>
    </message>
    <message>
        <source>囲碁</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>チェス</source>
        <translation>Chess</translation>
    </message>
    <message>
        <source>リバ－シ</source>
        <translation>Reversi</translation>
    </message>
    <message>
        <source>%1が存在しません。</source>
        <translation>%1 does not exist.</translation>
    </message>
    <message>
        <source>起動するファイルが設定されていません。</source>
        <translation>No program to start has been set.</translation>
    </message>
    <message>
        <source>フォルダ名のないファイル名は起動できません。</source>
        <translation>A file name without its folder cannot be started.</translation>
    </message>
    <message>
        <source>ファイル名に「,」が含まれているため起動できません。</source>
        <translation>The file name contains a comma (,), so it cannot be started.</translation>
    </message>
    <message>
        <source>%1のファイル名に「,」が含まれているため保存できません。</source>
        <translation>The file name for %1 contains a comma (,), so it cannot be saved.</translation>
    </message>
    <message>
        <source>%1のファイル名に保存できない文字が含まれています。</source>
        <translation>The file name for %1 contains characters that cannot be saved.</translation>
    </message>
    <message>
        <source>ファイル名が入力されていません。</source>
        <translation>No file name has been entered.</translation>
    </message>
    <message>
        <source>%1に保存できません。</source>
        <translation>Cannot save to %1.</translation>
    </message>
    <message>
        <source>デバイスが使用できません。</source>
        <translation>The device cannot be used.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>起動</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>保&#x3000;存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>終&#x3000;了</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>brellow::Quor</name>
    <message>
        <source>トレイに格納</source>
        <translation>Minimise to tray</translation>
    </message>
    <message>
        <source>メニュ－</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>表&#x3000;示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>%1（%2回）</source>
        <translation>%1 (%2 more)</translation>
    </message>
</context>
<context>
    <name>lobby</name>
    <message>
        <source>不正なデ－タが送信されました。</source>
        <translation>Invalid data was received.</translation>
    </message>
    <message>
        <source>%1が接続してきました。port=%2</source>
        <translation>%1 connected, port=%2</translation>
    </message>
    <message>
        <source>%1のログイン許可</source>
        <translation>Login accepted from %1</translation>
    </message>
    <message>
        <source>%1をクロ－ズしました。</source>
        <translation>Closed the connection from %1.</translation>
    </message>
    <message>
        <source>既にクライアント待受中です。</source>
        <translation>Already waiting for clients.</translation>
    </message>
    <message>
        <source>%1と%2の対戦を組みました。</source>
        <translation>Paired %1 and %2 for a game.</translation>
    </message>
    <message>
        <source>%1のゲ－ムがつながりました。</source>
        <translation>%1&apos;s game program connected.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが切れました。</source>
        <translation>%1&apos;s game program disconnected.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが切れました。戻るのを待ちます。</source>
        <translation>%1&apos;s game program disconnected. Waiting for it to come back.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが戻りました。</source>
        <translation>%1&apos;s game program is back.</translation>
    </message>
    <message>
        <source>%1のログイン拒否 ID=%2</source>
        <translation>Login refused from %1, ID=%2</translation>
    </message>
    <message>
        <source>%1の二重ログイン拒否 ID=%2</source>
        <translation>Second login refused from %1, ID=%2</translation>
    </message>
    <message>
        <source>%1は満員のため拒否しました。</source>
        <translation>Refused %1: the server is full.</translation>
    </message>
    <message>
        <source>%1からのログインは失敗が続いたため1秒に1回だけ調べます。</source>
        <translation>Logins from %1 keep failing; only one a second is checked now.</translation>
    </message>
    <message>
        <source>%1の送り主を偽ったチャットを捨てました。</source>
        <translation>Dropped a chat line from %1 with a forged sender.</translation>
    </message>
    <message>
        <source>BrellowLogIn.txt: IDかパスワードのない行を使いません。行=%1</source>
        <translation>BrellowLogIn.txt: lines without an ID or a password are not used. Lines=%1</translation>
    </message>
</context>
<context>
    <name>lobbyclient</name>
    <message>
        <source>将棋</source>
        <translation>Shogi</translation>
    </message>
    <message>
        <source>囲碁</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>%1が存在しません。</source>
        <translation>%1 does not exist.</translation>
    </message>
    <message>
        <source>%1ソフトが設定されていません。「ファイル設定」で設定してください。</source>
        <translation>No %1 program is set. Set one with &quot;File settings&quot;.</translation>
    </message>
</context>
<context>
    <name>lobbyclient::ClientLoginDialog</name>
    <message>
        <source>保&#x3000;存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>送&#x3000;信</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>ファイル設定</source>
        <translation>File settings</translation>
    </message>
    <message>
        <source>ユ－ザ－ID</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>LOGIN&#x3000;デ－タがありません。</source>
        <translation>No LOGIN data.</translation>
    </message>
</context>
<context>
    <name>lobbyclient::LobbyClient</name>
    <message>
        <source>SERVER:&gt;接続が完了しました。</source>
        <translation>SERVER:&gt;Connected.</translation>
    </message>
    <message>
        <source>受信失敗</source>
        <translation>Receiving failed</translation>
    </message>
    <message>
        <source>サ－バ－から応答がありません。</source>
        <translation>The server does not answer.</translation>
    </message>
    <message>
        <source>SERVER:&gt;相手が離籍してしまいました。</source>
        <translation>SERVER:&gt;Your opponent has left the lobby.</translation>
    </message>
    <message>
        <source>SERVER:&gt;サ－バ－から切断されました。</source>
        <translation>SERVER:&gt;The server has disconnected you.</translation>
    </message>
    <message>
        <source>タイムオ－バ－のため、サ－バ－から切断されました。再度ログインしてください。</source>
        <translation>Time is up: the server has disconnected you. Please log in again.</translation>
    </message>
    <message>
        <source>既にログインしています。再ログインが拒否されました。</source>
        <translation>You are logged in already. The second login was refused.</translation>
    </message>
    <message>
        <source>SERVER:&gt;相手は、離籍しました。</source>
        <translation>SERVER:&gt;Your opponent has left.</translation>
    </message>
    <message>
        <source>SERVER:&gt;%1はゲ－ムを起動しました。</source>
        <translation>SERVER:&gt;%1 has started the game program.</translation>
    </message>
    <message>
        <source>満員のためログインが拒否されました。%1</source>
        <translation>The lobby is full: the login was refused. %1</translation>
    </message>
    <message>
        <source>SERVER:&gt;LOGINが許可されました。</source>
        <translation>SERVER:&gt;Logged in.</translation>
    </message>
    <message>
        <source>SERVER:&gt;%1ソフトを立ち上げてください。</source>
        <translation>SERVER:&gt;Please start the %1 program.</translation>
    </message>
    <message>
        <source>相手が選択されていません。</source>
        <translation>No opponent is selected.</translation>
    </message>
    <message>
        <source>あなたは既に対戦中です。</source>
        <translation>You are in a match already.</translation>
    </message>
    <message>
        <source>自分は対戦相手にできません。</source>
        <translation>You cannot challenge yourself.</translation>
    </message>
    <message>
        <source>ゲ－ム種別が間違っています。</source>
        <translation>That user plays another game.</translation>
    </message>
    <message>
        <source>そのユ－ザ－は既に対戦中です。</source>
        <translation>That user is in a match already.</translation>
    </message>
    <message>
        <source>あなたは、対戦中です。</source>
        <translation>You are in a match.</translation>
    </message>
    <message>
        <source>自分を選択できません。</source>
        <translation>You cannot choose yourself.</translation>
    </message>
    <message>
        <source>選択できません。</source>
        <translation>That user cannot be chosen.</translation>
    </message>
    <message>
        <source>%1を起動できません。</source>
        <translation>Cannot start %1.</translation>
    </message>
</context>
<context>
    <name>lobbyclient::LobbyWindow</name>
    <message>
        <source>送&#x3000;信</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>ダブルクリックして相手を選択してください。</source>
        <translation>Double-click a user to challenge.</translation>
    </message>
    <message>
        <source>起&#x3000;動</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ログイン</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>右クリックメニュ－</source>
        <translation>Right-click menu</translation>
    </message>
    <message>
        <source>LOGIN.TXTを保存できません。</source>
        <translation>Cannot save LOGIN.TXT.</translation>
    </message>
    <message>
        <source>%1を起動できません。</source>
        <translation>Cannot start %1.</translation>
    </message>
    <message>
        <source>ログアウト</source>
        <translation>Log out</translation>
    </message>
</context>
<context>
    <name>net</name>
    <message>
        <source>呼び出しが取り消された。</source>
        <translation>The call was cancelled.</translation>
    </message>
    <message>
        <source>指定されたアドレスは、ブロードキャストパケットの送信をサポートしていない。</source>
        <translation>The address given does not take broadcast packets.</translation>
    </message>
    <message>
        <source>32ビットインターネットアドレス指定に誤りがあります。</source>
        <translation>The 32-bit internet address is wrong.</translation>
    </message>
    <message>
        <source>関数の呼び出し順番に誤りがある。</source>
        <translation>The functions were called in the wrong order.</translation>
    </message>
    <message>
        <source>利用可能なファイル番号が存在しない。</source>
        <translation>No file descriptor is free.</translation>
    </message>
    <message>
        <source>このソケットはノンブロッキング型である。</source>
        <translation>This socket does not block.</translation>
    </message>
    <message>
        <source>ブロッキング呼び出し進行中。</source>
        <translation>A blocking call is under way.</translation>
    </message>
    <message>
        <source>ノンブロッキング型の処理を処理中。</source>
        <translation>A non-blocking operation is under way.</translation>
    </message>
    <message>
        <source>ソケット以外を指定した。</source>
        <translation>That is not a socket.</translation>
    </message>
    <message>
        <source>リモートアドレスが指定されていない。</source>
        <translation>No remote address was given.</translation>
    </message>
    <message>
        <source>データがバッファより大きいので切りつめられた。</source>
        <translation>The data was larger than the buffer and was cut short.</translation>
    </message>
    <message>
        <source>ソケットは指定されたプロトコルをサポートしていない。</source>
        <translation>The socket does not support the protocol given.</translation>
    </message>
    <message>
        <source>プロトコルのオプションに誤りがある。</source>
        <translation>A protocol option is wrong.</translation>
    </message>
    <message>
        <source>指定されたプロトコルはサポートされていない。</source>
        <translation>The protocol given is not supported.</translation>
    </message>
    <message>
        <source>指定されたソケットタイプはサポートされていない。</source>
        <translation>The socket type given is not supported.</translation>
    </message>
    <message>
        <source>指定されたソケットがサポートしていない操作である。</source>
        <translation>The socket does not support that operation.</translation>
    </message>
    <message>
        <source>指定されたアドレスファミリがサポートされていない。</source>
        <translation>The address family given is not supported.</translation>
    </message>
    <message>
        <source>指定されたプロトコルでは、指定されたアドレスファミリがサポートされていない。</source>
        <translation>The protocol given does not support the address family given.</translation>
    </message>
    <message>
        <source>指定されたアドレスは使用中。</source>
        <translation>The address given is in use.</translation>
    </message>
    <message>
        <source>指定されたアドレスは使用できない。</source>
        <translation>The address given cannot be used.</translation>
    </message>
    <message>
        <source>ネットワークがダウンしている。</source>
        <translation>The network is down.</translation>
    </message>
    <message>
        <source>リモートホストのネットワークに接続できない。</source>
        <translation>The remote host's network cannot be reached.</translation>
    </message>
    <message>
        <source>ネットワークから切断された。</source>
        <translation>The network dropped the connection.</translation>
    </message>
    <message>
        <source>ネットワーク不良で接続が中止された。</source>
        <translation>A network fault ended the connection.</translation>
    </message>
    <message>
        <source>リモートホストから切断された。</source>
        <translation>The remote host closed the connection.</translation>
    </message>
    <message>
        <source>バッファ領域不足。</source>
        <translation>No buffer space left.</translation>
    </message>
    <message>
        <source>ソケットはすでに接続されている。</source>
        <translation>The socket is connected already.</translation>
    </message>
    <message>
        <source>ソケットが接続されていない。</source>
        <translation>The socket is not connected.</translation>
    </message>
    <message>
        <source>ソケットがシャットダウンされている。</source>
        <translation>The socket has been shut down.</translation>
    </message>
    <message>
        <source>接続処理タイムアウト。</source>
        <translation>The connection attempt timed out.</translation>
    </message>
    <message>
        <source>接続が拒否された。</source>
        <translation>The connection was refused.</translation>
    </message>
    <message>
        <source>リモートホストがダウンしている。</source>
        <translation>The remote host is down.</translation>
    </message>
    <message>
        <source>ホストへのルートが存在しない。</source>
        <translation>There is no route to the host.</translation>
    </message>
    <message>
        <source>プロセスが多すぎます。</source>
        <translation>Too many processes.</translation>
    </message>
    <message>
        <source>ネットワークサブシステムに通信するための準備ができていない。</source>
        <translation>The network is not ready.</translation>
    </message>
    <message>
        <source>指定されたバージョンがサポートされていない。</source>
        <translation>The version given is not supported.</translation>
    </message>
    <message>
        <source>WSAStartup関数を呼び出していないか、失敗しています。</source>
        <translation>The socket layer was not started, or its start failed.</translation>
    </message>
    <message>
        <source>ホストが見つからない。</source>
        <translation>The host was not found.</translation>
    </message>
    <message>
        <source>権限があるホストが見つからない。</source>
        <translation>No host with authority was found.</translation>
    </message>
    <message>
        <source>修復不可能なエラーが発生した。</source>
        <translation>An error that cannot be recovered from occurred.</translation>
    </message>
    <message>
        <source>データレコードの型が要求されていない。</source>
        <translation>No data record of the type asked for.</translation>
    </message>
    <message>
        <source>初期化失敗</source>
        <translation>Start-up failed</translation>
    </message>
    <message>
        <source>リスンソケット作成失敗</source>
        <translation>Cannot make the listening socket</translation>
    </message>
    <message>
        <source>BINDできません。</source>
        <translation>Cannot bind.</translation>
    </message>
    <message>
        <source>リスン失敗</source>
        <translation>Listening failed</translation>
    </message>
    <message>
        <source>クライアント待受</source>
        <translation>Waiting for a client</translation>
    </message>
    <message>
        <source>環境変数 %1 の値「%2」はポート番号ではありません。%3～65535 の数を指定してください。</source>
        <translation>The value &quot;%2&quot; of the environment variable %1 is not a port number. Give a number from %3 to 65535.</translation>
    </message>
</context>
</TS>
