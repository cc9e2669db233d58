#include "Prompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

QString FolderPicker::browseForFolder(QWidget* owner, const QString& startFolder, const QString& title) {
    m_asked.append({startFolder, title});
    if (m_scripted) {
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

QString FilePicker::openFile(QWidget* owner, const QString& title, const QString& startFolder, const QString& filter) {
    return openFile(owner, title, startFolder, filter, QString());
}

QString FilePicker::openFile(QWidget* owner, const QString& title, const QString& startFolder, const QString& filter,
                             const QString& fileName) {
    ++m_asked;
    m_askedList.append({title, startFolder, filter, fileName});
    if (m_scripted) {
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    // A folder with a file name in it opens the folder with that file selected.
    const QString start = fileName.isEmpty() ? startFolder : QDir(startFolder).filePath(fileName);
    return QFileDialog::getOpenFileName(owner, title, start, filter);
}

void Beeper::beep() {
    ++m_count;
    if (!m_scripted) {
        QApplication::beep();
    }
}

Hourglass::Hourglass() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

Hourglass::~Hourglass() { restore(); }

void Hourglass::restore() {
    if (m_active) {
        QApplication::restoreOverrideCursor();
        m_active = false;
    }
}

void doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }
