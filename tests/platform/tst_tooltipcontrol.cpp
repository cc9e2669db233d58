#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "ToolTipControl.h"

namespace {

qintptr send(WindowHandle h, quint32 msg, quintptr wParam = 0, qintptr lParam = 0) {
    return ToolTipWindows::sendMessage(h, msg, wParam, lParam);
}
template <class T>
qintptr ptr(T* p) {
    return reinterpret_cast<qintptr>(p);
}

ToolInfo tool(QWidget* control, const QString& text, quint32 flags = Tt::TTF_IDISHWND | Tt::TTF_SUBCLASS) {
    ToolInfo ti;
    ti.cbSize = Tt::kToolInfoSize;
    ti.uFlags = flags;
    ti.hwnd = ToolTipWindows::handleOf(control->parentWidget());
    ti.uId = ToolTipWindows::handleOf(control);
    ti.text = text;
    return ti;
}

// A shown window with two buttons and a tooltip window owned by it.
struct Fixture {
    QWidget window;
    QPushButton* first;
    QPushButton* second;
    WindowHandle tips = 0;

    explicit Fixture(quint32 style = Tt::TTS_BALLOON) {
        window.resize(300, 200);
        auto* layout = new QVBoxLayout(&window);
        first = new QPushButton(QStringLiteral("First"), &window);
        second = new QPushButton(QStringLiteral("Second"), &window);
        layout->addWidget(first);
        layout->addWidget(second);
        tips = ToolTipWindows::create(QStringLiteral("tooltips_class32"), style | Tt::WS_POPUP,
                                      Tt::WS_EX_TOPMOST, ToolTipWindows::handleOf(&window));
    }
    ~Fixture() { ToolTipWindows::destroy(tips); }
    ToolTipControl* control() const { return ToolTipWindows::control(tips); }
    bool showAndActivate() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }
    void add(QWidget* control, const QString& text, quint32 flags = Tt::TTF_IDISHWND | Tt::TTF_SUBCLASS) {
        ToolInfo ti = tool(control, text, flags);
        QCOMPARE(send(tips, Tt::TTM_ADDTOOLA, 0, ptr(&ti)), 1);
    }
};

}  // namespace

class TestToolTipControl : public QObject {
    Q_OBJECT
private slots:
    void windows() {
        QWidget owner;
        QCOMPARE(ToolTipWindows::create(QStringLiteral("button"), 0, 0, 0), WindowHandle(0));
        QCOMPARE(ToolTipWindows::create(QStringLiteral("tooltips_class32"), 0, 0, 0xFFFFFF), WindowHandle(0));

        const WindowHandle h = ToolTipWindows::create(QStringLiteral("TOOLTIPS_CLASS32"), Tt::TTS_BALLOON, 0,
                                                      ToolTipWindows::handleOf(&owner));
        QVERIFY(h != 0);
        QVERIFY(ToolTipWindows::isWindow(h));
        QVERIFY(!ToolTipWindows::control(h)->topmost());
        QVERIFY(ToolTipWindows::setPosition(h, Tt::HWND_TOPMOST, 0, 0, 0, 0, 0x13));
        QVERIFY(ToolTipWindows::control(h)->topmost());
        QVERIFY(ToolTipWindows::destroy(h));
        QVERIFY(!ToolTipWindows::isWindow(h));
        QVERIFY(!ToolTipWindows::destroy(h));
        QCOMPARE(send(h, Tt::TTM_GETMAXTIPWIDTH), 0);
        QVERIFY(!ToolTipWindows::setPosition(h, Tt::HWND_TOPMOST, 0, 0, 0, 0, 0));

        // An owned window goes with its owner.
        auto owner2 = std::make_unique<QWidget>();
        const WindowHandle owned = ToolTipWindows::create(
            QStringLiteral("tooltips_class32"), 0, Tt::WS_EX_TOPMOST, ToolTipWindows::handleOf(owner2.get()));
        QVERIFY(ToolTipWindows::control(owned)->topmost());
        owner2.reset();
        QVERIFY(!ToolTipWindows::isWindow(owned));
    }

