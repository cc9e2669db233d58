#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTextDocument>

#include "ColumnFit.h"
#include "KeyCodes.h"
#include "ListView.h"

namespace {

QIcon colouredIcon(Qt::GlobalColor colour) {
    QPixmap pm(8, 8);
    pm.fill(colour);
    return QIcon(pm);
}

QStringList shownTexts(const ListView& list, int column = 0) {
    QStringList out;
    for (int i = 1; i <= list.count(); ++i) {
        out << (column == 0 ? list.item(i)->text() : list.item(i)->subItem(column));
    }
    return out;
}

}  // namespace

class TestListView : public QObject {
    Q_OBJECT

    ListView* m_list = nullptr;

    // A three-column list, sorted by the first column, holding rows "text|sub1|sub2".
    void fill(const QStringList& rows) {
        for (const QString& row : rows) {
            const QStringList parts = row.split(u'|');
            ListItem* it = m_list->addItem(parts.value(0));
            it->setSubItem(1, parts.value(1));
            it->setSubItem(2, parts.value(2));
            it->setTag(parts.value(0) + QStringLiteral("-tag"));
        }
    }

private slots:
    void init() {
        m_list = new ListView;
        m_list->addColumn(QStringLiteral("Type"), 1114);
        m_list->addColumn(QStringLiteral("Ident."), 636);
        m_list->addColumn(QStringLiteral("Name"), 2370);
        m_list->resize(400, 300);
    }
    void cleanup() {
        delete m_list;
        m_list = nullptr;
    }

