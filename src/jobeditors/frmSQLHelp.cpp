#include "frmSQLHelp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

const char kWindowName[] = "frmSQLHelp";

struct Example {
    const char16_t* link;
    const char16_t* title;
    const char16_t* sql;
    const char16_t* desc;
};

// The column of the example table is FirstName; example 3 selects it by that name so the
// statement runs when copied.
constexpr Example kExampleTexts[frmSQLHelp::kExamples] = {
    {u"(1) create a table", u"Creating a new table based on the sender's phone number:",
     u"CREATE TABLE [<$+sender>] (FirstName TEXT, LastName TEXT, Number TEXT)",
     u"This will create a new table named with the sender's phone number (in international format) with 3 "
     u"text "
     u"fields [FirstName], [LastName] and [Number]."},
    {u"(2) insert into a table", u"Insert data from SMS message text into a table:",
     u"INSERT INTO [TellwickNews] ([FirstName], [LastName], [Number]) VALUES ('<#1>', '<#2>', '<$+sender>')",
     u"This will insert the users first name, last name and phone number into the table [TellwickNews]. The "
     u"message text must contain the first- and lastname (in this order) seperated by commas."},
    {u"(3) query data", u"Query data from a table:",
     u"SELECT [FirstName], [LastName] FROM [TellwickNews] WHERE [Number]='<$+sender>'",
     u"This will select a recordset from the table [TellwickNews] which contains the sender's phone number "
     u"in "
     u"field [Number]."},
    {u"(4) use multiple commands",
     u"You can add multiple SQL commands to a job by seperating them using '|' (pipe):",
     u"CREATE TABLE [<$+sender>] (FirstName TEXT, LastName TEXT, Number TEXT) | INSERT INTO [TellwickNews] "
     u"([FirstName], [LastName], [Number]) VALUES ('<#1>', '<#2>', '<$+sender>')",
     u"This will first create a new table like in example (1), and then add a new record like in example "
     u"(2)."},
};

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    setPalette(pal);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

frmSQLHelp::frmSQLHelp(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setWindowTitle(QStringLiteral("Tellwick: Help on creating SQL query strings"));
    if (ctx.hasMainWindow()) {
        setWindowIcon(ctx.mainWindow().windowIcon());
    }
    setMinimumWidth(Twips::toPixels(9300));

    Image1 = new QLabel(this);
    Image1->setFixedSize(32, 32);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label2 = new QLabel(QStringLiteral("Help on creating SQL query strings"), this);
    QFont heading = Label2->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    Label2->setFont(heading);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addWidget(Label2, 1);

    auto* links = new QHBoxLayout;
    for (int i = 0; i < kExamples; ++i) {
        labLink[i] = new LinkLabel(QString::fromUtf16(kExampleTexts[i].link), this);
        links->addWidget(labLink[i]);
    }
    links->addStretch(1);

    // The labels of one kind share one place; only those of the current example are visible.
    labNr = new QLabel(this);
    QFont bold = labNr->font();
    bold.setBold(true);
    labNr->setFont(bold);
    auto* example = new QGridLayout;
    example->addWidget(labNr, 0, 0, Qt::AlignTop);
    for (int i = 0; i < kExamples; ++i) {
        labTitle[i] = wrappedLabel(QString::fromUtf16(kExampleTexts[i].title), this);
        labTitle[i]->setFont(bold);
        labSQL[i] = wrappedLabel(QString::fromUtf16(kExampleTexts[i].sql), this);
        labSQL[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labSQL[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QPalette grey = labSQL[i]->palette();
        grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
        labSQL[i]->setPalette(grey);
        labDesc[i] = wrappedLabel(QString::fromUtf16(kExampleTexts[i].desc), this);
        example->addWidget(labTitle[i], 0, 1);
        example->addWidget(labSQL[i], 1, 1);
        example->addWidget(labDesc[i], 2, 1);
    }
    example->setColumnStretch(1, 1);
    example->setRowMinimumHeight(1, Twips::toPixels(900));

    Label11 =
        wrappedLabel(QStringLiteral("Please note: Your SQL syntax might be slightly different, depending on "
                                    "which database product or drivers you are using."),
                     this);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label11, 1);
    bottom->addWidget(cmdClose, 0, Qt::AlignBottom);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(links);
    main->addLayout(example);
    main->addStretch(1);
    main->addLayout(bottom);

    for (int i = 0; i < kExamples; ++i) {
        connect(labLink[i], &LinkLabel::clicked, this, [this, i] { labLink_Click(i); });
    }
    connect(cmdClose, &QPushButton::clicked, this, &frmSQLHelp::cmdClose_Click);

    labLink_Click(0);
}

void frmSQLHelp::labLink_Click(int index) {
    labNr->setText(QStringLiteral("(") + QString::number(index + 1) + QStringLiteral(")"));
    for (int j = 0; j < kExamples; ++j) {
        labTitle[j]->setVisible(j == index);
        labDesc[j]->setVisible(j == index);
        labSQL[j]->setVisible(j == index);
    }
}

void frmSQLHelp::cmdClose_Click() {
    done(QDialog::Rejected);
}

void frmSQLHelp::done(int result) {
    QDialog::done(result);
    WindowRegistry& windows = m_ctx.windows();
    if (windows.existing(QLatin1String(kWindowName)) == this) {
        windows.unload(QLatin1String(kWindowName));
    }
}