    void widgetHandles() {
        auto a = std::make_unique<QWidget>();
        QWidget b;
        const WindowHandle ha = ToolTipWindows::handleOf(a.get());
        QVERIFY(ha != 0);
        QCOMPARE(ToolTipWindows::handleOf(a.get()), ha);
        QVERIFY(ToolTipWindows::handleOf(&b) != ha);
        QCOMPARE(ToolTipWindows::widgetOf(ha), a.get());
        QCOMPARE(ToolTipWindows::handleOf(nullptr), WindowHandle(0));
        a.reset();
        QCOMPARE(ToolTipWindows::widgetOf(ha), nullptr);
        QWidget c;  // may take the old address, never the old handle
        QVERIFY(ToolTipWindows::handleOf(&c) != ha);
    }

    void toolsKeepTheirOrder() {
        Fixture f;
        f.add(f.first, QStringLiteral("one"));
        f.add(f.second, QStringLiteral("two"));
        f.add(f.first, QStringLiteral("three"));
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 3);

        ToolInfo ti;
        ti.cbSize = Tt::kToolInfoSize;
        QStringList texts;
        for (int i = 0; send(f.tips, Tt::TTM_ENUMTOOLSA, quintptr(i), ptr(&ti)); ++i) {
            texts << ti.text;
            QCOMPARE(ti.cbSize, Tt::kToolInfoSize);
        }
        QCOMPARE(texts, QStringList({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));

        // A record of another size is refused, in and out.
        ToolInfo wrong = tool(f.second, QStringLiteral("x"));
        wrong.cbSize = 40;
        QCOMPARE(send(f.tips, Tt::TTM_ADDTOOLA, 0, ptr(&wrong)), 0);
        QCOMPARE(send(f.tips, Tt::TTM_ENUMTOOLSA, 0, ptr(&wrong)), 0);
        QCOMPARE(send(f.tips, Tt::TTM_ADDTOOLA, 0, 0), 0);
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 3);