    void rowsAreOneBasedWithTagsSubItemsAndTips() {
        fill({QStringLiteral("b|>b<|Bee"), QStringLiteral("a|>a<|Ay")});
        QCOMPARE(m_list->count(), 2);
        QCOMPARE(m_list->item(0), nullptr);
        QCOMPARE(m_list->item(3), nullptr);
        // Unsorted: the order of adding.
        QCOMPARE(m_list->item(1)->text(), QStringLiteral("b"));
        QCOMPARE(m_list->item(1)->index(), 1);
        QCOMPARE(m_list->item(2)->subItem(1), QStringLiteral(">a<"));
        QCOMPARE(m_list->item(2)->subItem(2), QStringLiteral("Ay"));
        QCOMPARE(m_list->item(2)->subItem(0), QString());
        QCOMPARE(m_list->item(2)->tag(), QStringLiteral("a-tag"));
        QCOMPARE(m_list->findItemByTag(QStringLiteral("a-tag")), m_list->item(2));
        QCOMPARE(m_list->findItemByTag(QStringLiteral("x")), nullptr);

        ListItem* it = m_list->item(1);
        it->setToolTipText(QStringLiteral("DEFAULT JOB: Bee"));
        QCOMPARE(it->toolTipText(), QStringLiteral("DEFAULT JOB: Bee"));
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(it->data(column, Qt::ToolTipRole).toString(), QStringLiteral("DEFAULT JOB: Bee"));
        }
        m_list->clearItems();
        QCOMPARE(m_list->count(), 0);
        QCOMPARE(m_list->columnCount(), 3);
    }

    void tipsShowTheirTextLiterally_data() {
        QTest::addColumn<QString>("tip");
        QTest::newRow("plain") << QStringLiteral("Ring me at 5 <= 6");
        QTest::newRow("tags") << QStringLiteral("<b>Night</b> run");
        QTest::newRow("entity") << QStringLiteral("<i>&amp; &lt;x&gt;</i>");
    }
    void tipsShowTheirTextLiterally() {
        QFETCH(QString, tip);
        fill({QStringLiteral("a|b|c")});
        m_list->item(1)->setToolTipText(tip);
        const QString shown = m_list->item(1)->data(1, Qt::ToolTipRole).toString();
        QString seen = shown;
        if (Qt::mightBeRichText(shown)) {
            QTextDocument doc;
            doc.setHtml(shown);
            seen = doc.toPlainText();
        }
        QCOMPARE(seen, tip);
        QCOMPARE(m_list->item(1)->toolTipText(), tip);
    }

    void columnsGrowToTheirTexts() {
        const QString number = QStringLiteral("+4917012345678");
        fill({QStringLiteral("Alexandra Baumgartner|") + number + QStringLiteral("|x")});
        m_list->setColumnWidthTwips(1, 0);  // a hidden column stays hidden
        m_list->item(1)->setBold(true);
        const int before = m_list->columnWidth(0);
        const int need = m_list->columnContentWidth(0);
        QVERIFY(need > before);
        QVERIFY(need >= QFontMetrics(m_list->item(1)->font(0)).horizontalAdvance(m_list->item(1)->text()));
        QCOMPARE(m_list->growColumnsToContents(), need + m_list->columnWidth(2));
        QCOMPARE(m_list->columnWidth(0), need);
        QCOMPARE(m_list->columnWidth(1), 0);
        // A column wider than its texts keeps its width, and a cap holds.
        m_list->setColumnWidth(2, 300);
        m_list->setColumnWidth(0, 10);
        m_list->growColumnsToContents(50);
        QCOMPARE(m_list->columnWidth(2), 300);
        QCOMPARE(m_list->columnWidth(0), 50);
    }

    void windowWidensWithItsList() {
        // A window 300 pixels wide: the list and a label beside it widen, a button on the right moves.
        QWidget window;
        window.setFixedWidth(300);
        auto* list = new ListView(&window);
        list->addColumn(QStringLiteral("Name"), 600);
        list->setGeometry(10, 10, 100, 100);
        auto* label = new QLabel(&window);
        label->setGeometry(10, 120, 100, 20);
        auto* button = new QLabel(&window);
        button->setGeometry(200, 10, 80, 20);
        QVERIFY(list->columnContentWidth(0, true) > list->columnContentWidth(0));
        list->addItem(QString(40, u'W'));
        ColumnFit::growWindowWithList(list, &window, {label}, {button});
        const int grow = list->width() - 100;
        QCOMPARE(grow, ColumnFit::listWidthFor(list, list->columnWidth(0)) - 100);
        QVERIFY(grow > 0);
        QCOMPARE(window.width(), 300 + grow);
        QCOMPARE(label->width(), 100 + grow);
        QCOMPARE(button->x(), 200 + grow);
        // Shorter texts later never narrow anything.
        list->clearItems();
        ColumnFit::growWindowWithList(list, &window, {label}, {button});
        QCOMPARE(window.width(), 300 + grow);
        QCOMPARE(button->x(), 200 + grow);
    }

    void sortingComparesTextWithoutCase() {
        m_list->setSorted(true);
        fill({QStringLiteral("query|q|Zeta"), QStringLiteral("Exec|e|alpha"),
              QStringLiteral(" forward|---|Mid"), QStringLiteral("exec|e2|Beta"),
              QStringLiteral("mailbox|m|beta2")});
        // A leading blank sorts before every letter; case does not count.
        QCOMPARE(m_list->item(1)->text(), QStringLiteral(" forward"));
        QCOMPARE(m_list->item(1)->index(), 1);
        QCOMPARE(m_list->item(4)->text(), QStringLiteral("mailbox"));
        QCOMPARE(m_list->item(5)->index(), 5);

        m_list->setSortKey(2);
        m_list->setSortOrder(Qt::DescendingOrder);
        QCOMPARE(shownTexts(*m_list, 2),
                 (QStringList{QStringLiteral("Zeta"), QStringLiteral("Mid"), QStringLiteral("beta2"),
                              QStringLiteral("Beta"), QStringLiteral("alpha")}));
        m_list->setSortOrder(Qt::AscendingOrder);
        QCOMPARE(m_list->item(1)->subItem(2), QStringLiteral("alpha"));

        // A row whose sort text changes moves to its place.
        m_list->item(1)->setSubItem(2, QStringLiteral("zz"));
        QCOMPARE(m_list->item(5)->subItem(2), QStringLiteral("zz"));

        // Rows added later go to their place too.
        m_list->addItem(QStringLiteral("new"))->setSubItem(2, QStringLiteral("A0"));
        QCOMPARE(m_list->item(1)->text(), QStringLiteral("new"));
    }

    void unsortedListKeepsOrderOfAdding() {
        fill({QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});
        QCoreApplication::processEvents();
        QCOMPARE(shownTexts(*m_list),
                 (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
        m_list->sort();  // not sorted: does nothing
        QCOMPARE(m_list->item(1)->text(), QStringLiteral("c"));
        m_list->setSorted(true);
        QCOMPARE(shownTexts(*m_list),
                 (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    }

    void selectionSurvivesSorting() {
        m_list->setSorted(true);
        fill({QStringLiteral("b"), QStringLiteral("a")});
        m_list->setSelectedItem(m_list->item(2));
        QCOMPARE(m_list->selectedItem()->text(), QStringLiteral("b"));
        m_list->setSortOrder(Qt::DescendingOrder);
        QCOMPARE(m_list->selectedItem()->text(), QStringLiteral("b"));
        QCOMPARE(m_list->selectedItem()->index(), 1);
        m_list->setSelectedItem(nullptr);
        QCOMPARE(m_list->selectedItem(), nullptr);
        QVERIFY(m_list->selectedListItems().isEmpty());
    }

    void multiSelectListsRowsAsShown() {
        fill({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QVERIFY(!m_list->multiSelect());
        m_list->item(1)->setSelected(true);
        m_list->item(3)->setSelected(true);
        QCOMPARE(m_list->selectedListItems().size(), 1);  // single select keeps one

        m_list->setMultiSelect(true);
        QVERIFY(m_list->multiSelect());
        m_list->item(3)->setSelected(true);
        m_list->item(1)->setSelected(true);
        const QList<ListItem*> sel = m_list->selectedListItems();
        QCOMPARE(sel.size(), 2);
        QCOMPARE(sel.at(0)->text(), QStringLiteral("a"));
        QCOMPARE(sel.at(1)->text(), QStringLiteral("c"));
        QVERIFY(sel.at(0)->selected());
    }

    void checkBoxesReportOnlyTheUsersToggles() {
        m_list->setCheckboxes(true);
        fill({QStringLiteral("a"), QStringLiteral("b")});
        QSignalSpy spy(m_list, &ListView::ItemCheck);
        ListItem* a = m_list->item(1);
        QVERIFY(!a->checked());
        QCOMPARE(a->checkState(0), Qt::Unchecked);
        a->setChecked(true);
        QVERIFY(a->checked());
        QCOMPARE(a->checkState(0), Qt::Checked);
        QCOMPARE(spy.count(), 0);

        // The user toggles through the model, as the view's check indicator does.
        const QModelIndex idx = m_list->indexFromItem(a, 0);
        QVERIFY(m_list->model()->setData(idx, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<ListItem*>(), a);
        QVERIFY(!a->checked());

        // A handler that ticks the row again is not reported back to itself.
        QVERIFY(m_list->model()->setData(idx, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(spy.count(), 2);
        connect(m_list, &ListView::ItemCheck, this, [](ListItem* it) { it->setChecked(true); });
        QVERIFY(m_list->model()->setData(idx, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(spy.count(), 3);
        QVERIFY(a->checked());
        QCOMPARE(a->checkState(0), Qt::Checked);

        // Other changes to the row are no toggles.
        a->setText(QStringLiteral("a2"));
        a->setBold(true);
        QCOMPARE(spy.count(), 3);
    }

    void spaceAndMouseToggleTheCheckBox() {
        m_list->setCheckboxes(true);
        fill({QStringLiteral("a"), QStringLiteral("b")});
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list));
        QSignalSpy spy(m_list, &ListView::ItemCheck);
        ListItem* b = m_list->item(2);
        m_list->setSelectedItem(b);
        QTest::keyClick(m_list, Qt::Key_Space);
        QCOMPARE(spy.count(), 1);
        QVERIFY(b->checked());

        // A click on the indicator.
        QStyleOptionViewItem opt;
        opt.initFrom(m_list);
        opt.rect = m_list->visualItemRect(m_list->item(1));
        opt.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            m_list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, m_list);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, box.center());
        QCOMPARE(spy.count(), 2);
        QVERIFY(m_list->item(1)->checked());
    }

    void checkBoxesCanBeSwitchedLater() {
        fill({QStringLiteral("a")});
        ListItem* a = m_list->item(1);
        a->setChecked(true);  // kept while the list shows no boxes
        QVERIFY(a->data(0, Qt::CheckStateRole).isNull());
        m_list->setCheckboxes(true);
        QCOMPARE(a->checkState(0), Qt::Checked);
        m_list->setCheckboxes(false);
        QVERIFY(a->data(0, Qt::CheckStateRole).isNull());
        QVERIFY(a->checked());
    }

    void boldAndColoursPerSubItem() {
        fill({QStringLiteral("a|1|2")});
        ListItem* a = m_list->item(1);
        const QColor listText = m_list->palette().color(QPalette::Text);
        QCOMPARE(a->foreColor(), listText);
        QCOMPARE(a->subItemForeColor(2), listText);
        QVERIFY(!a->bold());

        a->setBold(true);
        QVERIFY(a->bold());
        QVERIFY(!a->subItemBold(1));
        a->setSubItemBold(2, true);
        QVERIFY(a->subItemBold(2));
        QVERIFY(!a->subItemBold(1));

        a->setForeColor(QColor(128, 128, 128));
        a->setSubItemForeColor(1, QColor(0, 0, 0));
        QCOMPARE(a->foreColor(), QColor(128, 128, 128));
        QCOMPARE(a->subItemForeColor(1), QColor(0, 0, 0));
        QCOMPARE(a->subItemForeColor(2), listText);
        QCOMPARE(a->foreground(0).color(), QColor(128, 128, 128));
    }

    void headerIconsAreOnlyThoseGiven() {
        QVERIFY(!m_list->header()->isSortIndicatorShown());
        for (int c = 0; c < 3; ++c) {
            QVERIFY(m_list->columnHeaderIcon(c).isNull());
        }
        m_list->setColumnHeaderIcon(2, colouredIcon(Qt::red));
        QVERIFY(!m_list->columnHeaderIcon(2).isNull());
        QVERIFY(m_list->columnHeaderIcon(0).isNull());
        m_list->setColumnHeaderIcon(7, colouredIcon(Qt::red));  // no such column: ignored
        m_list->clearColumnHeaderIcons();
        QVERIFY(m_list->columnHeaderIcon(2).isNull());

        // Columns rebuilt start without icons.
        m_list->setColumnHeaderIcon(0, colouredIcon(Qt::blue));
        m_list->clearColumns();
        QCOMPARE(m_list->columnCount(), 0);
        m_list->addColumn(QStringLiteral("X"), 300);
        QVERIFY(m_list->columnHeaderIcon(0).isNull());
        QCOMPARE(m_list->headerItem()->text(0), QStringLiteral("X"));
    }

    void columnWidthsInTwips() {
        QCOMPARE(m_list->columnWidthTwips(0), 1114);  // 74 pixels, the twips stay readable
        QCOMPARE(m_list->columnWidth(0), 74);
        QCOMPARE(m_list->columnWidthTwips(2), 2370);
        QCOMPARE(m_list->columnWidthTwips(3), 0);
        m_list->setColumnWidth(1, 50);  // resized by hand: from its pixels
        QCOMPARE(m_list->columnWidthTwips(1), 750);
        QCOMPARE(m_list->addColumn(QStringLiteral("Fourth"), 15), 3);
        QCOMPARE(m_list->columnWidth(3), 1);
    }

    void headerClickReportsTheColumnAndSortsNothing() {
        m_list->setSorted(true);
        fill({QStringLiteral("a|z"), QStringLiteral("b|y")});
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list));
        QSignalSpy spy(m_list, &ListView::ColumnClick);
        QHeaderView* header = m_list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QCOMPARE(m_list->sortKey(), 0);
        QCOMPARE(m_list->item(1)->text(), QStringLiteral("a"));
    }

    void clicksDoubleClicksAndKeys() {
        fill({QStringLiteral("a"), QStringLiteral("b")});
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list));
        QSignalSpy clicks(m_list, &ListView::ItemClick);
        QSignalSpy dbl(m_list, &ListView::DblClick);
        const QPoint onB = m_list->visualItemRect(m_list->item(2)).center();
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, onB);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).value<ListItem*>(), m_list->item(2));
        QCOMPARE(m_list->selectedItem(), m_list->item(2));

        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, onB);
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(dbl.at(0).at(0).value<ListItem*>(), m_list->item(2));
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {},
                           QPoint(5, m_list->viewport()->height() - 5));
        QCOMPARE(dbl.count(), 2);
        QCOMPARE(dbl.at(1).at(0).value<ListItem*>(), nullptr);

        // KeyDown comes after the selection has moved.
        QString selectedAtKeyDown;
        int codeDown = 0;
        int shiftDown = 0;
        QObject guard;  // the connection ends with this function
        connect(m_list, &ListView::KeyDown, &guard, [&](int code, int shift) {
            codeDown = code;
            shiftDown = shift;
            selectedAtKeyDown = m_list->selectedItem() ? m_list->selectedItem()->text() : QString();
        });
        QTest::keyClick(m_list, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(codeDown, int(KeyCodes::Up));
        QCOMPARE(shiftDown, 2);
        QTest::keyClick(m_list, Qt::Key_Up);
        QCOMPARE(selectedAtKeyDown, QStringLiteral("a"));
    }
};

QTEST_MAIN(TestListView)
#include "tst_listview.moc"
