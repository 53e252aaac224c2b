#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTranslator>
#include <QWidget>

namespace testsupport {

// Every text a person reads in `top` and the widgets and actions inside it:
// titles, labels, buttons, menus, tool tips, and what the boxes and lists
// hold.
inline QStringList shownTexts(const QWidget& top) {
    QStringList texts;
    const auto widgetTexts = [&](const QWidget& w) {
        texts << w.windowTitle() << w.toolTip() << w.statusTip() << w.whatsThis();
        if (const auto* l = qobject_cast<const QLabel*>(&w)) texts << l->text();
        if (const auto* b = qobject_cast<const QAbstractButton*>(&w)) texts << b->text();
        if (const auto* g = qobject_cast<const QGroupBox*>(&w)) texts << g->title();
        if (const auto* e = qobject_cast<const QLineEdit*>(&w))
            texts << e->text() << e->placeholderText();
        if (const auto* e = qobject_cast<const QPlainTextEdit*>(&w))
            texts << e->toPlainText() << e->placeholderText();
        if (const auto* c = qobject_cast<const QComboBox*>(&w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        if (const auto* list = qobject_cast<const QListWidget*>(&w))
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text();
    };
    widgetTexts(top);
    for (const QWidget* w : top.findChildren<QWidget*>())
        widgetTexts(*w);
    for (const QAction* a : top.findChildren<QAction*>())
        texts << a->text() << a->toolTip() << a->statusTip();
    texts.removeAll(QString());
    return texts;
}

// The texts that hold a Japanese character (kana, kanji, the full-width
// forms and the ideographic space).
inline QStringList japaneseIn(const QStringList& texts) {
    QStringList found;
    for (const QString& t : texts) {
        for (const QChar c : t) {
            const char16_t u = c.unicode();
            if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
                (u >= 0xFF00 && u <= 0xFFEF)) {
                found << t;
                break;
            }
        }
    }
    return found;
}

// The programs' English texts, installed for as long as it lives.
class EnglishTexts {
public:
    explicit EnglishTexts(const QString& translationsFolder) {
        loaded_ = translator_.load(QStringLiteral("quor_en"), translationsFolder) &&
                  QCoreApplication::installTranslator(&translator_);
    }
    ~EnglishTexts() { QCoreApplication::removeTranslator(&translator_); }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;
    bool loaded() const { return loaded_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace testsupport
