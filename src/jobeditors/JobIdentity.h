#pragma once

#include <functional>

#include <QString>

class AppContext;
class MsgBox;
class QWidget;

// Who a job is: its key (type letter and number), its identifier (the text a message starts
// with to run it; "" for the default job) and what the editor's caption and example make of
// them.
namespace JobIdentity {

// "Tellwick: Edit <type> job": the caption that opens an editor on a stored job.
QString editCaption(int typeIndex);
// Whether key is one of the type's keys: its letter and a number from 1 to the most jobs of a
// type, written without leading zeros or signs.
bool isKeyOfType(const QString& key, int typeIndex);
// The identifier a new job starts with, and a default job gets when another takes its place:
// ">e3<" for "e3".
QString standardIdentifier(const QString& jobKey);
// " [DEFAULT JOB]" without an identifier, " [<number>]" with one.
QString captionSuffix(const QString& identifier, int jobNumber);

// Identifiers may not hold these: "*", "#" and ",".
bool isValid(const QString& identifier);
void refuse(MsgBox& msgBox, QWidget* parent);
// Before a save under identifier: when both are default jobs, asks whether another job (not
// ownKey) with the same identifier is to get a standard identifier or to be deleted, and hands
// back in change what does it; the caller runs it once its own save has succeeded, so a failed
// save leaves the other job as it was. False (the editor stays open) when the user cancels,
// or when a job with a real identifier has it.
bool settleClash(AppContext& ctx, const QString& identifier, const QString& ownKey, QWidget* parent,
                 std::function<bool()>* change);

// The placeholders "<#1>" to "<#10>" a text holds, each once, in the order of their numbers:
// "Var#1;Var#3" for "<#3> ... <#1>" with the prefix "Var#".
QString placeholderList(const QString& text, const QString& prefix);

}  // namespace JobIdentity
