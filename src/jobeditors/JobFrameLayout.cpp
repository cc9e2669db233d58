#include "JobFrameLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include "EditorControls.h"
#include "JobEditorFrame.h"

namespace JobFrameLayout {

namespace {
constexpr int kMostCharacters = 60;
}  // namespace

QWidget* makeControls(JobEditorFrame& f, int typeIndex) {
    f.txtJobIdent = labelledBox(f.labJobIdent, QStringLiteral("Job identi&fier:"), &f);
    f.txtName = labelledBox(f.labName, QStringLiteral("Job &name:"), &f);
    f.txtDesc = labelledBox(f.labDesc, QStringLiteral("Job &description:"), &f);
    f.chkActive = new QCheckBox(
        typeIndex == 0 ? QStringLiteral("This job is &active") : QStringLiteral("T&his job is active"), &f);

    auto* options = new QWidget(&f);

    f.labExample = new QLabel(&f);
    f.labExample->setWordWrap(true);
    // The example quotes the identifier as typed, never as markup.
    f.labExample->setTextFormat(Qt::PlainText);
    f.cmdOK = new QPushButton(QStringLiteral("&OK"), &f);
    f.cmdOK->setDefault(true);
    f.cmdCancel = commandButton(QStringLiteral("&Cancel"), &f);
    // The buttons keep their size also when the example beside them is hidden.
    for (QPushButton* b : {f.cmdOK, f.cmdCancel}) {
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    return options;
}

QWidget* arrange(JobEditorFrame& f, QWidget* options, QGroupBox* restrictions) {
    auto* fields = new QGridLayout;
    fields->addWidget(f.labJobIdent, 0, 0);
    fields->addWidget(f.txtJobIdent, 0, 1);
    fields->addWidget(f.labName, 1, 0);
    fields->addWidget(f.txtName, 1, 1);
    fields->addWidget(f.labDesc, 2, 0);
    fields->addWidget(f.txtDesc, 2, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(options, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(0);  // takes the room of a hidden example
    buttons->addWidget(f.cmdOK, 0, Qt::AlignBottom);
    buttons->addWidget(f.cmdCancel, 0, Qt::AlignBottom);

    auto* outer = new QGridLayout(&f);
    outer->addLayout(left, 0, 0);
    if (restrictions) {
        auto* right = new QVBoxLayout;
        right->addWidget(f.chkActive);
        right->addWidget(restrictions, 1);
        outer->addLayout(right, 0, 1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(f.labExample, 1);
        bottom->addLayout(buttons);
        outer->addLayout(bottom, 1, 0, 1, 2);
        // The job's own options take what the window gains; the restrictions keep their width.
        outer->setColumnStretch(0, 1);
        return nullptr;
    }
    // The example and the buttons at the foot of the same column; the side area beside it
    // takes the window's height.
    fields->addWidget(f.chkActive, 3, 1);
    left->addWidget(f.labExample);
    left->addLayout(buttons);
    auto* side = new QWidget(&f);
    outer->addWidget(side, 0, 1);
    outer->setColumnStretch(1, 1);
    return side;
}

void showWhole(QLineEdit* box) {
    const QFontMetrics fm = box->fontMetrics();
    const int text = qMin(fm.horizontalAdvance(box->text()), fm.averageCharWidth() * kMostCharacters);
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    constexpr int kInnerMargin = 2;  // the box's own room on each side of its text
    const QMargins margins = box->textMargins() + box->contentsMargins();
    const QSize contents(text + 2 * kInnerMargin + margins.left() + margins.right(), fm.height());
    const int width = box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, contents, box).width();
    box->setMinimumWidth(qMax(box->minimumWidth(), width));
}

void keepToContents(QWidget& window) {
    const QSize needed = window.sizeHint();
    window.setMinimumSize(needed);
    window.resize(window.size().expandedTo(needed));
}

}  // namespace JobFrameLayout
