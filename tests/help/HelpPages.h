// Reads the pages of the manual from the resources as XML, so that a page that is not well formed
// fails instead of being rendered by guesswork, and lists what each page refers to.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace zor::test {

struct THelpRow
{
    QString Text;       // the row's text, blanks collapsed
    QStringList Images; // src of every picture in the row, as written
};

struct THelpPage
{
    QString Name;         // file name, "index.html"
    QString Error;        // empty when the page is well formed
    QString Title;        // text of <title>
    QStringList Links;    // href of every <a>, as written
    QStringList Images;   // src of every <img>, as written
    QStringList Styles;   // href of every <link>, as written
    QStringList Anchors;  // name of every <a name=...>
    QList<THelpRow> Rows; // every table row
};

// The file names of all pages under :/help.
QStringList HelpPageNames();

THelpPage ReadHelpPage(const QString &name);

// The text of a page as the help window renders it, blanks and line breaks collapsed.
QString HelpPageText(const QString &name);

} // namespace zor::test
