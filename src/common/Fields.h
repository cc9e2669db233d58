#pragma once

#include <QString>

// 1-based access to the fields of a text separated by ",", ";" or "|".

// The index-th field (from 1), trimmed. The whole trimmed text for any index when the
// separator does not occur; "" when index lies past the last field.
QString getField(const QString& text, int index, const QString& separator);

// Occurrences of separator plus one; 0 for "".
int countFields(const QString& text, const QString& separator);

// The text without its index-th field (and one separator beside it).
QString removeField(const QString& text, int index, const QString& separator);
