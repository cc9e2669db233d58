#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "ToolTipControl.h"
#include "cToolTips.h"

namespace {

struct Sent {
    WindowHandle hwnd;
    quint32 msg;
    quintptr wParam;
    qintptr lParam;
};

// Records every message sent to any tooltip window while it lives.
class MessageLog {
public:
    MessageLog() {
        m_old = ToolTipWindows::setMessageHook([this](WindowHandle h, quint32 m, quintptr w, qintptr l) {
            m_sent.append({h, m, w, l});
        });
    }
    ~MessageLog() { ToolTipWindows::setMessageHook(m_old); }
    const QList<Sent>& sent() const { return m_sent; }
    int count(quint32 msg) const {
        return int(
            std::count_if(m_sent.cbegin(), m_sent.cend(), [msg](const Sent& s) { return s.msg == msg; }));
    }
    void clear() { m_sent.clear(); }

private:
    QList<Sent> m_sent;
    ToolTipWindows::MessageHook m_old;
};

// A window with two boxes and a button, as an editor has them.
struct EditorLike {
    QWidget window;
    QLineEdit* txtName;
    QLineEdit* txtDesc;
    QPushButton* cmdOK;
    EditorLike() {
        window.setWindowTitle(QStringLiteral("Tellwick: New forward job [3]"));
        window.resize(420, 240);
        auto* layout = new QVBoxLayout(&window);
        txtName = new QLineEdit(&window);
        txtDesc = new QLineEdit(&window);
        cmdOK = new QPushButton(QStringLiteral("&OK"), &window);
        layout->addWidget(txtName);
        layout->addWidget(txtDesc);
        layout->addWidget(cmdOK);
        layout->addStretch(1);
    }
};

// What an editor does for each control at load.
void setToolTip(cToolTips& tips, QWidget* control, const QString& text, const QString& title, int maxWidth,
                int autoPop) {
    tips.AddTool(control, 256, text);
    tips.Title(title);
    tips.MaxTipWidth(maxWidth != 0 ? maxWidth : -1);
    if (autoPop != 0) {
        tips.SetDelayTime(2, 10000);
    }
}

const QString kNameTip = QStringLiteral("Enter a name for this job.");
const QString kIdentTip = QStringLiteral(
    "Enter an unique identification string here. This string must be preceeding the message text in order to "
    "identify this job. Leave empty for setting up the default job (this job will be started if no "
    "identifier "
    "found, only one default job can be set up).");

}  // namespace

class TestCToolTips : public QObject {
    Q_OBJECT
private slots:
    void withoutWindowNothingIsSent() {
        EditorLike e;
        MessageLog log;
        cToolTips tips;
        tips.AddTool(e.txtName, 0, kNameTip);
        tips.DeleteTool(e.txtName);
        tips.Enabled(true);
        tips.Icon(1);
        tips.Title(QStringLiteral("Title"));
        tips.SetDelayTime(2, 10000);
        tips.HideTips();
        tips.MarginLeft(5);
        tips.MarginTop(5);
        tips.MarginRight(5);
        tips.MarginBottom(5);
        tips.MaxTipWidth(400);
        tips.SetToolRect(e.txtName, 0, 0, 5, 5);
        tips.BackColor(0x80000005u);
        tips.ForeColor(0xFFu);
        tips.SetTipText(e.txtName, QStringLiteral("x"));
        tips.SetTracking(e.txtName, true);
        tips.SetTrackPosition(e.txtName, 1, 2);
        QVERIFY(!tips.HitTest(e.txtName, 1, 1));
        QVERIFY(!tips.Enabled());
        QCOMPARE(tips.Title(), QString());
        QCOMPARE(tips.Icon(), 0);
        QCOMPARE(tips.ToolCount(), 0);
        QCOMPARE(tips.GetDelayTime(2), 0);
        QCOMPARE(tips.MaxTipWidth(), 0);
        QCOMPARE(tips.MarginLeft() + tips.MarginTop() + tips.MarginRight() + tips.MarginBottom(), 0);
        QCOMPARE(tips.BackColor(), 0u);
        QCOMPARE(tips.ForeColor(), 0u);
        QCOMPARE(tips.GetTooltipWidth(e.txtName), 0);
        QCOMPARE(tips.GetTooltipHeight(e.txtName), 0);
        QCOMPARE(tips.ToolTipWidthFromText(e.window.fontMetrics(), kNameTip), 0);
        QCOMPARE(tips.TextWidthFromToolTipWidth(e.window.fontMetrics(), 100), 0);
        QCOMPARE(tips.hWnd(), WindowHandle(0));
        QCOMPARE(log.sent().size(), 0);
    }

