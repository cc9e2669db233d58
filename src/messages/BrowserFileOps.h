#pragma once

#include <QString>
#include <QStringList>

class AppContext;
class QWidget;

// Copy, move and delete of message files for the message browser, with its questions.
class BrowserFileOps {
public:
    BrowserFileOps(AppContext& ctx, QWidget* owner);

    // Copies (or moves) the files named by tags from folder to the folder that tooltip names
    // between apostrophes, after asking; asks before overwriting a file of the same name
    // (Yes overwrites, No skips it, Cancel stops). A file that cannot be copied is reported
    // and stays where it is. False when the user said No to the first question.
    bool copyOrMove(bool move, const QString& tooltip, const QString& folder, const QStringList& tags);

    // Deletes the files after asking; each file that cannot be deleted is reported and the
    // others are deleted all the same. False when the user said No.
    bool deleteFiles(const QString& folder, const QStringList& tags);

    // Puts a copy of source at target in one step, replacing a file there; false on failure
    // (an existing target is then left as it was), with error saying why.
    static bool copyFile(const QString& source, const QString& target, QString* error = nullptr);

private:
    AppContext& m_ctx;
    QWidget* m_owner;
};
