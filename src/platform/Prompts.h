#pragma once

#include <QList>
#include <QString>

#include "MsgBox.h"

class QWidget;

// The folder picker: Qt's folder dialog with a title and a start folder; "" when cancelled.
class FolderPicker {
public:
    QString browseForFolder(QWidget* owner, const QString& startFolder, const QString& title);

    // Test control: queued answers are returned instead of showing the dialog ("" = cancel).
    void setScripted(bool on) { m_scripted = on; }
    void queueFolder(const QString& folder) { m_answers.append(folder); }
    struct Asked {
        QString startFolder;
        QString title;
    };
    const QList<Asked>& asked() const { return m_asked; }

private:
    bool m_scripted = false;
    QList<QString> m_answers;
    QList<Asked> m_asked;
};

// The file picker for opening a file; "" when cancelled.
class FilePicker {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& startFolder, const QString& filter = {});
    // The same with a file name the dialog shows when it opens (relative to startFolder, or a
    // full path); filter in Qt's form ("all files (*);;scripts (*.sh *.py)").
    QString openFile(QWidget* owner, const QString& title, const QString& startFolder, const QString& filter,
                     const QString& fileName);

    void setScripted(bool on) { m_scripted = on; }
    void queueFile(const QString& file) { m_answers.append(file); }
    int askedCount() const { return m_asked; }
    struct Asked {
        QString title;
        QString startFolder;
        QString filter;
        QString fileName;
    };
    const QList<Asked>& asked() const { return m_askedList; }

private:
    bool m_scripted = false;
    QList<QString> m_answers;
    int m_asked = 0;
    QList<Asked> m_askedList;
};

// The system beep; counted so tests can see it.
class Beeper {
public:
    void beep();
    void setScripted(bool on) { m_scripted = on; }
    int count() const { return m_count; }

private:
    bool m_scripted = false;
    int m_count = 0;
};

// The user-facing prompts of one program instance.
class Prompts {
public:
    MsgBox msgBox;
    FolderPicker folders;
    FilePicker files;
    Beeper beeper;

    // Scripted mode for every prompt at once (tests).
    void setScripted(bool on) {
        msgBox.setScripted(on);
        folders.setScripted(on);
        files.setScripted(on);
        beeper.setScripted(on);
    }
};

// Shows the hourglass pointer for its lifetime.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    // Ends the wait early (the destructor then does nothing).
    void restore();

private:
    bool m_active = false;
};

// Lets pending window messages run (timers, serial input, paint, user input).
void doEvents();
