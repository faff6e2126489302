// Marks a text a person reads in the plain-C++ cores, for Qt's translation tools, without
// bringing Qt into them: the mark is the text itself. The editor translates the text where it
// shows it, with QCoreApplication::translate(context, text) and the same context; lupdate finds
// the marks when run with -tr-function-alias QT_TRANSLATE_NOOP+=ZOR_TRANSLATE_NOOP. The command
// line tool prints the texts as they stand.
#pragma once

#define ZOR_TRANSLATE_NOOP(context, text) text
