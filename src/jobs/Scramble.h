#pragma once

#include <QString>

// Turns a password into the form kept in the settings file and back again: the same call
// does both (scramble(scramble(t, k), k) == t for every text). An empty key selects the
// program's own key. The stored form is "~" followed by letters, digits, "-" and "_", so it
// keeps in an INI value whatever the password holds (blanks at the ends, quotes, accents).
// This only hides a password from a glance at the file; it is no encryption.
//
// A text that already is a stored form of something (as the settings file holds it) is
// turned back into what it hides; "" stays "".
QString scramble(const QString& text, const QString& key);
