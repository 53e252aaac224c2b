#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringView>
#include <array>

namespace gamecommon {

// One canned line of the conversation menus: the caption the menu shows (in
// the user's language) and the text that goes to the opponent when it is
// picked (as it stands here, whatever language the window speaks). What is
// sent always comes from here, never from the menu item: one comment is sent
// with another character than its caption shows, and a desktop may rewrite
// captions (some insert "&" to give every item an access key).
struct ConversationLine {
    const char* caption;  // in the source language, translated where it is shown
    QStringView text;
};

// A caption of these tables in the user's language.
inline QString conversationCaption(const char* caption) {
    return QCoreApplication::translate("gamecommon", caption);
}

// "挨拶": the greetings.
inline constexpr std::array<ConversationLine, 3> kGreetingLines{{
    {QT_TRANSLATE_NOOP("gamecommon", "宜しくお願いします。"), u"宜しくお願いします。"},
    {QT_TRANSLATE_NOOP("gamecommon", "ありがとうございました。"), u"ありがとうございました。"},
    {QT_TRANSLATE_NOOP("gamecommon", "それでは、始めます。"), u"それでは、始めます。"},
}};

// "コメント": remarks during play. The last one goes out with a full-width
// hyphen where its caption has the long-vowel mark, as it always has.
inline constexpr std::array<ConversationLine, 5> kCommentLines{{
    {QT_TRANSLATE_NOOP("gamecommon", "長考中。しばらく考えさせてください。"),
     u"長考中。しばらく考えさせてください。"},
    {QT_TRANSLATE_NOOP("gamecommon", "ちょっと（10分くらい？）中断します。"),
     u"ちょっと（10分くらい？）中断します。"},
    {QT_TRANSLATE_NOOP("gamecommon", "それはいい手ですね。"), u"それはいい手ですね。"},
    {QT_TRANSLATE_NOOP("gamecommon", "強いですね。"), u"強いですね。"},
    {QT_TRANSLATE_NOOP("gamecommon", "いやー参りました。"), u"いや－参りました。"},
}};

// "顔文字": the emoticons; the gap after the face is an ideographic space in
// all but the first.
inline constexpr std::array<ConversationLine, 7> kFaceLines{{
    {QT_TRANSLATE_NOOP("gamecommon", "(^_^) わ－い"), u"(^_^) わ－い"},
    {QT_TRANSLATE_NOOP("gamecommon", "m(_ _)m　申し訳ござらぬ。"), u"m(_ _)m　申し訳ござらぬ。"},
    {QT_TRANSLATE_NOOP("gamecommon", "(T_T)　そんな－"), u"(T_T)　そんな－"},
    {QT_TRANSLATE_NOOP("gamecommon", "(>_<)　アイタ！"), u"(>_<)　アイタ！"},
    {QT_TRANSLATE_NOOP("gamecommon", "(^_^)v　イエ－イ"), u"(^_^)v　イエ－イ"},
    {QT_TRANSLATE_NOOP("gamecommon", "<(_ _)>　参り申した。"), u"<(_ _)>　参り申した。"},
    {QT_TRANSLATE_NOOP("gamecommon", "(＾_^；　あの－・・・"), u"(＾_^；　あの－・・・"},
}};

// "強さ": the strength classes, weakest first; the captions of its items
// (translated where they are shown) and the class named in the announcement
// (as it stands).
inline constexpr std::array<const char*, 6> kStrengthClasses{
    QT_TRANSLATE_NOOP("gamecommon", "入門"), QT_TRANSLATE_NOOP("gamecommon", "初級"),
    QT_TRANSLATE_NOOP("gamecommon", "中級"), QT_TRANSLATE_NOOP("gamecommon", "中上級"),
    QT_TRANSLATE_NOOP("gamecommon", "上級"), QT_TRANSLATE_NOOP("gamecommon", "プロ級"),
};

}  // namespace gamecommon
