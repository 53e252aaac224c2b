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
</TS>
