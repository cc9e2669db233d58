#pragma once

#include <QPlainTextEdit>

// A text box of several lines with a vertical scroll bar whose size follows the number of
// lines it is meant to show, not the toolkit's large default.
class TextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    TextArea(int lines, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int m_lines;
};
