#pragma once

#include <QStringView>
#include <array>

namespace gamecommon {

// One canned line of the conversation menus: the caption the menu shows and
// the text that goes to the opponent when it is picked. What is sent always
// comes from here, never from the menu item: one comment is sent with another
// character than its caption shows, and a desktop may rewrite captions (some
// insert "&" to give every item an access key).
struct ConversationLine {
    QStringView caption;
    QStringView text;
};

// "挨拶": the greetings.
inline constexpr std::array<ConversationLine, 3> kGreetingLines{{
    {u"宜しくお願いします。", u"宜しくお願いします。"},
    {u"ありがとうございました。", u"ありがとうございました。"},
    {u"それでは、始めます。", u"それでは、始めます。"},
}};

// "コメント": remarks during play. The last one goes out with a full-width
// hyphen where its caption has the long-vowel mark, as it always has.
inline constexpr std::array<ConversationLine, 5> kCommentLines{{
    {u"長考中。しばらく考えさせてください。", u"長考中。しばらく考えさせてください。"},
    {u"ちょっと（10分くらい？）中断します。", u"ちょっと（10分くらい？）中断します。"},
    {u"それはいい手ですね。", u"それはいい手ですね。"},
    {u"強いですね。", u"強いですね。"},
    {u"いやー参りました。", u"いや－参りました。"},
}};

// "顔文字": the emoticons; the gap after the face is an ideographic space in
// all but the first.
inline constexpr std::array<ConversationLine, 7> kFaceLines{{
    {u"(^_^) わ－い", u"(^_^) わ－い"},
    {u"m(_ _)m　申し訳ござらぬ。", u"m(_ _)m　申し訳ござらぬ。"},
    {u"(T_T)　そんな－", u"(T_T)　そんな－"},
    {u"(>_<)　アイタ！", u"(>_<)　アイタ！"},
    {u"(^_^)v　イエ－イ", u"(^_^)v　イエ－イ"},
    {u"<(_ _)>　参り申した。", u"<(_ _)>　参り申した。"},
    {u"(＾_^；　あの－・・・", u"(＾_^；　あの－・・・"},
}};

// "強さ": the strength classes, weakest first; the captions of its items and
// the class named in the announcement.
inline constexpr std::array<QStringView, 6> kStrengthClasses{
    u"入門", u"初級", u"中級", u"中上級", u"上級", u"プロ級",
};

}  // namespace gamecommon