        // Deleting, changing the text or the rectangle acts on the first match.
        ToolInfo key = tool(f.first, QString());
        send(f.tips, Tt::TTM_DELTOOLA, 0, ptr(&key));
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 2);
        key.text = QStringLiteral("THREE");
        key.rect = {1, 2, 3, 4};
        send(f.tips, Tt::TTM_UPDATETIPTEXTA, 0, ptr(&key));
        send(f.tips, Tt::TTM_NEWTOOLRECTA, 0, ptr(&key));
        QCOMPARE(f.control()->tools().at(0).text, QStringLiteral("two"));
        QCOMPARE(f.control()->tools().at(1).text, QStringLiteral("THREE"));
        QCOMPARE(f.control()->tools().at(1).rect, (TtRect{1, 2, 3, 4}));
    }

    void settings() {
        Fixture f;
        // Delays: the defaults hang together; "automatic" sets all three; -1 goes back to the default.
        const int initial = int(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_INITIAL));
        QVERIFY(initial > 0);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_AUTOPOP), 10 * initial);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_RESHOW), initial / 5);
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_AUTOPOP, 10000);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_AUTOPOP), 10000);
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_AUTOMATIC, 300);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_INITIAL), 300);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_AUTOPOP), 3000);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_RESHOW), 60);
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_AUTOMATIC, -1);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, Tt::TTDT_INITIAL), initial);
        QCOMPARE(send(f.tips, Tt::TTM_GETDELAYTIME, 7), 0);

        QCOMPARE(send(f.tips, Tt::TTM_GETMAXTIPWIDTH), -1);
        QCOMPARE(send(f.tips, Tt::TTM_SETMAXTIPWIDTH, 0, 400), -1);
        QCOMPARE(send(f.tips, Tt::TTM_SETMAXTIPWIDTH, 0, -1), 400);

        QCOMPARE(quint32(send(f.tips, Tt::TTM_GETTIPBKCOLOR)), systemColor(24));
        QCOMPARE(quint32(send(f.tips, Tt::TTM_GETTIPTEXTCOLOR)), systemColor(23));
        send(f.tips, Tt::TTM_SETTIPBKCOLOR, colorRef(1, 2, 3));
        QCOMPARE(quint32(send(f.tips, Tt::TTM_GETTIPBKCOLOR)), 0x030201u);

        const TtRect margin{1, 2, 3, 4};
        send(f.tips, Tt::TTM_SETMARGIN, 0, ptr(&margin));
        TtRect back;
        send(f.tips, Tt::TTM_GETMARGIN, 0, ptr(&back));
        QCOMPARE(back, margin);

        // Text rectangle to window rectangle and back.
        TtRect rc{10, 10, 110, 30};
        QCOMPARE(send(f.tips, Tt::TTM_ADJUSTRECT, 1, ptr(&rc)), 1);
        QVERIFY(rc.left < 10 && rc.top < 10 && rc.right > 110 && rc.bottom > 30);
        send(f.tips, Tt::TTM_ADJUSTRECT, 0, ptr(&rc));
        QCOMPARE(rc, (TtRect{10, 10, 110, 30}));

        const QString title = QStringLiteral("Title");
        QCOMPARE(send(f.tips, Tt::TTM_SETTITLEA, Tt::TTI_WARNING, ptr(&title)), 1);
        QCOMPARE(f.control()->title(), title);
        QCOMPARE(f.control()->titleIcon(), Tt::TTI_WARNING);

        QCOMPARE(systemColor(99), 0u);
        QCOMPARE(systemColor(5), colorRef(qApp->palette().color(QPalette::Base).red(),
                                          qApp->palette().color(QPalette::Base).green(),
                                          qApp->palette().color(QPalette::Base).blue()));
    }

    void bubbleSizeFollowsTextAndWidthLimit() {
        Fixture f;
        const QString longText = QStringLiteral("word ").repeated(80).trimmed();
        f.add(f.first, QStringLiteral("short"));
        f.add(f.second, longText);
        ToolInfo a = tool(f.first, QString()), b = tool(f.second, QString());
        const qint32 small = qint32(send(f.tips, Tt::TTM_GETBUBBLESIZE, 0, ptr(&a)));
        const qint32 wide = qint32(send(f.tips, Tt::TTM_GETBUBBLESIZE, 0, ptr(&b)));
        QVERIFY((wide & 0xFFFF) > (small & 0xFFFF));
        QCOMPARE(wide >> 16, small >> 16);  // one line each

        send(f.tips, Tt::TTM_SETMAXTIPWIDTH, 0, 200);
        const qint32 wrapped = qint32(send(f.tips, Tt::TTM_GETBUBBLESIZE, 0, ptr(&b)));
        TtRect frame{0, 0, 200, 0};
        send(f.tips, Tt::TTM_ADJUSTRECT, 1, ptr(&frame));
        QVERIFY((wrapped & 0xFFFF) <= frame.right - frame.left);
        QVERIFY((wrapped >> 16) > 3 * (small >> 16) / 2);  // several lines

        ToolInfo none = tool(&f.window, QString());
        QCOMPARE(send(f.tips, Tt::TTM_GETBUBBLESIZE, 0, ptr(&none)), 0);
    }

    void hitTest() {
        Fixture f;
        f.first->setGeometry(10, 10, 80, 30);
        f.add(f.first, QStringLiteral("button"));
        // A tool that is not a control (no TTF_IDISHWND) is kept but never hit.
        ToolInfo area = tool(f.second, QStringLiteral("area"), Tt::TTF_SUBCLASS);
        area.rect = {0, 0, 300, 200};
        send(f.tips, Tt::TTM_ADDTOOLA, 0, ptr(&area));
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 2);

        TtHitTestInfo hti;
        hti.hwnd = ToolTipWindows::handleOf(f.first);
        hti.pt = QPoint(5, 5);
        QCOMPARE(send(f.tips, Tt::TTM_HITTESTA, 0, ptr(&hti)), 1);
        QCOMPARE(hti.ti.text, QStringLiteral("button"));
        hti.pt = QPoint(80, 5);  // just outside the 80 pixels
        QCOMPARE(send(f.tips, Tt::TTM_HITTESTA, 0, ptr(&hti)), 0);
        hti.hwnd = ToolTipWindows::handleOf(f.second);
        hti.pt = QPoint(1, 1);
        QCOMPARE(send(f.tips, Tt::TTM_HITTESTA, 0, ptr(&hti)), 0);
    }

    void hoverShowsTipAndAutoPopHidesIt() {
        Fixture f;
        f.add(f.first, QStringLiteral("Tip of the first button"));
        f.add(f.second, QString());  // no text: never a tip
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_INITIAL, 10);
        QVERIFY(f.showAndActivate());

        QTest::mouseMove(f.first, f.first->rect().center());
        QTRY_VERIFY(f.control()->isTipShown());
        QCOMPARE(f.control()->shownText(), QStringLiteral("Tip of the first button"));
        const QRect tip = f.control()->tipWindow()->geometry();
        const QPoint pointer = f.first->mapToGlobal(f.first->rect().center());
        QVERIFY2(tip.top() >= pointer.y() || tip.bottom() <= pointer.y(), "the tip leaves the pointer free");

        // Changing the text of the shown tool shows the new text.
        ToolInfo key = tool(f.first, QStringLiteral("New text"));
        send(f.tips, Tt::TTM_UPDATETIPTEXTA, 0, ptr(&key));
        QCOMPARE(f.control()->shownText(), QStringLiteral("New text"));

        // Leaving the control hides the tip; a control without text shows none.
        QTest::mouseMove(f.second, f.second->rect().center());
        QTRY_VERIFY(!f.control()->isTipShown());

        // Back on the first button: shown again, then popped by the auto-pop time.
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_AUTOPOP, 50);
        QTest::mouseMove(f.first, f.first->rect().center() + QPoint(1, 0));
        QTRY_VERIFY(f.control()->isTipShown());
        QTRY_VERIFY(!f.control()->isTipShown());
    }

    void deactivatingAndPoppingHideTheTip() {
        Fixture f(Tt::TTS_ALWAYSTIP);
        f.add(f.first, QStringLiteral("plain tip"));
        send(f.tips, Tt::TTM_SETDELAYTIME, Tt::TTDT_INITIAL, 10);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QTest::mouseMove(f.first, QPoint(3, 3));
        QTRY_VERIFY(f.control()->isTipShown());
        send(f.tips, Tt::TTM_POP);
        QVERIFY(!f.control()->isTipShown());

        // Tracking shows the tip where it is told, until tracking ends.
        ToolInfo key = tool(f.first, QString());
        send(f.tips, Tt::TTM_TRACKPOSITION, 0, (60 << 16) | 50);
        send(f.tips, Tt::TTM_TRACKACTIVATE, 1, ptr(&key));
        QVERIFY(f.control()->isTipShown());
        QCOMPARE(f.control()->tipWindow()->pos(), QPoint(50, 60));  // a plain tip starts there
        send(f.tips, Tt::TTM_TRACKPOSITION, 0, (70 << 16) | 40);
        QCOMPARE(f.control()->tipWindow()->pos(), QPoint(40, 70));
        send(f.tips, Tt::TTM_TRACKACTIVATE, 0, ptr(&key));
        QVERIFY(!f.control()->isTipShown());

        send(f.tips, Tt::TTM_TRACKACTIVATE, 1, ptr(&key));
        QVERIFY(f.control()->isTipShown());
        send(f.tips, Tt::TTM_ACTIVATE, 0);
        QVERIFY(!f.control()->isTipShown());
        QVERIFY(!f.control()->active());
        send(f.tips, Tt::TTM_TRACKACTIVATE, 1, ptr(&key));
        QVERIFY(!f.control()->isTipShown());
    }

    void deletedToolAndDestroyedControl() {
        Fixture f;
        auto* extra = new QPushButton(QStringLiteral("Extra"), &f.window);
        f.add(extra, QStringLiteral("extra"));
        f.add(f.first, QStringLiteral("first"));
        delete extra;  // its record stays, but nothing refers to the dead widget
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 2);
        TtHitTestInfo hti;
        hti.hwnd = f.control()->tools().at(0).uId;
        QCOMPARE(send(f.tips, Tt::TTM_HITTESTA, 0, ptr(&hti)), 0);
        ToolInfo key = f.control()->tools().at(0);
        send(f.tips, Tt::TTM_TRACKACTIVATE, 1, ptr(&key));
        send(f.tips, Tt::TTM_DELTOOLA, 0, ptr(&key));
        QCOMPARE(send(f.tips, Tt::TTM_GETTOOLCOUNT), 1);
    }
};

QTEST_MAIN(TestToolTipControl)
#include "tst_tooltipcontrol.moc"
