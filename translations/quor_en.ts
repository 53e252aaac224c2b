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
    <name>gamecommon</name>
    <message>
        <source>宜しくお願いします。</source>
        <translation>Have a good game.</translation>
    </message>
    <message>
        <source>ありがとうございました。</source>
        <translation>Thank you for the game.</translation>
    </message>
    <message>
        <source>それでは、始めます。</source>
        <translation>Well then, let&apos;s begin.</translation>
    </message>
    <message>
        <source>長考中。しばらく考えさせてください。</source>
        <translation>Thinking hard. Please give me a while.</translation>
    </message>
    <message>
        <source>ちょっと（10分くらい？）中断します。</source>
        <translation>A short break (about 10 minutes?).</translation>
    </message>
    <message>
        <source>それはいい手ですね。</source>
        <translation>That&apos;s a good move.</translation>
    </message>
    <message>
        <source>強いですね。</source>
        <translation>You&apos;re strong.</translation>
    </message>
    <message>
        <source>いやー参りました。</source>
        <translation>Well, you got me there.</translation>
    </message>
    <message>
        <source>(^_^) わ－い</source>
        <translation>(^_^) Yay!</translation>
    </message>
    <message>
        <source>m(_ _)m&#x3000;申し訳ござらぬ。</source>
        <translation>m(_ _)m  My apologies.</translation>
    </message>
    <message>
        <source>(T_T)&#x3000;そんな－</source>
        <translation>(T_T)  Oh no...</translation>
    </message>
    <message>
        <source>(&gt;_&lt;)&#x3000;アイタ！</source>
        <translation>(&gt;_&lt;)  Ouch!</translation>
    </message>
    <message>
        <source>(^_^)v&#x3000;イエ－イ</source>
        <translation>(^_^)v  Yeah!</translation>
    </message>
    <message>
        <source>&lt;(_ _)&gt;&#x3000;参り申した。</source>
        <translation>&lt;(_ _)&gt;  I am beaten.</translation>
    </message>
    <message>
        <source>(＾_^；&#x3000;あの－・・・</source>
        <translation>(^_^;  Erm...</translation>
    </message>
    <message>
        <source>入門</source>
        <translation>Beginner</translation>
    </message>
    <message>
        <source>初級</source>
        <translation>Novice</translation>
    </message>
    <message>
        <source>中級</source>
        <translation>Intermediate</translation>
    </message>
    <message>
        <source>中上級</source>
        <translation>Upper intermediate</translation>
    </message>
    <message>
        <source>上級</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>プロ級</source>
        <translation>Professional</translation>
    </message>
    <message>
        <source>%1が存在しません。</source>
        <translation>%1 does not exist.</translation>
    </message>
    <message>
        <source>%1を読み込めません。</source>
        <translation>%1 cannot be read.</translation>
    </message>
    <message>
        <source>%1は大きすぎるため、メモ帳では開けません。</source>
        <translation>%1 is too large to open in the notepad.</translation>
    </message>
    <message>
        <source>%1は空のファイルです。</source>
        <translation>%1 is an empty file.</translation>
    </message>
    <message>
        <source>%1には再生できる局面がありません。</source>
        <translation>%1 holds no position that can be replayed.</translation>
    </message>
    <message>
        <source>%1に書き込めません。</source>
        <translation>%1 cannot be written.</translation>
    </message>
    <message>
        <source>%1がありません。「全手保存」で棋譜を記録してから保存してください。</source>
        <translation>There is no %1. Record the game with &quot;Record All Moves&quot; first, then save it.</translation>
    </message>
    <message>
        <source>%1に保存できない文字が含まれているため、保存しません。</source>
        <translation>%1 holds characters that cannot be saved, so it was not saved.</translation>
    </message>
    <message>
        <source>棋譜一時保存デ－タを名前を変えて保存します。
(拡張子は略してください。)</source>
        <translation>Saves the game being recorded under a new name.
(Leave out the extension.)</translation>
    </message>
    <message>
        <source>通信を切断しなければ実行できません。</source>
        <translation>Disconnect first to do this.</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ファイル名(&amp;N):</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>ファイル名の手動変更はできません。</source>
        <translation>The file name cannot be typed in.</translation>
    </message>
    <message>
        <source>開&#x3000;く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>実&#x3000;行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>ファイルを指定してください。</source>
        <translation>Choose a file.</translation>
    </message>
    <message>
        <source>デバイスが使用できません。</source>
        <translation>The device cannot be used.</translation>
    </message>
    <message>
        <source>ほか</source>
        <translation> and more</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1の%2行目%3は局面ではないため、飛ばします。</source>
        <translation>%1: line(s) %2%3 hold no position and are skipped.</translation>
    </message>
    <message>
        <source>%1:将棋メモ帳：ロ－ドした行数=%2</source>
        <translation>%1: Notepad: %2 lines loaded</translation>
    </message>
    <message>
        <source>ファイル名 （拡張子は、略すと.shoになります。）</source>
        <translation>File name (without an extension, .sho is added)</translation>
    </message>
    <message>
        <source>ファイル名 （拡張子は、略すと.chsになります。）</source>
        <translation>File name (without an extension, .chs is added)</translation>
    </message>
</context>
<context>
    <name>gamecommon::BoardView</name>
    <message>
        <source>相手</source>
        <translation>Opponent</translation>
    </message>
    <message>
        <source>自分</source>
        <translation>You</translation>
    </message>
</context>
<context>
    <name>gamecommon::GameWindow</name>
    <message>
        <source>ダブルクリックで、テキストボックス内を消去できます。</source>
        <translation>Double-click to clear the text box.</translation>
    </message>
    <message>
        <source>送&#x3000;信</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>メッセージを送信します。</source>
        <translation>Sends the message.</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>開く...(&amp;F)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>名前を付けて保存...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>全手保存</source>
        <translation>Record All Moves</translation>
    </message>
    <message>
        <source>強さ</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>将棋終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>接続</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>ログイン(&amp;R)</source>
        <translation>Log&amp;in Settings...</translation>
    </message>
    <message>
        <source>サーバー（後手&amp;S）</source>
        <translation>&amp;Server (play Gote)</translation>
    </message>
    <message>
        <source>切断(&amp;A)</source>
        <translation>Disconnect(&amp;A)</translation>
    </message>
    <message>
        <source>投了</source>
        <translation>Resign</translation>
    </message>
    <message>
        <source>メッセージ</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>挨拶</source>
        <translation>Greetings</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comments</translation>
    </message>
    <message>
        <source>顔文字</source>
        <translation>Emoticons</translation>
    </message>
    <message>
        <source>棋譜再生</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>起動</source>
        <translation>Open Record...</translation>
    </message>
    <message>
        <source>バ－ジョン情報</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>gamecommon::LoginDialog</name>
    <message>
        <source>保&#x3000;存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ユ－ザ－ID</source>
        <translation>User ID</translation>
    </message>
</context>
<context>
    <name>gamecommon::MatchFlow</name>
    <message>
        <source>切断しました</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>あなたの負けです。</source>
        <translation>You lost.</translation>
    </message>
    <message>
        <source>相手は考え中</source>
        <translation>Opponent&apos;s move</translation>
    </message>
    <message>
        <source>接続が切れました。つなぎ直しています</source>
        <translation>Connection lost. Reconnecting...</translation>
    </message>
    <message>
        <source>つなぎ直せませんでした</source>
        <translation>Could not reconnect</translation>
    </message>
    <message>
        <source>サーバーと接続が完了しました。</source>
        <translation>Connected to the server.</translation>
    </message>
    <message>
        <source>あなたの番</source>
        <translation>Your move</translation>
    </message>
    <message>
        <source>接続しました。</source>
        <translation>Connected.</translation>
    </message>
</context>
<context>
    <name>gamecommon::MemoEditor</name>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>名前を変えて保存(&amp;S)</source>
        <translation>&amp;Save As...</translation>
    </message>
    <message>
        <source>上書保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>go</name>
    <message>
        <source>先手</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>White</translation>
    </message>
    <message>
        <source>通信将棋:第%1手</source>
        <translation>Network go: move%1</translation>
    </message>
    <message>
        <source>通信将棋：あなた=%1:第%2手</source>
        <translation>Network go: you play %1: move%2</translation>
    </message>
    <message>
        <source>通信囲碁：あなた=%1:第%2手</source>
        <translation>Network go: you play %1: move%2</translation>
    </message>
    <message>
        <source>先手：%1&#x3000;&#x3000;後手：%2</source>
        <translation>Black: %1    White: %2</translation>
    </message>
    <message>
        <source>%1です。</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>Ostrim&#x3000;Ver1.01</source>
        <translation>Ostrim Ver1.01</translation>
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
        <translation>%1's game program connected.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが切れました。</source>
        <translation>%1's game program disconnected.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが切れました。戻るのを待ちます。</source>
        <translation>%1's game program disconnected. Waiting for it to come back.</translation>
    </message>
    <message>
        <source>%1のゲ－ムが戻りました。</source>
        <translation>%1's game program is back.</translation>
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
        <translation>The remote host&apos;s network cannot be reached.</translation>
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
        <translation>The value "%2" of the environment variable %1 is not a port number. Give a number from %3 to 65535.</translation>
    </message>
</context>
<context>
    <name>shogi</name>
    <message>
        <source>王手のため、その手は使えません。</source>
        <translation>That move would leave your king in check.</translation>
    </message>
    <message>
        <source>そこには逃げられません。</source>
        <translation>The king cannot move there: it would be in check.</translation>
    </message>
    <message>
        <source>そこには打てません。</source>
        <translation>You cannot drop that piece there.</translation>
    </message>
    <message>
        <source>二歩です。</source>
        <translation>Two pawns on one file (nifu).</translation>
    </message>
    <message>
        <source>王手！</source>
        <translation>Check!</translation>
    </message>
    <message>
        <source>成りますか？</source>
        <translation>Promote?</translation>
    </message>
    <message>
        <source>あなたの勝ちです。</source>
        <translation>You won.</translation>
    </message>
    <message>
        <source>先手</source>
        <translation>Sente</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>Gote</translation>
    </message>
    <message>
        <source>通信将棋:第%1手</source>
        <translation>Network shogi: move%1</translation>
    </message>
    <message>
        <source>通信将棋：あなた=%1:第%2手</source>
        <translation>Network shogi: you play %1: move%2</translation>
    </message>
    <message>
        <source>先手：%1</source>
        <translation>Sente: %1</translation>
    </message>
    <message>
        <source>後手：%1</source>
        <translation>Gote: %1</translation>
    </message>
    <message>
        <source>Varnel for Quor&#x3000;Ver1.10</source>
        <translation>Varnel for Quor Ver1.10</translation>
    </message>
</context>
</TS>
