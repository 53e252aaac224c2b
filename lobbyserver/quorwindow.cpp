#include "quorwindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QStyle>
#include <utility>

#include "controlname.h"

using namespace Qt::StringLiterals;

namespace brellow {

namespace {

const QString kTitle = u"Brellow"_s;

QLineEdit* textBox(const QString& name, QWidget* parent) {
    auto* box = platform::named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setMinimumWidth(360);
    return box;
}

}  // namespace

Quor::Quor(QString loginFolder, platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), host_(std::move(loginFolder)) {
    setObjectName(u"Quor"_s);
    setWindowTitle(QString::fromLatin1(kCaption));
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveNetIcon);
    setWindowIcon(icon);

    Status = textBox(u"Status"_s, this);
    Msg = textBox(u"Msg"_s, this);
    GetTXT = textBox(u"GetTXT"_s, this);
    LFtime = platform::named(new QLabel(u"0"_s, this), u"LFtime"_s);
    SerVerBTN = platform::named(new QPushButton(u"SerVer"_s, this), u"SerVerBTN"_s);
    TRYbtn = platform::named(new QPushButton(tr("トレイに格納"), this), u"TRYbtn"_s);
    EndBTN = platform::named(new QPushButton(u"END"_s, this), u"EndBTN"_s);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Status, 0, 0, 1, 2);
    layout->addWidget(Msg, 1, 0, 1, 2);
    layout->addWidget(GetTXT, 2, 0);
    layout->addWidget(LFtime, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SerVerBTN);
    buttons->addWidget(TRYbtn);
    buttons->addWidget(EndBTN);
    layout->addLayout(buttons, 3, 0, 1, 2);

    mun_MENU = platform::named(new QMenu(tr("メニュ－"), this), u"mun_MENU"_s);
    mnu_DISP = platform::named(mun_MENU->addAction(tr("表　示")), u"mnu_DISP"_s);
    mun_MENU->addSeparator();
    mnu_END = platform::named(mun_MENU->addAction(tr("終了")), u"mnu_END"_s);

    tray = platform::named(new QSystemTrayIcon(icon, this), u"tray"_s);
    tray->setToolTip(trayTip());
    tray->setContextMenu(mun_MENU);

    connect(SerVerBTN, &QPushButton::clicked, this, [this] { startListening(true); });
    connect(TRYbtn, &QPushButton::clicked, this, &Quor::toTray);
    connect(EndBTN, &QPushButton::clicked, this, &Quor::endProgram);
    connect(mnu_DISP, &QAction::triggered, this, &Quor::fromTray);
    connect(mnu_END, &QAction::triggered, this, &Quor::endProgram);
    connect(tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) mun_MENU->popup(QCursor::pos());
    });

    // The host reports in Japanese, as its log keeps it; the window shows
    // each report in the user's language.
    connect(&host_, &lobby::ServerHost::statusChanged, this,
            [this](const QString&, lobby::Report, const lobby::Notice& notice) {
                Status->setText(notice.shown());
            });
    connect(&host_, &lobby::ServerHost::msgChanged, this,
            [this](const QString&, lobby::Report, const lobby::Notice& notice) {
                Msg->setText(notice.shown());
            });
    connect(&host_, &lobby::ServerHost::addressChanged, GetTXT, &QLineEdit::setText);
    connect(&host_, &lobby::ServerHost::minuteCountChanged, this, [this](int minutes) {
        LFtime->setText(QString::number(minutes));
        tray->setToolTip(trayTip());
    });
    connect(
        &host_, &lobby::ServerHost::invalidData, this,
        [this](const QString&, const lobby::Notice& notice) { showInvalidData(notice.shown()); });
    connect(&host_, &lobby::ServerHost::errorBox, this,
            [this](const QString&, const lobby::Notice& notice) { showErrorBox(notice.shown()); });

    host_.start();
}

Quor::~Quor() {
    ThisExit();
}

QString Quor::trayTip() const {
    return u"Brellow1.00-"_s + QString::number(host_.server().minuteCount());
}

void Quor::toTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    tray->setToolTip(trayTip());
    tray->show();
    TrayShown = true;
    hide();
}

void Quor::fromTray() {
    TrayShown = false;
    tray->hide();
    showNormal();
    activateWindow();
}

void Quor::endProgram() {
    if (TrayShown) {
        tray->hide();
        TrayShown = false;
    }
    ThisExit();
    close();
}

void Quor::ThisExit() {
    if (exited_) return;
    exited_ = true;
    host_.ThisExit();
}

void Quor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) startListening(false);
}

void Quor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Not every desktop activates a window that appears; the server must
    // listen all the same.
    startListening(false);
}

void Quor::startListening(bool byButton) {
    if (exited_ || starting_) return;
    // After a failed start the window only retries on "SerVer": closing the
    // failure's box activates the window again, and retrying then would open
    // the same box for ever.
    if (!byButton && (startFailed_ || host_.isListening())) return;
    starting_ = true;
    const QPointer<Quor> self(this);
    const bool listening = host_.StartListening(byButton);
    if (!self) return;
    starting_ = false;
    startFailed_ = !listening;
}

void Quor::closeEvent(QCloseEvent* event) {
    if (TrayShown) {
        tray->hide();
        TrayShown = false;
    }
    ThisExit();
    event->accept();
    emit finished();
}

void Quor::showInvalidData(const QString& text) {
    if (invalidBoxOpen_) {
        ++invalidRepeats_;
        return;
    }
    invalidBoxOpen_ = true;
    // The box runs its own event loop; the window may be gone when it returns.
    const QPointer<Quor> self(this);
    dialogs_.message(this, kTitle, text);
    while (self && invalidRepeats_ > 0) {
        const int repeats = std::exchange(invalidRepeats_, 0);
        dialogs_.message(this, kTitle, tr("%1（%2回）").arg(text, QString::number(repeats)));
    }
    if (self) invalidBoxOpen_ = false;
}

void Quor::showErrorBox(const QString& text) {
    dialogs_.message(this, kTitle, text);
}

}  // namespace brellow