    void titleBeforeCreateIsNotRemembered() {
        EditorLike e;
        cToolTips tips;
        tips.Title(QStringLiteral("Early"));
        tips.Icon(2);
        tips.Create(&e.window, 64);
        QCOMPARE(tips.Title(), QString());
        QCOMPARE(tips.Icon(), 0);
        QVERIFY(tips.Enabled());

        // With a window the title and its icon are kept and handed to the control together.
        tips.Title(QStringLiteral("Hint"));
        tips.Icon(3);
        QCOMPARE(tips.Title(), QStringLiteral("Hint"));
        QCOMPARE(tips.Icon(), 3);
        ToolTipControl* c = ToolTipWindows::control(tips.hWnd());
        QCOMPARE(c->title(), QStringLiteral("Hint"));
        QCOMPARE(c->titleIcon(), 3);
    }

    void enabledFalse() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        MessageLog log;
        tips.Enabled(false);
        QCOMPARE(log.sent().size(), 1);
        QCOMPARE(log.sent().at(0).msg, Tt::TTM_ACTIVATE);
        QCOMPARE(log.sent().at(0).wParam, quintptr(0));
        QVERIFY(!tips.Enabled());
        QVERIFY(!ToolTipWindows::control(tips.hWnd())->active());
        tips.Enabled(true);
        QCOMPARE(log.sent().at(1).wParam, quintptr(-1));
        QVERIFY(tips.Enabled());
    }

    void addToolRecord() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.AddTool(e.txtName, 0, QString());
        QCOMPARE(tips.ToolCount(), 1);
        const ToolInfo ti = ToolTipWindows::control(tips.hWnd())->tools().at(0);
        QCOMPARE(ti.cbSize, 44u);
        QCOMPARE(ti.uFlags, 0x11u);
        QCOMPARE(ti.uId, ToolTipWindows::handleOf(e.txtName));
        QCOMPARE(ti.hwnd, ToolTipWindows::handleOf(&e.window));
        QCOMPARE(ti.hinst, ToolTipWindows::kProgramInstance);
        QVERIFY(ti.text.isNull());
        QCOMPARE(ti.rect, TtRect{});
        QCOMPARE(ti.lParam, 0);
    }

    void twoToolsForOneControl() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.AddTool(e.txtDesc, 0, QStringLiteral("other"));
        tips.AddTool(e.txtName, 0, QStringLiteral("first"));
        tips.AddTool(e.txtName, 0, QStringLiteral("second"));
        QCOMPARE(tips.ToolCount(), 3);
        tips.SetTipText(e.txtName, QStringLiteral("FIRST"));  // the first found
        QCOMPARE(ToolTipWindows::control(tips.hWnd())->tools().at(1).text, QStringLiteral("FIRST"));
        tips.DeleteTool(e.txtName);
        QCOMPARE(tips.ToolCount(), 2);
        const auto& tools = ToolTipWindows::control(tips.hWnd())->tools();
        QCOMPARE(tools.at(0).text, QStringLiteral("other"));
        QCOMPARE(tools.at(1).text, QStringLiteral("second"));
    }

    void colours() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.BackColor(0x80000005u);
        QCOMPARE(tips.BackColor(), systemColor(5));
        tips.BackColor(0x00FF0000u);
        QCOMPARE(tips.BackColor(), 0x00FF0000u);
        tips.ForeColor(0x80000017u);
        QCOMPARE(tips.ForeColor(), systemColor(23));
        tips.ForeColor(0x00000080u);
        QCOMPARE(tips.ForeColor(), 0x00000080u);
    }

    void makeLongAndShellVersion() {
        cToolTips tips;
        QCOMPARE(tips.MakeLong(1, 2), 0x00020001);
        QCOMPARE(tips.MakeLong(-1, 0), 0x0000FFFF);
        QCOMPARE(quint32(tips.MakeLong(0, -1)), 0xFFFF0000u);
        QCOMPARE(tips.GetShellVersion(), 0);
    }

    void toolOperationsWithoutToolSendNothing() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.AddTool(e.txtName, 0, kNameTip);
        MessageLog log;
        tips.SetToolRect(e.txtDesc, 1, 2, 3, 4);
        tips.SetTipText(e.txtDesc, QStringLiteral("x"));
        tips.DeleteTool(e.txtDesc);
        tips.SetTracking(e.txtDesc, true);
        tips.SetTrackPosition(e.txtDesc, 5, 6);
        QCOMPARE(tips.GetTooltipWidth(e.txtDesc), 0);
        QCOMPARE(tips.GetTooltipHeight(e.txtDesc), 0);
        for (const Sent& s : log.sent()) {  // only the look-ups
            QVERIFY2(s.msg == Tt::TTM_GETTOOLCOUNT || s.msg == Tt::TTM_ENUMTOOLSA,
                     qPrintable(QString::number(s.msg, 16)));
        }
        QCOMPARE(ToolTipWindows::control(tips.hWnd())->tools().at(0).rect, TtRect{});
        QCOMPARE(tips.ToolCount(), 1);

        // With a tool: the rectangle goes to it, the track position as MakeLong(x, y).
        log.clear();
        tips.SetToolRect(e.txtName, 1, 2, 3, 4);
        QCOMPARE(ToolTipWindows::control(tips.hWnd())->tools().at(0).rect, (TtRect{1, 2, 3, 4}));
        tips.SetTrackPosition(e.txtName, 5, 6);
        QCOMPARE(log.count(Tt::TTM_NEWTOOLRECTA), 1);
        QCOMPARE(log.sent().last().msg, Tt::TTM_TRACKPOSITION);
        QCOMPARE(log.sent().last().lParam, qintptr(0x00060005));
    }

    void marginsAndSizes() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.MarginLeft(1);
        tips.MarginTop(2);
        tips.MarginRight(3);
        tips.MarginBottom(4);
        tips.MarginLeft(5);
        QCOMPARE(tips.MarginLeft(), 5);
        QCOMPARE(tips.MarginTop(), 2);
        QCOMPARE(tips.MarginRight(), 3);
        QCOMPARE(tips.MarginBottom(), 4);

        // The tip window a text needs, and the text that fits it, are inverse.
        const QFontMetrics fm = e.window.fontMetrics();
        const int w = tips.ToolTipWidthFromText(fm, kNameTip);
        const int h = tips.ToolTipHeightFromText(fm, kNameTip);
        QVERIFY(w > fm.horizontalAdvance(kNameTip) + 5 + 3);
        QCOMPARE(tips.TextWidthFromToolTipWidth(fm, w), fm.horizontalAdvance(kNameTip));
        QCOMPARE(tips.TextHeightFromToolTipHeight(fm, h), fm.height());

        tips.AddTool(e.txtName, 256, kNameTip);
        tips.AddTool(e.txtDesc, 256, kIdentTip);
        QVERIFY(tips.GetTooltipWidth(e.txtName) > 0);
        QVERIFY(tips.GetTooltipWidth(e.txtDesc) > tips.GetTooltipWidth(e.txtName));
        QCOMPARE(tips.GetTooltipHeight(e.txtDesc), tips.GetTooltipHeight(e.txtName));
        tips.MaxTipWidth(400);                                       // the long text wraps within 400 pixels
        const int frame = tips.ToolTipWidthFromText(fm, QString());  // borders, padding, margins
        QVERIFY(tips.GetTooltipWidth(e.txtDesc) <= 400 + frame);
        QVERIFY(tips.GetTooltipHeight(e.txtDesc) > tips.GetTooltipHeight(e.txtName));
    }

    void hitTest() {
        EditorLike e;
        e.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.window));
        cToolTips tips;
        tips.Create(&e.window, 64);
        tips.AddTool(e.cmdOK, 256, QStringLiteral("ok"));
        QVERIFY(tips.HitTest(e.cmdOK, 1, 1));
        QVERIFY(!tips.HitTest(e.cmdOK, e.cmdOK->width() + 1, 1));
        QVERIFY(!tips.HitTest(e.txtName, 1, 1));
    }

    void editorsSetUp() {
        EditorLike e;
        QWidget mainWindow;
        cToolTips tips;
        tips.Create(&mainWindow, 64);
        setToolTip(tips, e.txtName, kNameTip, QString(), 400, 10000);
        setToolTip(tips, e.txtDesc, QStringLiteral("Enter a brief description of your job here."), QString(),
                   400, 10000);

        ToolTipControl* c = ToolTipWindows::control(tips.hWnd());
        QVERIFY(c);
        QCOMPARE(c->style(), 0x80000040u);
        QVERIFY(c->topmost());
        QCOMPARE(c->owner(), &mainWindow);
        QCOMPARE(tips.ToolCount(), 2);
        QCOMPARE(c->tools().at(0).uFlags, 0x111u);
        QCOMPARE(c->tools().at(0).text, kNameTip);
        QCOMPARE(c->tools().at(1).uFlags, 0x111u);
        QCOMPARE(tips.Title(), QString());
        QCOMPARE(tips.MaxTipWidth(), 400);
        QCOMPARE(tips.GetDelayTime(2), 10000);

        // Creating again: a new window, the old one and its tools gone, active and untitled.
        const WindowHandle old = tips.hWnd();
        tips.Title(QStringLiteral("t"));
        tips.Enabled(false);
        tips.Create(&mainWindow, 64);
        QVERIFY(!ToolTipWindows::isWindow(old));
        QVERIFY(tips.hWnd() != old);
        QCOMPARE(tips.ToolCount(), 0);
        QVERIFY(tips.Enabled());
        QCOMPARE(tips.Title(), QString());

        // Releasing the wrapper destroys its window.
        const WindowHandle last = tips.hWnd();
        { cToolTips other; }
        QVERIFY(ToolTipWindows::isWindow(last));
        auto released = std::make_unique<cToolTips>();
        released->Create(&mainWindow, 64);
        const WindowHandle h = released->hWnd();
        released.reset();
        QVERIFY(!ToolTipWindows::isWindow(h));
    }

    void ownerGoneFirst() {
        auto owner = std::make_unique<QWidget>();
        EditorLike e;
        cToolTips tips;
        tips.Create(owner.get(), 64);
        tips.AddTool(e.txtName, 256, kNameTip);
        owner.reset();  // the tooltip window goes with its owner
        tips.AddTool(e.txtDesc, 256, kNameTip);
        tips.DeleteTool(e.txtName);
        QCOMPARE(tips.ToolCount(), 0);
    }

    // A balloon over a control of a shown window, set up as the editors do it.
    void balloonShownOverControl() {
        EditorLike e;
        cToolTips tips;
        tips.Create(&e.window, 64);
        setToolTip(tips, e.txtName, kIdentTip, QString(), 400, 10000);
        tips.SetDelayTime(3, 10);
        e.window.show();
        e.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e.window));

        ToolTipControl* c = ToolTipWindows::control(tips.hWnd());
        const QPoint at(30, e.txtName->height() / 2);
        QTest::mouseMove(e.txtName, at);
        QTRY_VERIFY(c->isTipShown());
        QCOMPARE(c->shownText(), kIdentTip);
        QWidget* tip = c->tipWindow();
        QVERIFY(tip->isVisible());
        QVERIFY(tip->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(tip->windowFlags() & Qt::WindowTransparentForInput);
        QCOMPARE(tip->width(), int(tips.GetTooltipWidth(e.txtName)));
        QCOMPARE(tip->height(), int(tips.GetTooltipHeight(e.txtName)));
        QVERIFY(tip->width() <= 400 + 2 * 8 + 2);
        QVERIFY(tip->geometry().top() > e.txtName->mapToGlobal(at).y());

        const QString shot = qEnvironmentVariable("TELLWICK_TOOLTIP_SHOT");
        if (!shot.isEmpty()) {
            const QRect area = e.window.frameGeometry().united(tip->geometry());
            QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter p(&image);
            p.drawPixmap(e.window.geometry().topLeft() - area.topLeft(), e.window.grab());
            p.drawPixmap(tip->geometry().topLeft() - area.topLeft(), tip->grab());
            p.end();
            QVERIFY(image.save(shot));
        }

        tips.HideTips();
        QVERIFY(!c->isTipShown());
    }
};

QTEST_MAIN(TestCToolTips)
#include "tst_ctooltips.moc"
